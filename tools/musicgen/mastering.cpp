#include "musicgen/mastering.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "musicgen/state_variable_filter.h"

namespace musicgen {

void removeRumble(StereoBuffer& buffer, double sampleRate) {
  for (std::vector<float>* channel : {&buffer.left, &buffer.right}) {
    StateVariableFilter highPass(sampleRate, FilterMode::HighPass);
    highPass.setCutoff(25.0, 0.0);
    for (float& s : *channel) s = highPass.process(s);
  }
}

void foldTail(StereoBuffer& buffer, std::size_t loopFrames) {
  if (loopFrames == 0 || buffer.frames() <= loopFrames) return;
  for (std::vector<float>* channel : {&buffer.left, &buffer.right}) {
    for (std::size_t i = loopFrames; i < channel->size(); ++i)
      (*channel)[i % loopFrames] += (*channel)[i];
  }
  buffer.resize(loopFrames);
}

void fadeOut(StereoBuffer& buffer, std::size_t frames) {
  frames = std::min(frames, buffer.frames());
  const std::size_t start = buffer.frames() - frames;
  for (std::size_t i = 0; i < frames; ++i) {
    const double x = static_cast<double>(i + 1) / static_cast<double>(frames);
    const auto gain = static_cast<float>(0.5 + 0.5 * std::cos(std::numbers::pi * x));
    buffer.left[start + i] *= gain;
    buffer.right[start + i] *= gain;
  }
}

float peakLevel(const StereoBuffer& buffer) {
  float peak = 0.0f;
  for (float s : buffer.left) peak = std::max(peak, std::abs(s));
  for (float s : buffer.right) peak = std::max(peak, std::abs(s));
  return peak;
}

void finishMaster(StereoBuffer& buffer, float drive, float peakDb) {
  const float peak = peakLevel(buffer);
  if (peak <= 0.0f) return;
  // tanh is monotonic, so the loudest sample stays the loudest and lands exactly on target.
  const double d = std::max(0.01f, drive);
  const double in = 1.0 / peak;
  const double out = std::pow(10.0, peakDb / 20.0) / std::tanh(d);
  for (std::vector<float>* channel : {&buffer.left, &buffer.right})
    for (float& s : *channel) s = static_cast<float>(std::tanh(d * s * in) * out);
}

}  // namespace musicgen
