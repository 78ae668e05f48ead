#include "media/audio/manual_output.h"

#include <algorithm>

namespace media::audio {
namespace {

// Pulls are split so that even at the fastest playback rate one render never needs more
// source frames than a freshly topped-up decode-ahead buffer holds.
constexpr int kMaxFramesPerRender = 1024;

}  // namespace

BassError ManualOutput::Open(int rate, AudioSource& source, std::string& /*detail*/) {
  rate_ = rate;
  source_ = &source;
  return kBassOk;
}

void ManualOutput::Pull(float* out, int frames) {
  if (source_ == nullptr || paused_) {
    std::fill(out, out + 2 * static_cast<std::size_t>(frames), 0.0f);
    return;
  }
  while (frames > 0) {
    const int block = std::min(frames, kMaxFramesPerRender);
    source_->DecodeAhead();
    source_->Render(out, block);
    out += 2 * block;
    frames -= block;
  }
}

std::vector<float> ManualOutput::Pull(int frames) {
  std::vector<float> out(2 * static_cast<std::size_t>(frames));
  Pull(out.data(), frames);
  return out;
}

}  // namespace media::audio
