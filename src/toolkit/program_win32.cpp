#include "toolkit/program_win32.h"

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "surface/resample.h"

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
int g_layoutDpi = 0;

int ScreenDpi(int index) {
  if (g_layoutDpi > 0) return g_layoutDpi;
  WindowDC dc(nullptr);
  const int dpi = dc.Get() ? GetDeviceCaps(dc.Get(), index) : 96;
  return dpi > 0 ? dpi : 96;
}
}  // namespace

void LoadDllsFromSystemFolderOnly() {
  // Windows 8 and later; Windows 7 with its update KB2533623. Without it, the
  // current folder is at least taken out of the search.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (!set || !set(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

HMODULE LoadSystemDll(const wchar_t* name) {
  // Where the flag is unknown (Windows 7 without its update) the call fails,
  // and only the DLLs every system has are then taken by their full path.
  if (HMODULE m = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return m;
  wchar_t dir[MAX_PATH];
  const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(dir) + L"\\" + name).c_str());
}

int MonitorDpi(HMONITOR monitor) {
  // GetDpiForMonitor lives in shcore.dll, which older systems do not have.
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  if (HMODULE shcore = LoadSystemDll(L"shcore.dll")) {
    auto get = reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
    UINT x = 0, y = 0;
    const bool ok = get && monitor && SUCCEEDED(get(monitor, 0 /* effective */, &x, &y));
    FreeLibrary(shcore);
    if (ok && x > 0) return static_cast<int>(x);
  }
  WindowDC dc(nullptr);
  const int dpi = dc.Get() ? GetDeviceCaps(dc.Get(), LOGPIXELSX) : 96;
  return dpi > 0 ? dpi : 96;
}

int PrimaryMonitorDpi() { return MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

void SetLayoutDpi(int dpi) { g_layoutDpi = dpi > 0 ? dpi : 0; }

double TwipsPerPixelX() { return 1440.0 / ScreenDpi(LOGPIXELSX); }
double TwipsPerPixelY() { return 1440.0 / ScreenDpi(LOGPIXELSY); }
double ScreenWidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }
double ScreenHeightTwips() { return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY(); }

Picture LoadPictureFile(const std::string& path) {
  return Picture(static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

std::optional<RgbPicture> DecodePictureResource(int id) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return std::nullopt;
  HGLOBAL loaded = LoadResource(self, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return DecodePicture(static_cast<const uint8_t*>(bytes), SizeofResource(self, found));
}

Picture PictureFromRgb(const RgbPicture& rgb) {
  if (rgb.width <= 0 || rgb.height <= 0) return Picture();
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = rgb.width;
  info.biHeight = rgb.height;  // bottom-up, as the program's surfaces are
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) return Picture(dib);
  const size_t stride = (static_cast<size_t>(rgb.width) * 3 + 3) & ~size_t{3};
  auto* out = static_cast<uint8_t*>(bits);
  for (int32_t y = 0; y < rgb.height; ++y) {
    uint8_t* row = out + (rgb.height - 1 - y) * stride;
    const uint8_t* in = rgb.At(0, y);
    for (int32_t x = 0; x < rgb.width; ++x, in += 3, row += 3) {
      row[0] = in[2];  // stored blue, green, red
      row[1] = in[1];
      row[2] = in[0];
    }
  }
  return Picture(dib);
}

Picture LoadScaledPictureResource(int id, const SceneScale& scale, bool sprite) {
  if (scale.IsOne()) return LoadPictureResource(id);
  const int factor = scale.PictureFactor();
  const std::optional<RgbPicture> source = DecodePictureResource(factor == 2 ? IDB_2X(id) : id);
  if (!source) return Picture();
  const int32_t w = scale.Size(source->width / factor), h = scale.Size(source->height / factor);
  return PictureFromRgb(sprite ? ResampleSprite(*source, w, h) : ResampleArea(*source, w, h));
}

Picture LoadPictureResource(int id) {
  const std::optional<RgbPicture> rgb = DecodePictureResource(id);
  return rgb ? PictureFromRgb(*rgb) : Picture();
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
