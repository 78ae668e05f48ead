// MP3 through libmpg123 in gapless mode: the encoder's delay and padding (from the LAME/Info
// frame) are cut, so a looping stream wraps sample-exactly. ID3v2 tags are skipped by the
// library.
#include <mpg123.h>

#include <cstdio>
#include <mutex>

#include "media/audio/decoder.h"

namespace media::audio {
namespace {

ssize_t ReadCallback(void* handle, void* out, size_t bytes) {
  return static_cast<ssize_t>(static_cast<MemoryReader*>(handle)->Read(out, bytes));
}

off_t SeekCallback(void* handle, off_t offset, int whence) {
  return static_cast<off_t>(static_cast<MemoryReader*>(handle)->Seek(offset, whence));
}

class Mp3Decoder final : public Decoder {
 public:
  Mp3Decoder(const std::uint8_t* data, std::int64_t size) {
    reader_.data = data;
    reader_.size = size;
  }
  ~Mp3Decoder() override {
    if (handle_ != nullptr) {
      mpg123_close(handle_);
      mpg123_delete(handle_);
    }
  }

  bool Open() {
    // mpg123_init is required by older library versions and harmless on newer ones.
    static std::once_flag initOnce;
    std::call_once(initOnce, [] { mpg123_init(); });
    int err = MPG123_OK;
    handle_ = mpg123_new(nullptr, &err);
    if (handle_ == nullptr) return false;
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Float output at whatever rate and channel count the file has.
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
      mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    if (mpg123_replace_reader_handle(handle_, ReadCallback, SeekCallback, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_, &reader_) != MPG123_OK) {
      return false;
    }
    return QueryFormat();
  }

  int sampleRate() const override { return rate_; }

  std::size_t Read(float* out, std::size_t maxFrames) override {
    while (!finished_) {
      // Mono decodes into the front of `out` and is spread to both sides afterwards. The
      // bytes that arrive are in the layout asked for, even when this read also reports a
      // new format: a file may switch from stereo to mono (or back) between frames.
      const int channels = channels_;
      size_t got = 0;
      const int rc =
          mpg123_read(handle_, reinterpret_cast<unsigned char*>(out),
                      maxFrames * static_cast<std::size_t>(channels) * sizeof(float), &got);
      // The last chunk arrives together with MPG123_DONE; keep it.
      if (rc == MPG123_NEW_FORMAT) {
        if (!QueryFormat()) finished_ = true;
      } else if (rc != MPG123_OK) {
        finished_ = true;  // MPG123_DONE, or an error that ends the data here
      }
      const std::size_t frames = got / (static_cast<std::size_t>(channels) * sizeof(float));
      if (frames > 0) {
        if (channels == 1) SpreadMono(out, frames);
        return frames;
      }
    }
    return 0;
  }

  bool Rewind() override {
    if (mpg123_seek(handle_, 0, SEEK_SET) < 0) return false;
    finished_ = false;
    return true;
  }

 private:
  bool QueryFormat() {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK) return false;
    if (encoding != MPG123_ENC_FLOAT_32 || channels < 1 || channels > 2 || rate <= 0) {
      return false;
    }
    // A stream keeps the rate it started with; a later change of rate inside a file (not
    // made by any encoder we carry) would only change its pitch.
    if (rate_ == 0) rate_ = static_cast<int>(rate);
    channels_ = channels;
    return true;
  }

  static void SpreadMono(float* samples, std::size_t frames) {
    for (std::size_t i = frames; i-- > 0;) {
      samples[2 * i] = samples[i];
      samples[2 * i + 1] = samples[i];
    }
  }

  MemoryReader reader_;              // the caller's bytes, read in place
  mpg123_handle* handle_ = nullptr;  // owned
  int rate_ = 0;                     // Hz, fixed at open
  int channels_ = 0;                 // 1 or 2; may change at MPG123_NEW_FORMAT
  bool finished_ = false;            // the library reported the end (or a fatal error)
};

}  // namespace

std::unique_ptr<Decoder> OpenMp3Decoder(const std::uint8_t* data, std::int64_t size) {
  auto decoder = std::make_unique<Mp3Decoder>(data, size);
  if (!decoder->Open()) return nullptr;
  return decoder;
}

}  // namespace media::audio
