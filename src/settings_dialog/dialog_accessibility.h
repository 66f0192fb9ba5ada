// The settings dialog as a screen reader hears it: what each window of it says
// of itself and of its drawn parts, from the dialog's state alone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/accessibility.h"

namespace dovra {

// The music panel: a grouping named by its heading.
acc::Item PanelItem();

// The panel's parts in reading order: the three kinds as radio buttons (the
// stored kind checked; the default action chooses it), the repeat list and
// its label, the file button, the file's path, and the notice when there is
// one. The two windows among them are given by their control ids.
struct PanelParts {
  enum : int { kCd, kNone, kFile, kRepeatList, kRepeatLabel, kFileButton, kPath, kNotice };
  std::vector<acc::Item> items;
  std::vector<int> which;  // for each item, which part it is
};
PanelParts PanelChildren(int16_t kind, const std::string& path, const std::string& notice, int repeatId, int fileId);

// The music kind a radio-button part stands for (kCd 1, kNone 0, kFile 2), or -1.
int KindOfPart(int part);

// The dialog: named by its caption, its parts the panel, the credit, the link
// (its address as its value; its default action follows it) and the two buttons.
acc::Item DialogItem(const std::string& caption);
struct DialogParts {
  enum : int { kPanel, kCredit, kLink, kSet, kCancel };
  std::vector<acc::Item> items;
  std::vector<int> which;
};
DialogParts DialogChildren(const std::string& credit, const std::string& url, int panelId, int setId, int cancelId);

}  // namespace dovra
