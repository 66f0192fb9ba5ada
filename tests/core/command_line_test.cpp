#include <gtest/gtest.h>

#include "startup/command_line.h"

using namespace dovra;

TEST(CommandLine, ArgumentsFollowTheProgramName) {
  EXPECT_EQ(ArgumentsOf("C:\\WINDOWS\\Dovra.scr /s"), "/s");
  EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\Dovra.scr\"   /p 1234"), "/p 1234");
  EXPECT_EQ(ArgumentsOf("Dovra.scr"), "");
  EXPECT_EQ(ArgumentsOf("\"C:\\a b\\Dovra.scr\""), "");
  EXPECT_EQ(ArgumentsOf("\"unterminated /s"), "");
  EXPECT_EQ(ArgumentsOf(""), "");
}

TEST(CommandLine, SecondCharacterChoosesTheMode) {
  struct Case { const char* args; Mode mode; } cases[] = {
      {"/s", Mode::FullScreen}, {"/S", Mode::FullScreen}, {"-s", Mode::FullScreen},
      {"xs", Mode::FullScreen}, {"", Mode::FullScreenCursorShown}, {"s", Mode::End},
      {"/c", Mode::Settings}, {"/c:1234", Mode::Settings}, {"/p 1234", Mode::Preview},
      {"/a 1234", Mode::End}, {"/", Mode::End}, {" /s", Mode::End},
  };
  for (const Case& c : cases) EXPECT_EQ(ModeOf(ParseRequest(c.args)), c.mode) << '"' << c.args << '"';
}

TEST(CommandLine, PreviewHandleIsReadFromTheFourthCharacter) {
  EXPECT_EQ(ParseRequest("/p 1234").hostHandle, 1234u);
  EXPECT_EQ(ParseRequest("/P:1234").hostHandle, 1234u);
  EXPECT_EQ(ParseRequest("/p    987xyz").hostHandle, 987u);
  EXPECT_EQ(ParseRequest("/p").hostHandle, 0u);
  EXPECT_EQ(ParseRequest("/p abc").hostHandle, 0u);
  EXPECT_EQ(ParseRequest("/p 12.5").hostHandle, 12u);      // halves to even
  EXPECT_EQ(ParseRequest("/p 2147483648").hostHandle, 0x80000000u);  // handles of 2^31 and above
  EXPECT_EQ(ParseRequest("/p 4294967295").hostHandle, 0xFFFFFFFFu);
  EXPECT_EQ(ParseRequest("/p -44").hostHandle, static_cast<uint32_t>(-44));  // printed signed
  EXPECT_EQ(ParseRequest("/p 4294967296").hostHandle, 0u);  // does not fit 32 bits: 0
  EXPECT_EQ(ParseRequest("/p -2147483649").hostHandle, 0u);
  EXPECT_EQ(ParseRequest("/p 99999999999").hostHandle, 0u);
  EXPECT_EQ(ParseRequest("/s 1234").hostHandle, 0u);         // only read for a preview
}
