#include "toolkit/text_win32.h"

#include <windows.h>

#include "toolkit/code_page.h"

namespace dovra {
namespace {

std::wstring ToWide(UINT cp, const std::string& s) {
  if (s.empty()) return std::wstring();
  const int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
  return out;
}

std::string FromWide(UINT cp, const std::wstring& s) {
  if (s.empty()) return std::string();
  const int n = WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring Utf8ToWide(const std::string& s) { return ToWide(CP_UTF8, s); }
std::string WideToUtf8(const std::wstring& s) { return FromWide(CP_UTF8, s); }
std::string WideToAnsi(const std::wstring& s) { return FromWide(CP_ACP, s); }
std::wstring AnsiToWide(const std::string& s) { return ToWide(CP_ACP, s); }

namespace {
static_assert(kNoBestFitChars == WC_NO_BEST_FIT_CHARS && kErrInvalidChars == WC_ERR_INVALID_CHARS, "flag values");

bool Exact(UINT cp, const std::wstring& s, std::string& out) {
  if (s.empty()) {
    out.clear();
    return true;
  }
  const ExactConversion how = ExactConversionFor(cp == CP_ACP ? GetACP() : cp);
  BOOL lost = FALSE;
  BOOL* const reportLost = how.reportsReplaced ? &lost : nullptr;
  const int len = static_cast<int>(s.size());
  const int n = WideCharToMultiByte(cp, how.flags, s.data(), len, nullptr, 0, nullptr, reportLost);
  if (n <= 0 || lost) return false;
  std::string a(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(cp, how.flags, s.data(), len, &a[0], n, nullptr, reportLost) != n || lost) return false;
  if (how.compareRoundTrip && ToWide(cp, a) != s) return false;
  out.swap(a);
  return true;
}

bool ExactAnsi(const std::wstring& s, std::string& out) { return !s.empty() && Exact(CP_ACP, s, out); }
}  // namespace

bool CodePageToWide(uint32_t cp, const std::string& bytes, std::wstring& wide) {
  wide.clear();
  if (bytes.empty()) return true;
  const int len = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), len, nullptr, 0);
  if (n <= 0) return false;
  wide.assign(static_cast<size_t>(n), L'\0');
  return MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), len, &wide[0], n) == n;
}

bool WideToCodePage(uint32_t cp, const std::wstring& wide, std::string& bytes) { return Exact(cp, wide, bytes); }

namespace {
// GetShortPathNameW or GetLongPathNameW: asked for the length, then the name.
using PathNameCall = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
bool PathName(PathNameCall call, const std::wstring& path, std::wstring& name) {
  if (path.empty()) return false;
  const DWORD n = call(path.c_str(), nullptr, 0);
  if (n == 0) return false;
  std::wstring got(n, L'\0');
  const DWORD length = call(path.c_str(), &got[0], n);
  if (length == 0 || length >= n) return false;
  got.resize(length);
  name.swap(got);
  return true;
}
}  // namespace

bool ShortPathName(const std::wstring& path, std::wstring& name) { return PathName(GetShortPathNameW, path, name); }
bool LongPathName(const std::wstring& path, std::wstring& name) { return PathName(GetLongPathNameW, path, name); }

bool AnsiPathFor(const std::wstring& path, std::string& ansi) {
  std::wstring shortPath;
  return ExactAnsi(path, ansi) || (ShortPathName(path, shortPath) && ExactAnsi(shortPath, ansi));
}

std::wstring ExtendedLengthPath(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0)
    return path;
  // Made whole first: the prefix turns off the system's own tidying of the path.
  std::wstring full(path.size() + MAX_PATH, L'\0');
  const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

LeadBytes AnsiLeadBytes() { return LeadBytesOf(CP_ACP); }

LeadBytes LeadBytesOf(uint32_t cp) {
  LeadBytes lead;
  CPINFO info{};
  if (!GetCPInfo(cp, &info)) return lead;
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2) lead.SetRange(info.LeadByte[i], info.LeadByte[i + 1]);
  return lead;
}

}  // namespace dovra
