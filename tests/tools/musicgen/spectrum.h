// Test support: power spectra and simple level measures, written independently of the
// generator so the tests do not check the code against itself.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <vector>

namespace musicgen::testing {

// Power per bin (0..n/2) of a Hann-windowed signal; n must be a power of two.
inline std::vector<double> powerSpectrum(const std::vector<float>& signal) {
  const std::size_t n = signal.size();
  std::vector<std::complex<double>> x(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double window = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) /
                                               static_cast<double>(n));
    x[i] = signal[i] * window;
  }
  for (std::size_t i = 1, j = 0; i < n; ++i) {  // bit-reversal permutation
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> step =
        std::polar(1.0, -2.0 * std::numbers::pi / static_cast<double>(len));
    for (std::size_t start = 0; start < n; start += len) {
      std::complex<double> w = 1.0;
      for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
        const auto a = x[start + k];
        const auto b = x[start + k + len / 2] * w;
        x[start + k] = a + b;
        x[start + k + len / 2] = a - b;
      }
    }
  }
  std::vector<double> power(n / 2 + 1);
  for (std::size_t i = 0; i < power.size(); ++i) power[i] = std::norm(x[i]);
  return power;
}

// Share of the spectrum's power in bins whose centre frequency is below/above `hz`.
inline double powerShareBelow(const std::vector<double>& power, double hz, double sampleRate) {
  const double binHz = sampleRate / (2.0 * static_cast<double>(power.size() - 1));
  double below = 0.0, total = 0.0;
  for (std::size_t i = 1; i < power.size(); ++i) {
    total += power[i];
    if (static_cast<double>(i) * binHz < hz) below += power[i];
  }
  return total > 0.0 ? below / total : 0.0;
}

inline double rms(const float* samples, std::size_t count) {
  double sum = 0.0;
  for (std::size_t i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
  return count ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

// Frequency from the spacing of rising zero crossings between two sample indices.
inline double zeroCrossingHz(const std::vector<float>& s, std::size_t from, std::size_t to,
                             double sampleRate) {
  std::size_t first = 0, last = 0, count = 0;
  for (std::size_t i = from + 1; i < to && i < s.size(); ++i) {
    if (s[i - 1] < 0.0f && s[i] >= 0.0f) {
      if (count == 0) first = i;
      last = i;
      ++count;
    }
  }
  return count < 2
             ? 0.0
             : static_cast<double>(count - 1) * sampleRate / static_cast<double>(last - first);
}

}  // namespace musicgen::testing
