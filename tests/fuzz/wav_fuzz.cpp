// A WAV file's bytes as they might come from a broken copy or a hostile
// download: the header is parsed and the sound looped from them, and the file
// is cut while it plays, at a length the input's last bytes choose.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "music/wav_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t length = size;  // the file's length as its reads find it
  const dovra::ReadAt read = [&](uint64_t offset, uint8_t* buffer, uint32_t n) -> uint32_t {
    if (offset >= length) return 0;
    const uint32_t got = static_cast<uint32_t>(std::min<uint64_t>(n, length - offset));
    std::memcpy(buffer, data + offset, got);
    return got;
  };
  dovra::WavLayout layout;
  if (!dovra::ParseWav(read, size, layout)) return 0;
  if (layout.dataOffset + layout.dataBytes > size || layout.dataBytes % layout.blockAlign != 0) __builtin_trap();
  if (layout.format.size() < 18 || (layout.format[16] | layout.format[17] << 8) + 18u != layout.format.size()) __builtin_trap();
  const size_t cut = (data[size - 1] | data[size - 2] << 8) % (size + 1);
  // The player's buffers are at least a block.
  std::vector<uint8_t> buffer(std::max<size_t>(4099, layout.blockAlign));
  for (uint64_t keep : {uint64_t{0}, dovra::WavLoop::kKeepWhole}) {
    length = size;
    dovra::WavLoop loop(read, layout, keep);
    length = cut;
    // A sound read as it plays and cut short of its end plays up to the cut,
    // then ends for good; one held in memory plays on.
    const bool cutShort = layout.dataBytes > keep && cut < layout.dataOffset + layout.dataBytes;
    uint64_t played = 0;
    const uint64_t fills = cutShort ? layout.dataBytes / layout.blockAlign + 2 : 4;
    for (uint64_t i = 0; i < fills && !loop.Ended(); ++i) {
      const uint32_t n = loop.Fill(buffer.data(), static_cast<uint32_t>(buffer.size()));
      if (n > buffer.size() || n % layout.blockAlign != 0) __builtin_trap();
      played += n;
    }
    if (cutShort && (!loop.Ended() || played > layout.dataBytes)) __builtin_trap();
    if (loop.Ended() && loop.Fill(buffer.data(), static_cast<uint32_t>(buffer.size())) != 0) __builtin_trap();
  }
  return 0;
}
