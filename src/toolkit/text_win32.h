// Text conversions at the platform boundary: the sources hold UTF-8, the system
// calls take UTF-16 or the ANSI code page.
#pragma once
#include <cstdint>
#include <string>

#include "toolkit/lead_bytes.h"

namespace dovra {

std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& s);
std::string WideToAnsi(const std::wstring& s);
std::wstring AnsiToWide(const std::string& s);
// A path in the ANSI code page that names the same file: the path itself when
// every character converts exactly (no best-fit look-alikes, no "?"), else the
// file's short name when it has one that does. False when neither exists.
bool AnsiPathFor(const std::wstring& path, std::string& ansi);
// The file's short (8.3) name, or its whole name, as the file system gives it;
// false when the file is not there or has no such name.
bool ShortPathName(const std::wstring& path, std::wstring& name);
bool LongPathName(const std::wstring& path, std::wstring& name);

// A path as the wide file calls take it at any length: one of MAX_PATH or more
// made absolute and given the "\\?\" prefix, which lifts the limit.
std::wstring ExtendedLengthPath(const std::wstring& path);

// Text of bytes in code page cp; false when they are not valid there.
bool CodePageToWide(uint32_t cp, const std::string& bytes, std::wstring& wide);
// The text exactly in code page cp (no best-fit look-alike, no "?"); false when
// the code page cannot hold it.
bool WideToCodePage(uint32_t cp, const std::wstring& wide, std::string& bytes);

// The lead bytes of a code page (the system's ANSI code page by default).
LeadBytes LeadBytesOf(uint32_t cp);
LeadBytes AnsiLeadBytes();

inline std::string Utf8ToAnsi(const std::string& s) { return WideToAnsi(Utf8ToWide(s)); }

}  // namespace dovra
