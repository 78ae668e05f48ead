// The spectrum the logo letters follow: a Hann-windowed 512-sample FFT turned into 256
// magnitudes.
//
// Scale: magnitude[k] = 2 * |X[k]| / sum(window), where X is the FFT of the windowed
// samples. A sine of amplitude A whose frequency is the centre of bin k (k = 1..255, bin
// width 44100 / 512 = 86.13 Hz at our rate) gives exactly A in bin k; a constant offset c
// gives 2c in bin 0; silence gives 0. Full-scale music thus stays mostly below 1.0, the bass
// of our tracks typically 0.1 to 0.6 in bins 0 to 3.
// The 512 real samples go through one 256-point complex FFT (even samples as real parts, odd
// ones as imaginary parts), which is then split into the spectrum of the real signal.
// Depends on: fft.h.
#pragma once

#include <array>
#include <cstddef>

#include "media/audio/fft.h"

namespace media::audio {

class SpectrumAnalyzer {
 public:
  static constexpr std::size_t kSamples = 512;
  static constexpr std::size_t kBins = 256;

  SpectrumAnalyzer();
  SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
  SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

  // `samples`: the 512 mono samples, oldest first. Writes 256 magnitudes. Allocates nothing.
  void Compute(const float* samples, float* magnitudes);

 private:
  static constexpr std::size_t kHalf = kSamples / 2;

  ComplexFft fft_{kHalf};
  std::array<float, kHalf> windowEven_{};  // periodic Hann at the even samples
  std::array<float, kHalf> windowOdd_{};   // and at the odd ones
  std::array<float, kHalf> turnRe_{};      // exp(-2 pi i k / kSamples), k < kHalf
  std::array<float, kHalf> turnIm_{};
  std::array<float, kHalf> re_{};  // scratch: the transform in place
  std::array<float, kHalf> im_{};
  std::array<float, kHalf> mirrorRe_{};  // scratch: re_, im_ at kHalf - k
  std::array<float, kHalf> mirrorIm_{};
  float halfScale_ = 0.0f;  // 2 / sum(window), times the 1/2 of the split
};

}  // namespace media::audio
