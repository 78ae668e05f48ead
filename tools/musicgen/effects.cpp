#include "musicgen/effects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace musicgen {

namespace {

// Coefficient of a one-pole low-pass: y += c * (x - y).
float onePole(double cutoffHz, double sampleRate) {
  return static_cast<float>(1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / sampleRate));
}

std::size_t framesOf(double milliseconds, double sampleRate) {
  return std::max<std::size_t>(
      1, static_cast<std::size_t>(std::lround(milliseconds * sampleRate / 1000.0)));
}

}  // namespace

PingPongDelay::PingPongDelay(const DelayPatch& patch, double framesPerBeat, double sampleRate)
    : feedback_(std::clamp(patch.feedback, 0.0f, 0.95f)),
      dampCoefficient_(onePole(patch.dampingHz, sampleRate)) {
  const auto length =
      std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(patch.beats * framesPerBeat)));
  lineLeft_.assign(length, 0.0f);
  lineRight_.assign(length, 0.0f);
}

void PingPongDelay::process(float* left, float* right, std::size_t frames) {
  for (std::size_t i = 0; i < frames; ++i) {
    const float echoLeft = lineLeft_[cursor_];
    const float echoRight = lineRight_[cursor_];
    dampLeft_ += dampCoefficient_ * (echoLeft - dampLeft_);
    dampRight_ += dampCoefficient_ * (echoRight - dampRight_);
    const float input = 0.5f * (left[i] + right[i]);
    // The left line feeds the right one and the right one feeds back into the left.
    lineLeft_[cursor_] = input + feedback_ * dampRight_;
    lineRight_[cursor_] = dampLeft_;
    if (++cursor_ == lineLeft_.size()) cursor_ = 0;
    left[i] = echoLeft;
    right[i] = echoRight;
  }
}

float Reverb::Allpass::process(float input) {
  constexpr float kGain = 0.6f;
  const float delayed = line.read();
  const float v = input + kGain * delayed;
  line.write(v);
  return delayed - kGain * v;
}

Reverb::Reverb(const ReverbPatch& patch, double sampleRate)
    : dampCoefficient_(onePole(patch.dampingHz, sampleRate)) {
  predelayLeft_.assign(framesOf(patch.predelayMs, sampleRate), 0.0f);
  predelayRight_.assign(predelayLeft_.size(), 0.0f);
  // Mutually prime-ish lengths so the echoes never line up into a pitch.
  constexpr std::array<double, 4> kDiffuserMs = {4.77, 3.59, 5.31, 3.13};
  for (std::size_t i = 0; i < diffusers_.size(); ++i)
    diffusers_[i].line.buffer.assign(framesOf(kDiffuserMs[i], sampleRate), 0.0f);
  constexpr std::array<double, kLines> kLineMs = {31.3, 37.9, 41.2, 45.7, 52.3, 58.9, 66.1, 71.9};
  for (std::size_t i = 0; i < kLines; ++i) {
    const std::size_t length = framesOf(kLineMs[i], sampleRate);
    lines_[i].buffer.assign(length, 0.0f);
    // -60 dB after `seconds`, whatever the line's length.
    lineGain_[i] = static_cast<float>(std::pow(
        10.0, -3.0 * static_cast<double>(length) / (std::max(0.1f, patch.seconds) * sampleRate)));
  }
}

void Reverb::process(float* left, float* right, std::size_t frames) {
  for (std::size_t i = 0; i < frames; ++i) {
    const float inLeft = predelayLeft_[predelayCursor_];
    const float inRight = predelayRight_[predelayCursor_];
    predelayLeft_[predelayCursor_] = left[i];
    predelayRight_[predelayCursor_] = right[i];
    if (++predelayCursor_ == predelayLeft_.size()) predelayCursor_ = 0;
    // Different diffusers per side decorrelate the two inputs: a wide image.
    const float diffusedLeft = diffusers_[1].process(diffusers_[0].process(inLeft));
    const float diffusedRight = diffusers_[3].process(diffusers_[2].process(inRight));

    std::array<float, kLines> out{};
    float sum = 0.0f;
    for (std::size_t n = 0; n < kLines; ++n) {
      damp_[n] += dampCoefficient_ * (lines_[n].read() - damp_[n]);
      out[n] = damp_[n] * lineGain_[n];
      sum += out[n];
    }
    // Householder feedback matrix: lossless, and every line feeds every other one.
    const float reflection = sum * (2.0f / kLines);
    for (std::size_t n = 0; n < kLines; ++n) {
      const float input = n % 2 == 0 ? diffusedLeft : diffusedRight;
      lines_[n].write(out[n] - reflection + input);
    }
    left[i] = (out[0] - out[2] + out[4] - out[6]) * 0.5f;
    right[i] = (out[1] - out[3] + out[5] - out[7]) * 0.5f;
  }
}

}  // namespace musicgen
