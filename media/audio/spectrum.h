// The spectrum the logo letters follow: a Hann-windowed 512-sample FFT turned into 256
// magnitudes.
//
// Scale: magnitude[k] = 2 * |X[k]| / sum(window), where X is the FFT of the windowed
// samples. A sine of amplitude A whose frequency is the centre of bin k (k = 1..255, bin
// width 44100 / 512 = 86.13 Hz at our rate) gives exactly A in bin k; a constant offset c
// gives 2c in bin 0; silence gives 0. Full-scale music thus stays mostly below 1.0, the bass
// of our tracks typically 0.1 to 0.6 in bins 0 to 3.
// Depends on: kissfft (real FFT, float).
#pragma once

#include <kiss_fftr.h>

#include <array>
#include <cstddef>

namespace media::audio {

class SpectrumAnalyzer {
 public:
  static constexpr std::size_t kSamples = 512;
  static constexpr std::size_t kBins = 256;

  SpectrumAnalyzer();
  ~SpectrumAnalyzer();
  SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
  SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

  // `samples`: the 512 mono samples, oldest first. Writes 256 magnitudes. Allocates nothing.
  void Compute(const float* samples, float* magnitudes);

 private:
  kiss_fftr_cfg config_;                               // kissfft plan, made once
  std::array<float, kSamples> window_{};               // periodic Hann
  std::array<float, kSamples> windowed_{};             // scratch input
  std::array<kiss_fft_cpx, kSamples / 2 + 1> bins_{};  // scratch output
  float scale_ = 0.0f;                                 // 2 / sum(window)
};

}  // namespace media::audio
