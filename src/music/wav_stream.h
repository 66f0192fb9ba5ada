// A WAV file read as a stream, a piece at a time, for music that is too long
// for the system sound player's own file opening. Nothing in a file is
// trusted: every size in its header is checked against the file itself, so an
// interrupted copy whose header promises hundreds of megabytes plays what is
// really there, and a file cut or unreadable while it plays ends in silence.
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

}  // namespace dovra
