#include "startup/settings_win32.h"

#include <windows.h>

#include <vector>

#include "toolkit/handles_win32.h"
#include "toolkit/program_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

FilePort::Got Win32IniFiles::Read(const std::string& path, std::string& bytes) {
  bytes.clear();
  UniqueFile f(CreateFileW(ExtendedLengthPath(AnsiToWide(path)).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) {
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? Got::kNoFile : Got::kFailed;
  }
  char chunk[16384];
  DWORD n = 0;
  while (ReadFile(f.Get(), chunk, sizeof chunk, &n, nullptr)) {
    if (n == 0) return Got::kBytes;
    bytes.append(chunk, n);
  }
  return Got::kFailed;
}

namespace {

// The path the handle's file really has: under UAC file virtualisation the
// user's copy in the virtual store, not the program folder's path it was
// opened by.
std::wstring FinalPath(HANDLE h, const std::wstring& fallback) {
  std::vector<wchar_t> buf(MAX_PATH);
  for (int tries = 0; tries < 2; ++tries) {
    const DWORD n = GetFinalPathNameByHandleW(h, buf.data(), static_cast<DWORD>(buf.size()), FILE_NAME_NORMALIZED);
    if (n == 0) return fallback;
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(n + 1);
  }
  return fallback;
}

bool WriteWhole(HANDLE h, const std::string& bytes) {
  for (size_t at = 0; at < bytes.size();) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1 << 20));
    if (!WriteFile(h, bytes.data() + at, want, &n, nullptr) || n == 0) return false;
    at += n;
  }
  // Flushed before it takes the old file's place: once the move is done the
  // bytes are on the disk, not only the name.
  return FlushFileBuffers(h) != FALSE;
}

}  // namespace

bool Win32IniFiles::Replace(const std::string& path, const std::string& bytes) {
  // The new file goes where the system puts this file's writes. For a program
  // in a protected folder (a 32-bit saver in SysWOW64 with no requested
  // execution level) that is the user's virtual store: opening the file for
  // writing, as the profile functions did, is what the system redirects there
  // (copying a file of the folder first), and the handle names the place.
  const std::wstring asked = ExtendedLengthPath(AnsiToWide(path));
  std::wstring target;
  bool created = false;
  {
    UniqueFile probe(CreateFileW(asked.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.Valid()) return false;
    created = GetLastError() != ERROR_ALREADY_EXISTS;
    target = FinalPath(probe.Get(), asked);
  }
  const std::wstring temp = target + L".new";
  bool done = false;
  {
    UniqueFile out(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    done = out.Valid() && WriteWhole(out.Get(), bytes);
  }
  // A rename within the folder: the old file is replaced in one step, never cut.
  done = done && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!done) {
    DeleteFileW(temp.c_str());
    if (created) DeleteFileW(target.c_str());  // the empty file the probe made
  }
  return done;
}

Win32CodePages::Win32CodePages(uint32_t ansi) : ansi_(ansi) {}
Win32CodePages::Win32CodePages() : ansi_(GetACP()) {}

bool Win32CodePages::ToUtf8(uint32_t codePage, const std::string& bytes, std::string& utf8) const {
  std::wstring wide;
  return CodePageToWide(codePage, bytes, wide) && WideToCodePage(CP_UTF8, wide, utf8);
}

bool Win32CodePages::FromUtf8(uint32_t codePage, const std::string& utf8, std::string& bytes) const {
  std::wstring wide;
  return CodePageToWide(CP_UTF8, utf8, wide) && WideToCodePage(codePage, wide, bytes);
}

bool Win32CodePages::ShortPath(const std::string& utf8, std::string& ansi) const {
  std::wstring wide, shortPath;
  return CodePageToWide(CP_UTF8, utf8, wide) && ShortPathName(wide, shortPath) &&
         WideToCodePage(ansi_, shortPath, ansi);
}

bool Win32CodePages::WholePath(const std::string& utf8, std::string& whole) const {
  std::wstring wide, longPath;
  return CodePageToWide(CP_UTF8, utf8, wide) && LongPathName(wide, longPath) &&
         WideToCodePage(CP_UTF8, longPath, whole);
}

bool CanOpenForReadingWin32(const std::string& path) {
  // By the wide call: a path chosen in the dialog may be longer than the ANSI
  // calls take on Windows.
  UniqueFile f(CreateFileW(ExtendedLengthPath(AnsiToWide(path)).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return f.Valid();
}

void LoadSettingsWin32(Settings& s, ProfileStore& store) {
  LoadSettings(s, ProgramDirectory(), store, CanOpenForReadingWin32, AnsiLeadBytes());
}

void LoadSettingsWin32(Settings& s) {
  Win32ProfileStore store;
  LoadSettingsWin32(s, store);
}

}  // namespace dovra
