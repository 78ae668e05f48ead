// Ogg Vorbis through libvorbisfile, reading the caller's memory through callbacks. Vorbis
// streams carry their exact length in granule positions, so looping is sample-exact.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>

#include "media/audio/decoder.h"

namespace media::audio {
namespace {

size_t ReadCallback(void* out, size_t size, size_t count, void* source) {
  if (size == 0) return 0;
  return static_cast<MemoryReader*>(source)->Read(out, size * count) / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
  return static_cast<MemoryReader*>(source)->Seek(offset, whence) < 0 ? -1 : 0;
}

long TellCallback(void* source) {
  return static_cast<long>(static_cast<MemoryReader*>(source)->position);
}

class VorbisDecoder final : public Decoder {
 public:
  VorbisDecoder(const std::uint8_t* data, std::int64_t size) {
    reader_.data = data;
    reader_.size = size;
  }
  ~VorbisDecoder() override {
    if (opened_) ov_clear(&file_);
  }

  bool Open() {
    const ov_callbacks callbacks{ReadCallback, SeekCallback, nullptr, TellCallback};
    if (ov_open_callbacks(&reader_, &file_, nullptr, 0, callbacks) != 0) return false;
    opened_ = true;
    const vorbis_info* info = ov_info(&file_, -1);
    // Streams of more than two channels would need a down-mix that no carried file needs.
    if (info == nullptr || info->channels < 1 || info->channels > 2 || info->rate <= 0) {
      return false;
    }
    rate_ = static_cast<int>(info->rate);
    return true;
  }

  int sampleRate() const override { return rate_; }

  std::size_t Read(float* out, std::size_t maxFrames) override {
    const int limit = static_cast<int>(std::min<std::size_t>(maxFrames, 1 << 20));
    for (int holes = 0; holes < 16; ++holes) {
      float** planes = nullptr;
      int link = 0;
      const long frames = ov_read_float(&file_, &planes, limit, &link);
      if (frames == OV_HOLE) continue;  // a gap in the data: go on after it
      if (frames <= 0) return 0;        // end of data, or damage that ends it
      const vorbis_info* info = ov_info(&file_, link);
      const bool stereo = info != nullptr && info->channels >= 2;
      for (long i = 0; i < frames; ++i) {
        out[2 * i] = planes[0][i];
        out[2 * i + 1] = stereo ? planes[1][i] : planes[0][i];
      }
      return static_cast<std::size_t>(frames);
    }
    return 0;
  }

  bool Rewind() override { return ov_pcm_seek(&file_, 0) == 0; }

 private:
  MemoryReader reader_;    // the caller's bytes, read in place
  OggVorbis_File file_{};  // refers to reader_: this object never moves (held by pointer)
  bool opened_ = false;    // file_ needs ov_clear
  int rate_ = 0;           // Hz of the first link
};

}  // namespace

std::unique_ptr<Decoder> OpenVorbisDecoder(const std::uint8_t* data, std::int64_t size) {
  auto decoder = std::make_unique<VorbisDecoder>(data, size);
  if (!decoder->Open()) return nullptr;
  return decoder;
}

}  // namespace media::audio
