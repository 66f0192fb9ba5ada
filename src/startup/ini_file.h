// A profile (INI) file's bytes, read and changed line by line as the system's
// profile functions read and change them, but without their conversion of the
// whole file through the ANSI code page: a line that is not changed keeps its
// bytes, whatever code page wrote it.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace dovra {

// A key can stand in a file in several forms, the same name in different
// encodings. Names compare as the profile functions compare them: blanks around
// them dropped, ASCII letters without regard to case.
struct IniValue {
  size_t form = 0;    // which of the forms the file held
  std::string value;  // blanks around it dropped, one pair of enclosing quotes removed
};

// The key's value in the first section named section: of the forms, the first
// one in the list that the section holds wins, and of its lines the first.
std::optional<IniValue> FindIniValue(const std::string& file, const std::string& section,
                                     const std::vector<std::string>& forms);

// The file with key=value in the first section named section. The key's first
// line (of any form) becomes the new line, keeping its line end; its other
// lines in that section go, so no other form can hide the value. A key not yet
// there goes after the section's last line that is not blank, and a missing
// section is added at the end.
std::string SetIniValue(const std::string& file, const std::string& section,
                        const std::vector<std::string>& forms, const std::string& key,
                        const std::string& value);

}  // namespace dovra
