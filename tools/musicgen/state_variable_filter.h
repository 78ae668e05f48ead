// Resonant two-pole state-variable filter in trapezoidal (zero-delay feedback) form: it
// stays stable and in tune while its cutoff is swept every few samples, which the filter
// envelopes and wobble LFOs do constantly.
// Depends on: nothing.
#pragma once

namespace musicgen {

enum class FilterMode { LowPass, BandPass, HighPass };

class StateVariableFilter {
 public:
  explicit StateVariableFilter(double sampleRate, FilterMode mode = FilterMode::LowPass);

  // resonance 0..1: 0 is a gentle Butterworth-like knee, 1 rings just short of oscillation.
  void setCutoff(double cutoffHz, double resonance);
  void setMode(FilterMode mode) { mode_ = mode; }
  void reset();

  float process(float input);

 private:
  double sampleRate_;
  FilterMode mode_;
  double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;  // per-cutoff coefficients
  double damping_ = 2.0;                   // k = 1/Q
  double ic1_ = 0.0, ic2_ = 0.0;           // integrator states
};

}  // namespace musicgen
