// A WAV file read as a stream, a piece at a time, for music the system sound
// player should not load whole (a large file) or cannot open (a long path).
// Nothing in a file is trusted: every size in its header is checked against
// the file itself, so an interrupted copy whose header promises hundreds of
// megabytes plays what is really there, and a file cut or unreadable while it
// plays ends in silence.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace dovra {

// Reads up to n bytes at offset into buffer; the number of bytes read, 0 at the
// end of the file or on any failure.
using ReadAt = std::function<uint32_t(uint64_t offset, uint8_t* buffer, uint32_t n)>;

// Where a WAV file's sound is and how it is encoded.
struct WavLayout {
  // The format as the wave device takes it (WAVEFORMATEX and its extra bytes,
  // cbSize filled in), little-endian as in the file.
  std::vector<uint8_t> format;
  uint16_t blockAlign = 0;
  uint32_t bytesPerSecond = 0;
  uint64_t dataOffset = 0;
  // Whole blocks only, and never past the end of the file.
  uint64_t dataBytes = 0;
};

// Finds the format and the sound of a RIFF WAVE file of fileSize bytes. False
// for anything that is not one, has no usable format or holds no sound.
bool ParseWav(const ReadAt& read, uint64_t fileSize, WavLayout& layout);

// The sound of a WAV file over and over, as buffers for the wave device. A
// short sound is read once and kept; a long one is read a piece at a time.
class WavLoop {
 public:
  // Sounds up to this size are kept in memory; the rest is read as it plays.
  static constexpr uint64_t kKeepWhole = 1u << 20;

  WavLoop(ReadAt read, const WavLayout& layout, uint64_t keepWhole = kKeepWhole);
  // Fills up to capacity bytes (rounded down to whole blocks), going back to
  // the start of the sound at its end. A read that comes back short (the file
  // was cut, a disk was pulled out) ends the sound for good: what was read is
  // played, then 0 from then on. Looping what is left of a cut file would
  // repeat a sliver of it as a buzz.
  uint32_t Fill(uint8_t* buffer, uint32_t capacity);
  bool Ended() const { return ended_; }

 private:
  ReadAt read_;
  uint64_t offset_, bytes_;
  uint16_t block_;
  uint64_t at_ = 0;  // within the sound
  bool ended_ = false;
  std::vector<uint8_t> whole_;
};

// The wave device as the streaming worker drives it, with the player's request
// to stop, which another thread may make at any moment.
class WaveOut {
 public:
  static constexpr int kBuffers = 4;
  virtual ~WaveOut() = default;
  virtual bool StopAsked() = 0;
  // Opens the device for the format with kBuffers buffers of `bytes` each.
  virtual bool Open(const WavLayout& layout, uint32_t bytes) = 0;
  virtual uint8_t* Buffer(int i) = 0;
  // Queues the first n bytes of buffer i.
  virtual bool Write(int i, uint32_t n) = 0;
  // Whether a queued buffer i has come back from the device.
  virtual bool Done(int i) = 0;
  // Waits until a buffer comes back (true) or the stop is asked (false).
  virtual bool WaitForBufferOrStop() = 0;
  // Waits at most ms for a buffer to come back.
  virtual void WaitForBuffer(uint32_t ms) = 0;
  virtual bool Reset() = 0;
  virtual bool Unprepare(int i) = 0;
  virtual bool Close() = 0;
  // Leaves the buffers to the driver for good: it may still write into them.
  virtual void Keep() = 0;
};

// The streaming player's thread: parses the file, plays its sound in a loop
// until the stop is asked or the sound ends (a file cut or unreadable), and
// gives the device its buffers back. The stop is looked at before the device
// is opened and before each buffer is filled and queued, so a worker that
// hung in a read after the player gave up on it never makes a sound.
void StreamWav(const ReadAt& read, uint64_t fileSize, WaveOut& out);

}  // namespace dovra
