// Program and screen services: the program's folder, twips, pictures as files.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/handles_win32.h"

namespace dovra {

// The program's folder as the system reports it: no trailing separator except
// at a drive root ("C:\"). In the ANSI code page.
std::string ProgramDirectory();

// Twips (1/1440 inch) per pixel, from the screen's logical density: 15 at 96 dpi.
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
// Loads a bitmap resource of this program as a DIB section.
Picture LoadPictureResource(int id);
// Writes the bitmap as a 24-bit BMP file, replacing any file of that name.
bool SavePictureFile(HBITMAP bitmap, const std::string& path);

// Seconds since midnight, local time, with milliseconds.
double SecondsSinceMidnight();

}  // namespace dovra
