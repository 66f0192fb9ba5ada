// Program and screen services: the program's folder, twips, pictures as files.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/handles_win32.h"
#include "toolkit/picture_codec.h"
#include "toolkit/scene_scale.h"

namespace dovra {

// From here on every DLL the program loads comes from the system folder only,
// never from the program's own folder, where a download may have put a DLL of
// a system DLL's name. Called first thing, before any delay-loaded DLL is used.
void LoadDllsFromSystemFolderOnly();
// A system DLL loaded from the system folder only.
HMODULE LoadSystemDll(const wchar_t* name);

// The program's folder as the system reports it: no trailing separator except
// at a drive root ("C:\"). In the ANSI code page.
std::string ProgramDirectory();

// Dots per inch of a monitor: its own where the system tells each monitor's
// (Windows 8.1 and later), else the system's.
int MonitorDpi(HMONITOR monitor);
int PrimaryMonitorDpi();

// Twips (1/1440 inch) per pixel, from the screen's logical density: 15 at 96 dpi.
// A window laid out for one monitor's density (the settings dialog, which
// follows its monitor) sets that density here for the program's layout; 0
// goes back to the system's.
void SetLayoutDpi(int dpi);
double TwipsPerPixelX();
double TwipsPerPixelY();
double ScreenWidthTwips();
double ScreenHeightTwips();

// A loaded picture: owns its GDI bitmap.
class Picture {
 public:
  Picture() = default;
  explicit Picture(HBITMAP b) : bitmap_(b) {}
  HBITMAP Handle() const { return bitmap_.Get(); }
  explicit operator bool() const { return static_cast<bool>(bitmap_); }

 private:
  UniqueBitmap bitmap_;
};

// Loads a BMP file; an empty Picture when it cannot be read.
Picture LoadPictureFile(const std::string& path);
// Decodes a picture stored in this program (PNG or JPEG).
std::optional<RgbPicture> DecodePictureResource(int id);
// Loads a picture stored in this program as a 24-bit DIB section.
Picture LoadPictureResource(int id);
// A 24-bit DIB section with the picture's pixels.
Picture PictureFromRgb(const RgbPicture& rgb);
// A picture stored at its size (id) and at twice it (IDB_2X(id)), at the size
// for a screen of the given scale: made once from the stored one nearest in
// size and at least as large, with area averaging; a sprite keeps its magenta
// rule. At scale 1 the stored picture itself.
Picture LoadScaledPictureResource(int id, const SceneScale& scale, bool sprite = false);
// Writes the bitmap as a 24-bit BMP file, replacing any file of that name.
bool SavePictureFile(HBITMAP bitmap, const std::string& path);

// Seconds since midnight, local time, with milliseconds.
double SecondsSinceMidnight();

}  // namespace dovra
