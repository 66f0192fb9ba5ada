#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "music/wav_stream.h"

using namespace dovra;

namespace {

void Put32(std::string& s, uint32_t v) { for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i)); }
void Put16(std::string& s, uint16_t v) { s += static_cast<char>(v); s += static_cast<char>(v >> 8); }
std::string Chunk(const char* id, const std::string& body, uint32_t claimed = UINT32_MAX) {
  std::string s(id, 4);
  Put32(s, claimed == UINT32_MAX ? static_cast<uint32_t>(body.size()) : claimed);
  return s + body + (body.size() % 2 ? std::string(1, '\0') : "");
}
// 16-bit stereo PCM at 44.1 kHz (blocks of 4 bytes); with a cbSize, and extra
// bytes after it, when given.
std::string Fmt(uint16_t channels = 2, uint16_t align = 4, int cbSize = -1, const std::string& extra = "",
                uint16_t tag = 1) {
  std::string f;
  Put16(f, tag);
  Put16(f, channels);
  Put32(f, 44100);
  Put32(f, 44100u * align);
  Put16(f, align);
  Put16(f, 16);
  if (cbSize >= 0) Put16(f, static_cast<uint16_t>(cbSize));
  return Chunk("fmt ", f + extra);
}
constexpr uint16_t kExtensible = 0xFFFE;
std::string Riff(const std::string& chunks) {
  std::string s = "RIFF";
  Put32(s, static_cast<uint32_t>(chunks.size() + 4));
  return s + "WAVE" + chunks;
}
std::string Sound(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

// A file in memory that can be cut or made unreadable while it is read.
struct FakeFile {
  std::string bytes;
  uint64_t failFrom = UINT64_MAX;  // reads at or past this offset fail
  int reads = 0;
  ReadAt Reader() {
    return [this](uint64_t offset, uint8_t* buffer, uint32_t n) -> uint32_t {
      ++reads;
      if (offset >= bytes.size() || offset >= failFrom) return 0;
      const uint32_t got = static_cast<uint32_t>(std::min<uint64_t>(n, std::min<uint64_t>(bytes.size(), failFrom) - offset));
      std::memcpy(buffer, bytes.data() + offset, got);
      return got;
    };
  }
};

}  // namespace

