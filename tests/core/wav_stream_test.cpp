#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

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
  std::function<void()> onRead = [] {};
  ReadAt Reader() {
    return [this](uint64_t offset, uint8_t* buffer, uint32_t n) -> uint32_t {
      ++reads;
      onRead();
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

namespace {

// The wave device and the player's stop as the streaming worker sees them.
struct FakeOut : WaveOut {
  int stopAtWait = 3, backAfter = 0;  // after a failed reset, waits until the buffers come back; -1: never
  bool resetOk = true, unprepareOk = true, closeOk = true;
  bool stop = false, opened = false, kept = false;
  int waits = 0, drains = 0, writesAfterStop = 0;
  bool queued[kBuffers] = {};
  std::vector<uint8_t> bytes;

  void AllBack() { std::fill(std::begin(queued), std::end(queued), false); }
  bool StopAsked() override { return stop; }
  bool Open(const WavLayout&, uint32_t n) override {
    bytes.resize(size_t{n} * kBuffers);
    return opened = true;
  }
  uint8_t* Buffer(int i) override { return &bytes[bytes.size() / kBuffers * i]; }
  bool Write(int i, uint32_t) override {
    writesAfterStop += stop;
    return queued[i] = true;
  }
  bool Done(int i) override { return !queued[i]; }
  bool WaitForBufferOrStop() override {
    // Past fifty buffers, a sound that should have ended by itself has not.
    stop = stop || ++waits == stopAtWait || waits > 50;
    if (!stop) *std::find(std::begin(queued), std::end(queued), true) = false;
    return !stop;
  }
  void WaitForBuffer(uint32_t) override {
    if (++drains == backAfter) AllBack();
  }
  bool Reset() override {
    if (resetOk) AllBack();
    return resetOk;
  }
  bool Unprepare(int) override { return unprepareOk; }
  bool Close() override { return closeOk; }
  void Keep() override { kept = true; }
};

}  // namespace

// What the player's thread does with the stop, a file cut under it and a
// device that will not give its buffers back.
TEST(WavStream, TheWorkerStopsWhenAskedEndsWithItsFileAndNeverFreesWhatTheDeviceHolds) {
  enum Read { kPlain, kStopInHeader, kStopInBuffer, kCutToASliver };
  struct Case {
    const char* what;
    Read read;
    int stopAtWait, backAfter;
    bool resetOk, unprepareOk, closeOk, opened, endsByItself, kept;
  };
  const Case cases[] = {
      {"plays until stopped", kPlain, 3, 0, true, true, true, true, false, false},
      {"stop asked while the header is read: no device", kStopInHeader, 0, 0, true, true, true, false, false, false},
      {"stop asked while a buffer is filled: not played", kStopInBuffer, 0, 0, true, true, true, true, false, false},
      {"cut to a sliver while it plays: silence, no buzz", kCutToASliver, 0, 0, true, true, true, true, true, false},
      {"reset fails, the buffers come back while waited for", kPlain, 3, 3, false, true, true, true, false, false},
      {"reset fails, the buffers never come back: kept", kPlain, 3, -1, false, true, true, true, false, true},
      {"a buffer cannot be unprepared: kept", kPlain, 3, 0, true, false, true, true, false, true},
      {"the device cannot be closed: kept", kPlain, 3, 0, true, true, false, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFile f{Riff(Fmt() + Chunk("data", Sound(WavLoop::kKeepWhole + 4096)))};  // read as it plays
    FakeOut o;
    o.stopAtWait = c.stopAtWait, o.backAfter = c.backAfter;
    o.resetOk = c.resetOk, o.unprepareOk = c.unprepareOk, o.closeOk = c.closeOk;
    int playReads = 0, readsAfterStop = 0;  // a read may hang for seconds
    f.onRead = [&] {
      readsAfterStop += o.opened && o.stop;
      playReads += o.opened;
      if (c.read == kStopInHeader || (c.read == kStopInBuffer && o.opened)) o.stop = true;
      if (c.read == kCutToASliver && playReads == 2) f.bytes.resize(48);
    };
    StreamWav(f.Reader(), f.bytes.size(), o);
    EXPECT_EQ(o.opened, c.opened);
    EXPECT_EQ(o.writesAfterStop, 0);
    EXPECT_EQ(readsAfterStop, 0);
    EXPECT_EQ(!o.stop, c.endsByItself);
    EXPECT_EQ(o.kept, c.kept);
  }
}
