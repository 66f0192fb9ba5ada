#include "toolkit/program_win32.h"

#include <vector>

namespace dovra {

std::string ProgramDirectory() {
  std::vector<char> buf(32768, '\0');
  const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  std::string path(buf.data(), n);
  const size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  std::string dir = path.substr(0, slash);
  if (dir.size() == 2 && dir[1] == ':') dir += '\\';  // drive root keeps its separator
  return dir;
}

namespace {
int ScreenDpi(int index) {
  WindowDC dc(nullptr);
  const int dpi = dc.Get() ? GetDeviceCaps(dc.Get(), index) : 96;
  return dpi > 0 ? dpi : 96;
}
}  // namespace

double TwipsPerPixelX() { return 1440.0 / ScreenDpi(LOGPIXELSX); }
double TwipsPerPixelY() { return 1440.0 / ScreenDpi(LOGPIXELSY); }
double ScreenWidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }
double ScreenHeightTwips() { return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY(); }

Picture LoadPictureFile(const std::string& path) {
  return Picture(static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

Picture LoadPictureResource(int id) {
  return Picture(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

bool SavePictureFile(HBITMAP bitmap, const std::string& path) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return false;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = bm.bmWidth;
  info.biHeight = bm.bmHeight;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(bm.bmWidth) * 3 + 3) & ~3u;
  info.biSizeImage = stride * static_cast<DWORD>(bm.bmHeight);
  std::vector<BYTE> bits(info.biSizeImage);
  {
    WindowDC screen(nullptr);
    if (!GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), bits.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
      return false;
  }
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  UniqueFile out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.Valid()) return false;
  DWORD written = 0;
  bool ok = WriteFile(out.Get(), &file, sizeof file, &written, nullptr) && written == sizeof file;
  ok = ok && WriteFile(out.Get(), &info, sizeof info, &written, nullptr) && written == sizeof info;
  ok = ok && WriteFile(out.Get(), bits.data(), info.biSizeImage, &written, nullptr) &&
       written == info.biSizeImage;
  return ok;
}

double SecondsSinceMidnight() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

}  // namespace dovra
