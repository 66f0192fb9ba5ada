#include "music/wav_stream.h"

#include <algorithm>
#include <cstring>

#include "toolkit/portable_only.h"

namespace dovra {

namespace {

// Bounds on what a header may ask of us: a format is a few dozen bytes, and a
// file is a handful of chunks. Anything beyond is not a sound to be played.
constexpr uint32_t kLargestFormat = 4096;
constexpr int kMostChunks = 1024;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

bool ReadExactly(const ReadAt& read, uint64_t offset, uint8_t* buffer, uint32_t n) {
  return read(offset, buffer, n) == n;
}

constexpr uint16_t kFormatPcm = 1;

// The "fmt " chunk's body as the wave device takes it: the 16 bytes every
// format has, then cbSize and the extra bytes it announces, if the chunk
// really holds them. Plain PCM has no extra bytes, whatever cbSize says: some
// writers leave garbage there, and the system's sound player plays such files.
bool TakeFormat(const std::vector<uint8_t>& fmt, WavLayout& layout) {
  const uint16_t tag = Le16(&fmt[0]), channels = Le16(&fmt[2]), align = Le16(&fmt[12]);
  const uint32_t rate = Le32(&fmt[4]), perSecond = Le32(&fmt[8]);
  if (channels == 0 || rate == 0 || perSecond == 0 || align == 0) return false;
  uint16_t extra = 0;
  if (fmt.size() >= 18 && tag != kFormatPcm) {
    extra = Le16(&fmt[16]);
    if (extra > fmt.size() - 18) return false;
  }
  layout.format.assign(fmt.begin(), fmt.begin() + 16);
  layout.format.push_back(static_cast<uint8_t>(extra));
  layout.format.push_back(static_cast<uint8_t>(extra >> 8));
  if (extra > 0) layout.format.insert(layout.format.end(), fmt.begin() + 18, fmt.begin() + 18 + extra);
  layout.blockAlign = align;
  layout.bytesPerSecond = perSecond;
  return true;
}

}  // namespace

bool ParseWav(const ReadAt& read, uint64_t fileSize, WavLayout& layout) {
  layout = WavLayout{};
  uint8_t head[12];
  if (fileSize < sizeof head || !ReadExactly(read, 0, head, sizeof head)) return false;
  if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return false;
  // The RIFF size is not believed: the chunks are walked as far as the file goes.
  bool haveFormat = false, haveData = false;
  uint64_t pos = sizeof head;
  for (int n = 0; n < kMostChunks && pos + 8 <= fileSize && !(haveFormat && haveData); ++n) {
    uint8_t chunk[8];
    if (!ReadExactly(read, pos, chunk, sizeof chunk)) break;
    const uint32_t size = Le32(chunk + 4);
    const uint64_t body = pos + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
      if (size < 16 || size > kLargestFormat || body + size > fileSize) return false;
      std::vector<uint8_t> fmt(size);
      if (!ReadExactly(read, body, fmt.data(), size) || !TakeFormat(fmt, layout)) return false;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0 && !haveData) {
      // A header written before the recording ended may promise far more.
      layout.dataOffset = body;
      layout.dataBytes = std::min<uint64_t>(size, fileSize - body);
      haveData = true;
    }
    pos = body + size + (size & 1);  // chunks are padded to even sizes
  }
  if (!haveFormat || !haveData) return false;
  layout.dataBytes -= layout.dataBytes % layout.blockAlign;
  return layout.dataBytes > 0;
}

WavLoop::WavLoop(ReadAt read, const WavLayout& layout, uint64_t keepWhole)
    : read_(std::move(read)),
      offset_(layout.dataOffset),
      bytes_(layout.dataBytes),
      block_(layout.blockAlign ? layout.blockAlign : 1) {
  if (bytes_ > 0 && bytes_ <= keepWhole) {
    // Read once: a short sound looped from the file would be many small reads.
    whole_.resize(static_cast<size_t>(bytes_));
    uint32_t got = 0;
    while (got < whole_.size()) {
      const uint32_t n = read_(offset_ + got, whole_.data() + got, static_cast<uint32_t>(whole_.size()) - got);
      if (n == 0) break;
      got += n;
    }
    whole_.resize(got - got % block_);
    bytes_ = whole_.size();
  }
  ended_ = bytes_ == 0;
}

uint32_t WavLoop::Fill(uint8_t* buffer, uint32_t capacity) {
  capacity -= capacity % block_;
  uint32_t filled = 0;
  while (!ended_ && filled < capacity) {
    const uint32_t want = static_cast<uint32_t>(std::min<uint64_t>(capacity - filled, bytes_ - at_));
    uint32_t got;
    if (!whole_.empty()) {
      std::memcpy(buffer + filled, whole_.data() + at_, want);
      got = want;
    } else {
      got = std::min(read_(offset_ + at_, buffer + filled, want), want);
      got -= got % block_;  // a piece of a block at a cut is not played
    }
    filled += got;
    at_ += got;
    if (got < want) ended_ = true;
    if (at_ >= bytes_) at_ = 0;
  }
  return filled;
}

namespace {

// Buffers of a quarter of a second: a second of sound queued, so a busy disk
// or machine is not heard, and little memory whatever the file's size.
uint32_t PieceBytes(const WavLayout& layout) {
  const uint32_t piece = std::clamp<uint32_t>(layout.bytesPerSecond / 4, 4096, 256 * 1024);
  return std::max<uint32_t>(piece - piece % layout.blockAlign, layout.blockAlign);
}

// After a reset that failed, buffers still playing are waited for this long.
constexpr uint32_t kDrainStepMs = 100;
constexpr int kDrainSteps = 20;

}  // namespace

void StreamWav(const ReadAt& read, uint64_t fileSize, WaveOut& out) {
  WavLayout layout;
  if (!ParseWav(read, fileSize, layout)) return;
  WavLoop loop(read, layout);
  if (out.StopAsked()) return;  // the reads above may have hung until the player gave up
  const uint32_t piece = PieceBytes(layout);
  if (!out.Open(layout, piece)) return;

  bool queued[WaveOut::kBuffers] = {};
  const auto feed = [&](int i) {
    // A read may hang for seconds: the stop is looked at on both sides of it.
    if (out.StopAsked()) return false;
    const uint32_t n = loop.Fill(out.Buffer(i), piece);
    return n > 0 && !out.StopAsked() && out.Write(i, n);
  };
  const auto any = [&](auto pred) {
    for (int i = 0; i < WaveOut::kBuffers; ++i)
      if (pred(i)) return true;
    return false;
  };
  for (int i = 0; i < WaveOut::kBuffers; ++i) queued[i] = feed(i);
  while (any([&](int i) { return queued[i]; }) && out.WaitForBufferOrStop()) {
    for (int i = 0; i < WaveOut::kBuffers; ++i)
      if (queued[i] && out.Done(i)) queued[i] = feed(i);
  }

  // A reset gives every buffer back at once. A device that could not be reset
  // may still be playing them: they are waited for a while, and if they do not
  // come back, or the device will not let them go, they are never freed.
  const auto playing = [&](int i) { return queued[i] && !out.Done(i); };
  bool back = out.Reset() && !any(playing);
  for (int step = 0; !back && step < kDrainSteps; ++step) {
    out.WaitForBuffer(kDrainStepMs);
    back = !any(playing);
  }
  bool released = back;
  for (int i = 0; i < WaveOut::kBuffers && released; ++i) released = out.Unprepare(i);
  released = out.Close() && released;
  if (!released) out.Keep();
}

}  // namespace dovra
