// Stereo sample buffers, panning and the one sample rate every part of the generator
// works at.
// Depends on: nothing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace musicgen {

// Everything is rendered, mixed and written at CD rate: the disk's player expects it.
inline constexpr double kSampleRate = 44100.0;

struct StereoBuffer {
  std::vector<float> left;   // -1..1 nominal; the master stage brings the peak below full scale
  std::vector<float> right;  // always the same length as left

  StereoBuffer() = default;
  explicit StereoBuffer(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

  std::size_t frames() const { return left.size(); }
  void resize(std::size_t frames) {
    left.resize(frames, 0.0f);
    right.resize(frames, 0.0f);
  }
};

// Constant-power pan gains for pan -1 (left) .. 1 (right), scaled so the centre is unity
// on both sides.
inline void panGains(float pan, float& left, float& right) {
  const double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * std::numbers::pi / 4.0;
  left = static_cast<float>(std::cos(angle) * std::numbers::sqrt2);
  right = static_cast<float>(std::sin(angle) * std::numbers::sqrt2);
}

}  // namespace musicgen
