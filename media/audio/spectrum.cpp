#include "media/audio/spectrum.h"

#include <cmath>
#include <numbers>

namespace media::audio {

SpectrumAnalyzer::SpectrumAnalyzer() {
  double sum = 0.0;
  for (std::size_t n = 0; n < kSamples; ++n) {
    // Periodic Hann: its sum is exactly kSamples / 2, and a bin-centre sine leaks into the
    // two neighbouring bins only.
    const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(n) /
                                          static_cast<double>(kSamples));
    (n % 2 == 0 ? windowEven_ : windowOdd_)[n / 2] = static_cast<float>(w);
    sum += w;
  }
  halfScale_ = static_cast<float>(1.0 / sum);
  for (std::size_t k = 0; k < kHalf; ++k) {
    const double angle =
        -2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(kSamples);
    turnRe_[k] = static_cast<float>(std::cos(angle));
    turnIm_[k] = static_cast<float>(std::sin(angle));
  }
}

void SpectrumAnalyzer::Compute(const float* samples, float* magnitudes) {
  for (std::size_t n = 0; n < kHalf; ++n) {
    re_[n] = samples[2 * n] * windowEven_[n];
    im_[n] = samples[2 * n + 1] * windowOdd_[n];
  }
  fft_.Forward(re_.data(), im_.data());
  // With Z the transform of z[n] = x[2n] + i x[2n+1], the real signal's bin k is
  //   X[k] = (Z[k] + conj Z[M-k]) / 2 - i W^k (Z[k] - conj Z[M-k]) / 2,
  // M = kHalf, W = exp(-2 pi i / kSamples), Z[M] = Z[0]. Z[M-k] is gathered first, so that
  // the bins below come out of one straight vector loop.
  mirrorRe_[0] = re_[0];
  mirrorIm_[0] = im_[0];
  for (std::size_t k = 1; k < kHalf; ++k) {
    mirrorRe_[k] = re_[kHalf - k];
    mirrorIm_[k] = im_[kHalf - k];
  }
  for (std::size_t k = 0; k < kHalf; ++k) {
    const float sumRe = re_[k] + mirrorRe_[k];
    const float sumIm = im_[k] - mirrorIm_[k];
    const float diffRe = re_[k] - mirrorRe_[k];
    const float diffIm = im_[k] + mirrorIm_[k];
    // -i W^k (diffRe + i diffIm) = W^k (diffIm - i diffRe)
    const float oddRe = turnRe_[k] * diffIm + turnIm_[k] * diffRe;
    const float oddIm = turnIm_[k] * diffIm - turnRe_[k] * diffRe;
    const float binRe = sumRe + oddRe;
    const float binIm = sumIm + oddIm;
    magnitudes[k] = halfScale_ * std::sqrt(binRe * binRe + binIm * binIm);
  }
}

}  // namespace media::audio