TEST(WavStream, EverySizeInTheHeaderIsCheckedAgainstTheFile) {
  struct Case {
    const char* what;
    std::string file;
    bool ok;
    uint64_t dataOffset, dataBytes;
    size_t formatBytes;
  };
  const std::string list = Chunk("LIST", "INFOabc");  // odd size: padded
  const Case cases[] = {
      {"plain PCM", Riff(Fmt() + Chunk("data", Sound(400))), true, 44, 400, 18},
      {"header promises 600 MB", Riff(Fmt() + Chunk("data", Sound(88), 600u << 20)), true, 44, 88, 18},
      {"data size unknown (all ones)", Riff(Fmt() + Chunk("data", Sound(40), 0xFFFFFFFFu)), true, 44, 40, 18},
      {"a piece of a block at the end", Riff(Fmt() + Chunk("data", Sound(42))), true, 44, 40, 18},
      {"other chunks first, odd-sized", Riff(list + Fmt() + Chunk("data", Sound(8))), true, 44 + 16, 8, 18},
      {"sound before its format", Riff(Chunk("data", Sound(8)) + Fmt()), true, 20, 8, 18},
      {"extensible format, extra bytes", Riff(Fmt(2, 4, 22, Sound(22), kExtensible) + Chunk("data", Sound(8))), true, 68, 8, 40},
      {"cbSize given as 0", Riff(Fmt(2, 4, 0) + Chunk("data", Sound(8))), true, 46, 8, 18},
      {"PCM's cbSize is not looked at", Riff(Fmt(2, 4, 2) + Chunk("data", Sound(8))), true, 46, 8, 18},
      {"cbSize larger than its chunk", Riff(Fmt(2, 4, 0x30, "", kExtensible) + Chunk("data", Sound(8))), false, 0, 0, 0},
      {"no channels", Riff(Fmt(0) + Chunk("data", Sound(8))), false, 0, 0, 0},
      {"no block size", Riff(Fmt(2, 0) + Chunk("data", Sound(8))), false, 0, 0, 0},
      {"format cut short", Riff(Fmt()).substr(0, 30), false, 0, 0, 0},
      {"format chunk too small", Riff(Chunk("fmt ", "abcd") + Chunk("data", Sound(8))), false, 0, 0, 0},
      {"no sound chunk", Riff(Fmt()), false, 0, 0, 0},
      {"sound chunk empty", Riff(Fmt() + Chunk("data", "")), false, 0, 0, 0},
      {"not RIFF", "RIFX" + Riff(Fmt() + Chunk("data", Sound(8))).substr(4), false, 0, 0, 0},
      {"not WAVE", Riff(Fmt() + Chunk("data", Sound(8))).replace(8, 4, "AVI "), false, 0, 0, 0},
      {"shorter than a header", "RIFF", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFile f{c.file};
    WavLayout layout;
    ASSERT_EQ(ParseWav(f.Reader(), f.bytes.size(), layout), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(layout.dataOffset, c.dataOffset);
    EXPECT_EQ(layout.dataBytes, c.dataBytes);
    EXPECT_EQ(layout.format.size(), c.formatBytes);
    EXPECT_EQ(layout.blockAlign, 4);
    EXPECT_EQ(layout.format[16] | layout.format[17] << 8, static_cast<int>(c.formatBytes - 18));  // cbSize
  }
  // A file of chunks without end is walked only so far.
  std::string many;
  for (int i = 0; i < 5000; ++i) many += Chunk("junk", "");
  FakeFile f{Riff(Fmt() + many + Chunk("data", Sound(8)))};
  WavLayout layout;
  EXPECT_FALSE(ParseWav(f.Reader(), f.bytes.size(), layout));
  EXPECT_LT(f.reads, 1100);
}

TEST(WavStream, TheLoopPlaysWhatIsThereAndEndsInSilenceWhenNothingIs) {
  struct Case {
    const char* what;
    uint64_t readableFrom0;  // once playing starts, reads of the sound past this many bytes fail
    size_t heard;            // bytes the first three buffers hold
    bool ended;
  };
  const Case cases[] = {
      {"loops", UINT64_MAX, 36, false},
      {"cut to a sliver: what is left plays once, then silence", 4, 4, true},
      {"cut to nothing: silence", 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFile f{Riff(Fmt() + Chunk("data", Sound(16)))};
    WavLayout layout;
    ASSERT_TRUE(ParseWav(f.Reader(), f.bytes.size(), layout));
    WavLoop loop(f.Reader(), layout, /*keepWhole=*/0);  // every piece read from the file
    if (c.readableFrom0 != UINT64_MAX) f.failFrom = layout.dataOffset + c.readableFrom0;
    std::string got;
    for (int i = 0; i < 3; ++i) {
      uint8_t buffer[14];  // not a whole number of blocks: 12 are used
      got.append(reinterpret_cast<char*>(buffer), loop.Fill(buffer, sizeof buffer));
    }
    const std::string pass = Sound(16).substr(0, std::min<uint64_t>(16, c.readableFrom0));
    std::string expected;
    while (!pass.empty() && expected.size() < c.heard) expected += pass;
    EXPECT_EQ(got, expected.substr(0, c.heard));
    EXPECT_EQ(loop.Ended(), c.ended);
  }
  // A short sound is read once and then played from memory, even after the file is gone.
  FakeFile f{Riff(Fmt() + Chunk("data", Sound(6 * 4)))};
  WavLayout layout;
  ASSERT_TRUE(ParseWav(f.Reader(), f.bytes.size(), layout));
  WavLoop loop(f.Reader(), layout);
  f.bytes.clear();
  uint8_t buffer[40];
  ASSERT_EQ(loop.Fill(buffer, sizeof buffer), 40u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 40), Sound(24) + Sound(16));
}
