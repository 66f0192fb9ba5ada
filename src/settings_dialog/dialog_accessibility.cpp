#include "settings_dialog/dialog_accessibility.h"

#include "toolkit/portable_only.h"

namespace dovra {

namespace {
const char* const kKindNames[3] = {"なし", "音楽CD", "MP3、WAV"};

acc::Item Text(const std::string& text) {
  acc::Item i;
  i.role = acc::kRoleStaticText;
  i.name = text;
  i.state = acc::kStateReadOnly;
  return i;
}
}  // namespace

acc::Item PanelItem() {
  acc::Item i;
  i.role = acc::kRoleGrouping;
  i.name = "BGM";
  return i;
}

int KindOfPart(int part) {
  switch (part) {
    case PanelParts::kNone: return 0;
    case PanelParts::kCd: return 1;
    case PanelParts::kFile: return 2;
    default: return -1;
  }
}

PanelParts PanelChildren(int16_t kind, const std::string& path, const std::string& notice, int repeatId, int fileId) {
  PanelParts p;
  const auto add = [&p](int which, acc::Item item) {
    p.items.push_back(std::move(item));
    p.which.push_back(which);
  };
  // Top to bottom as the panel shows them.
  for (int part : {PanelParts::kCd, PanelParts::kNone, PanelParts::kFile}) {
    acc::Item radio;
    radio.role = acc::kRoleRadioButton;
    radio.name = kKindNames[KindOfPart(part)];
    radio.state = KindOfPart(part) == kind ? acc::kStateChecked : 0;
    radio.defaultAction = "チェック";
    add(part, radio);
  }
  add(PanelParts::kRepeatList, acc::WindowPart(repeatId));
  add(PanelParts::kRepeatLabel, Text("曲目をﾘﾋﾟｰﾄ"));
  add(PanelParts::kFileButton, acc::WindowPart(fileId));
  add(PanelParts::kPath, Text(path));
  if (!notice.empty()) add(PanelParts::kNotice, Text(notice));
  return p;
}

acc::Item DialogItem(const std::string& caption) {
  acc::Item i;
  i.role = acc::kRoleDialog;
  i.name = caption;
  return i;
}

DialogParts DialogChildren(const std::string& credit, const std::string& url, int panelId, int setId, int cancelId) {
  DialogParts d;
  const auto add = [&d](int which, acc::Item item) {
    d.items.push_back(std::move(item));
    d.which.push_back(which);
  };
  add(DialogParts::kPanel, acc::WindowPart(panelId));
  add(DialogParts::kCredit, Text(credit));
  acc::Item link;
  link.role = acc::kRoleLink;
  link.name = url;
  link.value = url;
  link.state = acc::kStateLinked;
  link.defaultAction = "ジャンプ";
  add(DialogParts::kLink, link);
  add(DialogParts::kSet, acc::WindowPart(setId));
  add(DialogParts::kCancel, acc::WindowPart(cancelId));
  return d;
}

}  // namespace dovra
