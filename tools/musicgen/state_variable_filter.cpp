#include "musicgen/state_variable_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace musicgen {

StateVariableFilter::StateVariableFilter(double sampleRate, FilterMode mode)
    : sampleRate_(sampleRate), mode_(mode) {
  setCutoff(1000.0, 0.0);
}

void StateVariableFilter::setCutoff(double cutoffHz, double resonance) {
  // tan() blows up at Nyquist; 0.45 of the rate is as bright as the music ever needs.
  const double fc = std::clamp(cutoffHz, 10.0, 0.45 * sampleRate_);
  const double g = std::tan(std::numbers::pi * fc / sampleRate_);
  // k = 1.414 at resonance 0 (maximally flat), down to 0.05 at 1 (a sharp, ringing peak).
  damping_ = 1.414 - 1.364 * std::clamp(resonance, 0.0, 1.0);
  a1_ = 1.0 / (1.0 + g * (g + damping_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

void StateVariableFilter::reset() {
  ic1_ = ic2_ = 0.0;
}

float StateVariableFilter::process(float input) {
  const double v0 = input;
  const double v3 = v0 - ic2_;
  const double v1 = a1_ * ic1_ + a2_ * v3;         // band
  const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;  // low
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  switch (mode_) {
    case FilterMode::LowPass:
      return static_cast<float>(v2);
    case FilterMode::BandPass:
      return static_cast<float>(v1);
    case FilterMode::HighPass:
      return static_cast<float>(v0 - damping_ * v1 - v2);
  }
  return 0.0f;
}

}  // namespace musicgen
