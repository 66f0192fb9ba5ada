// Text conversions at the platform boundary: the sources hold UTF-8, the system
// calls take UTF-16 or the ANSI code page.
#pragma once
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

// A path as the wide file calls take it at any length: one of MAX_PATH or more
// made absolute and given the "\\?\" prefix, which lifts the limit.
std::wstring ExtendedLengthPath(const std::wstring& path);

// Text given as Shift-JIS bytes, as the ANSI code page holds it: the bytes
// themselves where the code page reads them back unchanged (932, the single-byte
// code pages), so files written there stay as they always were; elsewhere (the
// UTF-8 code page) the same text in that code page, or the bytes when it has no
// way to hold it.
std::string ShiftJisToAnsi(const std::string& sjis);

// The lead bytes of the system's ANSI code page.
LeadBytes AnsiLeadBytes();

inline std::string Utf8ToAnsi(const std::string& s) { return WideToAnsi(Utf8ToWide(s)); }

}  // namespace dovra
