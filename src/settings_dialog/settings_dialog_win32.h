// Vormix_P: the settings dialog. The user picks the music kind, the CD track to
// repeat and the music file; the confirm button writes all three INI keys.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "controls/command_button_win32.h"
#include "settings_dialog/dialog_accessibility.h"
#include "startup/settings.h"
#include "toolkit/accessible_win32.h"
#include "toolkit/handles_win32.h"
#include "toolkit/program_win32.h"
#include "toolkit/window_win32.h"

namespace dovra {

class Vormix_P;

// Pic_C (0): the sunken panel with the music choices, painting its own gradient
// and its windowless labels and marks.
class MusicPanel : public Window, private AccessibleSource {
 public:
  explicit MusicPanel(Vormix_P& dialog) : dialog_(dialog) {}
  ~MusicPanel() override;
  // Tells accessibility clients that one of its drawn parts changed.
  void Notify(DWORD event, int part);

 protected:
  void Form_Paint(HDC dc) override;
  void Form_Destroyed() override { accessible_.Disconnect(); }
  void Form_MouseDown(int16_t button, int16_t shift, int x, int y) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // To accessibility clients: a grouping named by its heading, its parts as
  // the dialog's state makes them, each where the mouse finds it.
  acc::Item Self() override { return PanelItem(); }
  std::vector<acc::Item> Parts() override { return Children().items; }
  std::vector<RECT> PartRects(size_t i) override;
  void DoDefaultAction(size_t i) override;
  PanelParts Children() const;
  // Where a kind's label is, sized to its text.
  RECT KindLabelRect(HDC dc, int kind) const;

  Vormix_P& dialog_;
  AccessibleWindow accessible_{*this};
};

class Vormix_P : public Window, private AccessibleSource {
 public:
  static constexpr const char* kCaption = "Vormix_Dovraの設定";
  // Control ids, so that the controls can be found from outside.
  enum : int { kIdPanel = 100, kIdRepeat = 101, kIdFile = 102, kIdSet = 103, kIdCancel = 104 };

  Vormix_P(Settings& settings, ProfileStore& store);
  ~Vormix_P() override;

  // The system services the dialog calls, replaceable by tests: the open-file
  // dialog (true and the chosen path when a file was chosen) and the shell's
  // opening of a web address.
  std::function<bool(HWND owner, const std::string& initialDir, std::wstring& chosen)> OpenFileDialog;
  std::function<void(HWND owner, const std::wstring& url)> OpenUrl;

  // Loads, shows and runs the dialog until it is closed.
  void ShowModal();
  // Loads the dialog (hidden); ShowModal does this first.
  bool Load();

  // The handlers.
  void Img_BGM_MouseDown(int index, int16_t button, int16_t shift, int x, int y);
  void lbl_BGM_MouseDown(int index, int16_t button, int16_t shift, int x, int y);
  void Cmd_File_Click();
  void Cmd_Set_Click();
  void Cmd_Can_Click();
  void lbl_URL_Click();

  // What the dialog shows, for tests.
  HWND RepeatBox() const { return BGM_Repeat; }
  Command& CmdFile() { return *Cmd_File; }
  Command& CmdSet() { return *Cmd_Set; }
  Command& CmdCan() { return *Cmd_Can; }
  int MarkedKind() const;
  const std::string& FileCaption() const { return fileCaption_; }
  // The dialog's own word to the user when a chosen file was refused (UTF-8).
  const std::string& Notice() const { return notice_; }
  static const char* const kPathNotStorable;
  static const char* const kUrl;
  static const char* const kCredit;

 protected:
  void Form_Unload(int16_t& cancel) override;
  void Form_Destroyed() override { accessible_.Disconnect(); }
  void Form_Paint(HDC dc) override;
  void Form_MouseDown(int16_t button, int16_t shift, int x, int y) override;
  void Form_MouseUp(int16_t button, int16_t shift, int x, int y) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  friend class MusicPanel;
  void Form_Load();
  void SetButtons(bool initialize, bool enable);
  void ShowKind(int16_t kind);
  void SetFileCaption(const std::string& ansiPath);
  void SetNotice(const std::string& text);
  void LoadScaledResources();
  void Rescale(int dpi, const RECT& suggested);
  void FitClient();
  // The window's outer size at dpi, as Rescale makes it (where the system then
  // draws the frame at another size than it says, as Wine does, FitClient
  // corrects it afterwards).
  SIZE SizeAtDpi(int dpi) const;
  // To accessibility clients: named by its caption; the credit and the link
  // drawn on it, and its windows, are its parts.
  acc::Item Self() override;
  std::vector<acc::Item> Parts() override;
  std::vector<RECT> PartRects(size_t i) override;
  void DoDefaultAction(size_t i) override;
  RECT LabelRect(HFONT font, double l, double t, double w, double h, const char* text) const;
  bool CanTakeFocus(HWND h) const;
  HWND FirstFocusable() const;
  RECT UrlRect() const;

  Settings& settings_;
  ProfileStore& store_;
  MusicPanel Pic_C;
  HWND BGM_Repeat = nullptr;
  std::unique_ptr<Command> Cmd_File, Cmd_Set, Cmd_Can;
  Picture Img_Ra[2];
  std::array<int, 3> Img_BGM{};  // which mark picture each shows: 0 empty, 1 filled
  std::string fileCaption_;       // lbl_Fname, UTF-8
  std::string notice_;            // UTF-8; empty when there is nothing to say
  HWND focusBeforeDeactivation_ = nullptr;
  UniqueFont font_, urlFont_;
  HCURSOR hand_ = nullptr;
  HICON icon_ = nullptr;
  bool urlPressed_ = false;
  int dpi_ = 96;  // the density the dialog is laid out for
  AccessibleWindow accessible_{*this};
};

}  // namespace dovra
