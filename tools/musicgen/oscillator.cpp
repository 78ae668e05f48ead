#include "musicgen/oscillator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace musicgen {

double polyBlep(double t, double dt) {
  if (t < dt) {  // just after the step
    const double x = t / dt;
    return x + x - x * x - 1.0;
  }
  if (t > 1.0 - dt) {  // just before the step
    const double x = (t - 1.0) / dt;
    return x * x + x + x + 1.0;
  }
  return 0.0;
}

Oscillator::Oscillator(Wave wave, double frequencyHz, double sampleRate, double phase,
                       double pulseWidth)
    : wave_(wave),
      sampleRate_(sampleRate),
      phase_(phase - std::floor(phase)),
      increment_(0.0),
      pulseWidth_(std::clamp(pulseWidth, 0.05, 0.95)) {
  setFrequency(frequencyHz);
}

void Oscillator::setFrequency(double frequencyHz) {
  // Above half the rate a wave only aliases; 0.45 keeps the correction's one-sample
  // windows from overlapping.
  increment_ = std::clamp(frequencyHz / sampleRate_, 0.0, 0.45);
}

float Oscillator::next() {
  const double t = phase_;
  const double dt = increment_;
  double value = 0.0;
  switch (wave_) {
    case Wave::Sine:
      value = std::sin(2.0 * std::numbers::pi * t);
      break;
    case Wave::Triangle:
      // Harmonics fall at 12 dB per octave: what folds back stays far below the music.
      value = t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t;
      break;
    case Wave::Saw:
      value = 2.0 * t - 1.0 - polyBlep(t, dt);
      break;
    case Wave::Pulse: {
      // A rising edge at 0 and a falling edge at pulseWidth, each corrected.
      double fall = t + 1.0 - pulseWidth_;
      fall -= std::floor(fall);
      value = (t < pulseWidth_ ? 1.0 : -1.0) + polyBlep(t, dt) - polyBlep(fall, dt);
      // Remove the DC of an asymmetric pulse so layering never shifts the signal.
      value -= 2.0 * pulseWidth_ - 1.0;
      break;
    }
  }
  phase_ += dt;
  if (phase_ >= 1.0) phase_ -= 1.0;
  return static_cast<float>(value);
}

}  // namespace musicgen
