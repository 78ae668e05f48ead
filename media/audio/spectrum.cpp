#include "media/audio/spectrum.h"

#include <cmath>
#include <numbers>

namespace media::audio {

SpectrumAnalyzer::SpectrumAnalyzer() : config_(kiss_fftr_alloc(kSamples, 0, nullptr, nullptr)) {
  double sum = 0.0;
  for (std::size_t n = 0; n < kSamples; ++n) {
    // Periodic Hann: its sum is exactly kSamples / 2, and a bin-centre sine leaks into the
    // two neighbouring bins only.
    const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(n) /
                                          static_cast<double>(kSamples));
    window_[n] = static_cast<float>(w);
    sum += w;
  }
  scale_ = static_cast<float>(2.0 / sum);
}

SpectrumAnalyzer::~SpectrumAnalyzer() {
  kiss_fftr_free(config_);
}

void SpectrumAnalyzer::Compute(const float* samples, float* magnitudes) {
  for (std::size_t n = 0; n < kSamples; ++n) windowed_[n] = samples[n] * window_[n];
  kiss_fftr(config_, windowed_.data(), bins_.data());
  for (std::size_t k = 0; k < kBins; ++k) {
    magnitudes[k] = scale_ * std::sqrt(bins_[k].r * bins_[k].r + bins_[k].i * bins_[k].i);
  }
}

}  // namespace media::audio
