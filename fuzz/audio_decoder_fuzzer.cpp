// Track bytes as a stream is made from them: the decoder picked from the content (MP3 or
// Ogg Vorbis), a few blocks decoded, a rewind (the loop point) and a block more.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/audio/decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 18) return 0;
  media::BassError error = media::kBassOk;
  auto decoder = media::audio::OpenDecoder(data, static_cast<std::int64_t>(size), error);
  if (!decoder) return 0;
  if (decoder->sampleRate() <= 0) std::abort();
  static std::vector<float> block(2 * 1152 * 2);
  for (int i = 0; i < 6; ++i) {
    const std::size_t got = decoder->Read(block.data(), 1152 * 2);
    if (got > 1152 * 2) std::abort();  // more frames than asked for
    if (got == 0) break;
  }
  if (decoder->Rewind()) decoder->Read(block.data(), 1152);
  return 0;
}
