// The FFT under the spectrum: against a direct sum in double precision at every supported
// size, and the real-signal spectrum against an independent library's real transform.
#include "media/audio/fft.h"

#include <gtest/gtest.h>
#include <kiss_fftr.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "media/audio/spectrum.h"

namespace media::audio {
namespace {

std::vector<std::complex<double>> DirectDft(const std::vector<float>& re,
                                            const std::vector<float>& im) {
  const std::size_t n = re.size();
  std::vector<std::complex<double>> out(n);
  for (std::size_t k = 0; k < n; ++k) {
    std::complex<double> sum;
    for (std::size_t t = 0; t < n; ++t) {
      const double angle =
          -2.0 * std::numbers::pi * static_cast<double>((k * t) % n) / static_cast<double>(n);
      sum += std::complex<double>(re[t], im[t]) * std::polar(1.0, angle);
    }
    out[k] = sum;
  }
  return out;
}

TEST(ComplexFft, MatchesTheDirectSumAtEverySizeAndCanBeReused) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  for (std::size_t size : {4u, 16u, 64u, 256u, 1024u}) {
    SCOPED_TRACE(size);
    ComplexFft fft(size);
    // Twice on the same object: the scratch and the pass order must not leak between calls.
    for (int round = 0; round < 2; ++round) {
      std::vector<float> re(size), im(size);
      for (std::size_t n = 0; n < size; ++n) {
        re[n] = sample(random);
        im[n] = sample(random);
      }
      const auto expected = DirectDft(re, im);
      fft.Forward(re.data(), im.data());
      // Rounding grows with log(size); the values themselves are up to about sqrt(size).
      const double tolerance = 2e-6 * static_cast<double>(size);
      for (std::size_t k = 0; k < size; ++k) {
        ASSERT_NEAR(re[k], expected[k].real(), tolerance) << k;
        ASSERT_NEAR(im[k], expected[k].imag(), tolerance) << k;
      }
    }
  }
}

TEST(ComplexFft, AnImpulseIsFlatAndAPureToneLandsInItsBin) {
  ComplexFft fft(256);
  std::vector<float> re(256, 0.0f), im(256, 0.0f);
  re[0] = 1.0f;
  fft.Forward(re.data(), im.data());
  for (std::size_t k = 0; k < 256; ++k) {
    ASSERT_FLOAT_EQ(re[k], 1.0f);
    ASSERT_FLOAT_EQ(im[k] + 1.0f, 1.0f);
  }
  // exp(2 pi i 37 n / 256) is all in bin 37, with weight 256.
  for (std::size_t n = 0; n < 256; ++n) {
    const double angle = 2.0 * std::numbers::pi * 37.0 * static_cast<double>(n) / 256.0;
    re[n] = static_cast<float>(std::cos(angle));
    im[n] = static_cast<float>(std::sin(angle));
  }
  fft.Forward(re.data(), im.data());
  for (std::size_t k = 0; k < 256; ++k) {
    const double magnitude = std::hypot(re[k], im[k]);
    if (k == 37) {
      EXPECT_NEAR(magnitude, 256.0, 1e-3);
    } else {
      ASSERT_LT(magnitude, 1e-3) << k;
    }
  }
}

TEST(SpectrumAnalyzer, AgreesWithAnIndependentRealTransformOnNoiseAndMusicLikeSignals) {
  constexpr std::size_t kN = SpectrumAnalyzer::kSamples;
  kiss_fftr_cfg reference = kiss_fftr_alloc(static_cast<int>(kN), 0, nullptr, nullptr);
  ASSERT_NE(reference, nullptr);
  SpectrumAnalyzer analyzer;
  std::mt19937 random(11);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    std::vector<float> samples(kN);
    for (std::size_t n = 0; n < kN; ++n) {
      const double t = static_cast<double>(n);
      // Noise, then a bass line with overtones, then a DC offset, then a Nyquist tone.
      samples[n] =
          round == 0 ? noise(random)
          : round == 1
              ? static_cast<float>(0.6 * std::sin(0.013 * t) + 0.2 * std::sin(0.39 * t + 1.0))
          : round == 2 ? 0.25f
                       : (n % 2 == 0 ? 0.5f : -0.5f);
    }
    std::vector<float> windowed(kN);
    double windowSum = 0.0;
    for (std::size_t n = 0; n < kN; ++n) {
      const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(n) /
                                            static_cast<double>(kN));
      windowed[n] = static_cast<float>(samples[n] * w);
      windowSum += w;
    }
    std::vector<kiss_fft_cpx> bins(kN / 2 + 1);
    kiss_fftr(reference, windowed.data(), bins.data());
    std::vector<float> magnitudes(SpectrumAnalyzer::kBins, -1.0f);
    analyzer.Compute(samples.data(), magnitudes.data());
    for (std::size_t k = 0; k < SpectrumAnalyzer::kBins; ++k) {
      const double expected = 2.0 / windowSum * std::hypot(bins[k].r, bins[k].i);
      ASSERT_NEAR(magnitudes[k], expected, 1e-5 + 1e-4 * expected) << k;
    }
  }
  kiss_fftr_free(reference);
}

}  // namespace
}  // namespace media::audio
