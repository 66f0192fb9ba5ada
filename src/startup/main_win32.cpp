// Main: the entry procedure. Refuses a second copy while the saver or its
// settings dialog is open, reads the request letter and opens the one window the
// screen-saver host asks for.
#include <windows.h>

#include "display/display_window_win32.h"
#include "startup/command_line.h"
#include "settings_dialog/settings_dialog_win32.h"
#include "startup/preview_window_win32.h"
#include "startup/settings_win32.h"
#include "toolkit/program_state.h"
#include "toolkit/program_win32.h"
#include "toolkit/text_win32.h"
#include "toolkit/window_win32.h"

namespace dovra {

void Main() {
  // Both captions are searched with the wide call, so that the guard works
  // whatever the system's ANSI code page is.
  const bool saverOpen = FindWindowW(nullptr, Utf8ToWide(Vormix_S::kCaption).c_str()) != nullptr;
  const bool dialogOpen = FindWindowW(nullptr, Utf8ToWide(Vormix_P::kCaption).c_str()) != nullptr;
  if (saverOpen || dialogOpen) EndProgram(0);

  const Request request = ParseRequest(ArgumentsOf(GetCommandLineA()));
  const Mode mode = ModeOf(request);
  if (mode == Mode::Preview) RunPreview(request.hostHandle);

  Settings settings;
  Win32ProfileStore store;
  LoadSettingsWin32(settings, store);
  if (mode == Mode::Settings) {
    // Modal; any handle after the letter (/c:1234) is ignored.
    Vormix_P dialog(settings, store);
    dialog.ShowModal();
    EndProgram(0);
  }
  if (mode == Mode::End) EndProgram(0);
  if (mode == Mode::FullScreen) CursorShowCount = ShowCursor(FALSE);
  Vormix_S display(settings, request.letter);
  display.Form_Load();
}

}  // namespace dovra

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  dovra::LoadDllsFromSystemFolderOnly();
  dovra::Main();
  return 0;
}
