// A WAV file's bytes as they might come from a broken copy or a hostile
// download: the header is parsed and the sound looped from them.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "music/wav_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const dovra::ReadAt read = [&](uint64_t offset, uint8_t* buffer, uint32_t n) -> uint32_t {
    if (offset >= size) return 0;
    const uint32_t got = static_cast<uint32_t>(std::min<uint64_t>(n, size - offset));
    std::memcpy(buffer, data + offset, got);
    return got;
  };
  dovra::WavLayout layout;
  if (!dovra::ParseWav(read, size, layout)) return 0;
  if (layout.dataOffset + layout.dataBytes > size || layout.dataBytes % layout.blockAlign != 0) __builtin_trap();
  if (layout.format.size() < 18 || (layout.format[16] | layout.format[17] << 8) + 18u != layout.format.size()) __builtin_trap();
  for (uint64_t keep : {uint64_t{0}, dovra::WavLoop::kKeepWhole}) {
    dovra::WavLoop loop(read, layout, keep);
    uint8_t buffer[4099];
    for (int i = 0; i < 4; ++i) {
      const uint32_t n = loop.Fill(buffer, sizeof buffer);
      if (n > sizeof buffer || n % layout.blockAlign != 0) __builtin_trap();
    }
  }
  return 0;
}
