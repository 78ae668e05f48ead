// A sounding note. The renderer keeps a list of voices per instrument and asks each for
// the next block of samples until it reports that it has finished.
// Depends on: nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace musicgen {

// A value that moves in a straight line between two frames and holds outside them:
// how arrangement automation (a filter opening over a section) reaches a voice.
struct Ramp {
  std::int64_t startFrame = 0;
  std::int64_t endFrame = 0;
  float from = 0.0f;
  float to = 0.0f;

  float at(std::int64_t frame) const {
    if (frame <= startFrame || endFrame <= startFrame) return frame <= startFrame ? from : to;
    if (frame >= endFrame) return to;
    const double f =
        static_cast<double>(frame - startFrame) / static_cast<double>(endFrame - startFrame);
    return static_cast<float>(from + (to - from) * f);
  }
};

class Voice {
 public:
  virtual ~Voice() = default;
  // Adds the next `frames` samples into left/right.
  virtual void render(float* left, float* right, std::size_t frames) = 0;
  virtual bool finished() const = 0;
};

// Plays a pre-rendered mono one-shot (a drum hit) into both channels.
class SampleVoice final : public Voice {
 public:
  explicit SampleVoice(std::vector<float> samples) : samples_(std::move(samples)) {}

  void render(float* left, float* right, std::size_t frames) override {
    for (std::size_t i = 0; i < frames && position_ < samples_.size(); ++i, ++position_) {
      left[i] += samples_[position_];
      right[i] += samples_[position_];
    }
  }
  bool finished() const override { return position_ >= samples_.size(); }

 private:
  std::vector<float> samples_;
  std::size_t position_ = 0;
};

}  // namespace musicgen
