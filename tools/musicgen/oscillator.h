// Band-limited periodic oscillators. Saw and pulse waves get a polynomial correction around
// each discontinuity (polyBLEP), which removes most of the aliasing a naive waveform folds
// back below Nyquist; sine and triangle need none worth the cost.
// Depends on: nothing.
#pragma once

namespace musicgen {

enum class Wave { Sine, Triangle, Saw, Pulse };

// Correction for a unit step at phase 0, for a phase t in [0, 1) advancing dt per sample.
// Non-zero only within one sample either side of the step.
double polyBlep(double t, double dt);

class Oscillator {
 public:
  // phase in cycles [0, 1); pulseWidth is the fraction of the cycle a pulse spends high.
  Oscillator(Wave wave, double frequencyHz, double sampleRate, double phase = 0.0,
             double pulseWidth = 0.5);

  void setFrequency(double frequencyHz);
  double frequency() const { return increment_ * sampleRate_; }

  // One sample in -1..1 (plus the small overshoot of the band-limited edges).
  float next();

 private:
  Wave wave_;
  double sampleRate_;
  double phase_;       // cycles, [0, 1)
  double increment_;   // cycles per sample
  double pulseWidth_;  // 0.05..0.95; narrower pulses alias more than the correction can hide
};

}  // namespace musicgen
