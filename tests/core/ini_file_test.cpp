#include <gtest/gtest.h>

#include "startup/ini_file.h"

using namespace dovra;

TEST(IniBytes, ValuesAreFoundAsTheProfileFunctionsFindThem) {
  struct Case {
    const char* file;
    int form;  // -1: not found
    const char* value;
  } cases[] = {
      {"[Section]\r\nK= 2\r\n", 0, "2"},
      {"\xEF\xBB\xBF [ section ] \r\n  k  =  \"a b\"  \r\n", 0, "a b"},  // BOM, blanks, case, quotes
      {"[Section]\nK='x'", 0, "x"},
      {"[Section]\nK=\"x", 0, "\"x"},
      {"[Section]\nK=a=b\n", 0, "a=b"},
      {"[Section]\nB=1\nK=2\nK=3\n", 0, "2"},  // the first form listed wins, then the first line
      {"[Section]\nB=1\n", 1, "1"},
      {"[Other]\r\nK=1\r\n", -1, ""},
      {"[Section]\r\nx=1\r\n[Section]\r\nK=2\r\n", -1, ""},  // the first such section only
      {"[Section]\r\nK\r\n;K=1\r\n", -1, ""},
      {"K=1\r\n[Section]\r\n", -1, ""},
  };
  for (const Case& c : cases) {
    const auto v = FindIniValue(c.file, "Section", {"K", "B"});
    ASSERT_EQ(v.has_value(), c.form >= 0) << c.file;
    if (v) {
      EXPECT_EQ(v->form, static_cast<size_t>(c.form)) << c.file;
      EXPECT_EQ(v->value, c.value) << c.file;
    }
  }
}

TEST(IniBytes, SettingAValueChangesOnlyTheKeysLines) {
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"", "[Section]\r\nK=v\r\n"},
      {"[Other]\r\na = 1", "[Other]\r\na = 1\r\n[Section]\r\nK=v\r\n"},
      {"; c\n[Section]\nx = 1\nK= 2\n\n[Other]\ny=2\n", "; c\n[Section]\nx = 1\nK=v\n\n[Other]\ny=2\n"},
      {"[Section]\r\nk2=1\r\nz=0\r\nK=2\r\nK=3\r\n", "[Section]\r\nK=v\r\nz=0\r\n"},  // other forms go
      {"[Section]\r\nz=0\r\n\r\n[Other]\r\n", "[Section]\r\nz=0\r\nK=v\r\n\r\n[Other]\r\n"},
      {"[Section]\r\nz=0", "[Section]\r\nz=0\r\nK=v\r\n"},
      {"[Section]", "[Section]\r\nK=v\r\n"},
      {"[Section]\r\n\r\n[O]\r\n", "[Section]\r\nK=v\r\n\r\n[O]\r\n"},
      {"[Section]\r\n[Section]\r\nK=1\r\n", "[Section]\r\nK=v\r\n[Section]\r\nK=1\r\n"},
      {"\xEF\xBB\xBF[Section]\r\n\x83\x5C=\x95\x5C\r\n", "\xEF\xBB\xBF[Section]\r\n\x83\x5C=\x95\x5C\r\nK=v\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(SetIniValue(c.before, "Section", {"K", "k2"}, "K", "v"), c.after) << c.before;
}
