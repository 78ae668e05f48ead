#include "media/audio/decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace media::audio {
namespace {

bool StartsWith(const std::uint8_t* data, std::int64_t size, const char* magic) {
  const auto length = static_cast<std::int64_t>(std::strlen(magic));
  return size >= length && std::memcmp(data, magic, static_cast<std::size_t>(length)) == 0;
}

}  // namespace

std::size_t MemoryReader::Read(void* out, std::size_t bytes) {
  const auto left = static_cast<std::size_t>(std::max<std::int64_t>(size - position, 0));
  const std::size_t count = std::min(bytes, left);
  if (count > 0) std::memcpy(out, data + position, count);
  position += static_cast<std::int64_t>(count);
  return count;
}

std::int64_t MemoryReader::Seek(std::int64_t offset, int whence) {
  std::int64_t base = 0;
  if (whence == 1) base = position;
  if (whence == 2) base = size;
  if (whence < 0 || whence > 2) return -1;
  // Compared without forming base + offset, which could overflow for hostile offsets.
  if (offset < -base || offset > size - base) return -1;
  position = base + offset;
  return position;
}

std::unique_ptr<Decoder> OpenDecoder(const void* data, std::int64_t size, BassError& error) {
  if (data == nullptr && size != 0) {
    error = kBassErrorIllegalParam;
    return nullptr;
  }
  if (size <= 0) {
    error = kBassErrorFileFormat;
    return nullptr;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  // The content decides, never a name: an Ogg capture pattern means Vorbis or nothing (an
  // Ogg stream of another codec must not be scanned for stray MP3 frame headers); anything
  // else, ID3-tagged or not, is tried as MP3.
  std::unique_ptr<Decoder> decoder = StartsWith(bytes, size, "OggS")
                                         ? OpenVorbisDecoder(bytes, size)
                                         : OpenMp3Decoder(bytes, size);
  if (!decoder) {
    error = kBassErrorFileFormat;
    return nullptr;
  }
  // Data that opens but yields no sound (headers only, cut off right after them) is refused
  // here rather than becoming a stream that ends before it starts.
  std::array<float, 2 * 16> probe{};
  if (decoder->Read(probe.data(), 16) == 0 || !decoder->Rewind()) {
    error = kBassErrorFileFormat;
    return nullptr;
  }
  error = kBassOk;
  return decoder;
}

}  // namespace media::audio
