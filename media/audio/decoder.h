// Decoders turn the compressed bytes of a stream into stereo float frames at the stream's
// own rate. They read the caller's memory in place and are used by one thread at a time
// (the decode-ahead side of the engine).
// Depends on: libmpg123, libvorbisfile (in the .cpp files).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "media/audio/bass.h"

namespace media::audio {

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Frames per second of the decoded sound.
  virtual int sampleRate() const = 0;
  // Decodes up to `maxFrames` (> 0) frames into `out` (interleaved L R; mono is doubled).
  // Returns the frames written; 0 means the end of the data (or data that cannot be decoded
  // any further, which ends the stream the same way).
  virtual std::size_t Read(float* out, std::size_t maxFrames) = 0;
  // Goes back to the first frame. False when the data cannot be read again.
  virtual bool Rewind() = 0;
};

// Opens `size` bytes at `data` (not copied; must outlive the decoder) as MP3 or Ogg Vorbis,
// recognised from the content. Returns null with `error` set (kBassErrorFileFormat for data
// that is empty, not a known format or that yields no sound; kBassErrorMemory) on failure.
std::unique_ptr<Decoder> OpenDecoder(const void* data, std::int64_t size, BassError& error);

// The format-specific openers OpenDecoder picks from. Each returns null when the data is not
// of its format or yields no frame.
std::unique_ptr<Decoder> OpenMp3Decoder(const std::uint8_t* data, std::int64_t size);
std::unique_ptr<Decoder> OpenVorbisDecoder(const std::uint8_t* data, std::int64_t size);

// Reading position over the caller's bytes, shared by both formats' read callbacks.
struct MemoryReader {
  const std::uint8_t* data = nullptr;
  std::int64_t size = 0;
  std::int64_t position = 0;

  std::size_t Read(void* out, std::size_t bytes);
  // `whence` as for lseek (0 set, 1 current, 2 end). Returns the new position, or -1 when
  // the target lies outside the data.
  std::int64_t Seek(std::int64_t offset, int whence);
};

}  // namespace media::audio
