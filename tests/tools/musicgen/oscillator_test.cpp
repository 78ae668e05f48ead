#include "musicgen/oscillator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "spectrum.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;
constexpr std::size_t kFft = 16384;

// Power outside the harmonics' own bins, as a share of all power: what aliasing adds.
double aliasShare(const std::vector<float>& signal, double f0) {
  const std::vector<double> power = testing::powerSpectrum(signal);
  const double binHz = kRate / kFft;
  double total = 0.0, harmonic = 0.0;
  for (std::size_t i = 1; i < power.size(); ++i) {
    total += power[i];
    const double hz = static_cast<double>(i) * binHz;
    const double k = std::round(hz / f0);
    if (k >= 1 && std::abs(hz - k * f0) <= 4 * binHz) harmonic += power[i];
  }
  return (total - harmonic) / total;
}

std::vector<float> render(Oscillator osc, std::size_t n) {
  std::vector<float> out(n);
  for (float& s : out) s = osc.next();
  return out;
}

// The textbook aliasing waveforms, to compare against.
std::vector<float> naiveSaw(double f0, std::size_t n) {
  std::vector<float> out(n);
  double phase = 0.0;
  for (float& s : out) {
    s = static_cast<float>(2.0 * phase - 1.0);
    phase += f0 / kRate;
    phase -= std::floor(phase);
  }
  return out;
}

std::vector<float> naivePulse(double f0, double width, std::size_t n) {
  std::vector<float> out(n);
  double phase = 0.0;
  for (float& s : out) {
    s = static_cast<float>((phase < width ? 1.0 : -1.0) - (2.0 * width - 1.0));
    phase += f0 / kRate;
    phase -= std::floor(phase);
  }
  return out;
}

TEST(Oscillator, BandLimitedSawAndPulseFoldBackFarLessThanNaiveOnes) {
  // A high note, off any bin, so folded partials land between the true harmonics.
  const double f0 = 3517.3;
  const double sawAlias = aliasShare(render(Oscillator(Wave::Saw, f0, kRate), kFft), f0);
  const double naiveSawAlias = aliasShare(naiveSaw(f0, kFft), f0);
  EXPECT_LT(sawAlias, naiveSawAlias / 10.0) << "saw " << sawAlias << " naive " << naiveSawAlias;
  EXPECT_LT(sawAlias, 0.003);

  const double pulseAlias =
      aliasShare(render(Oscillator(Wave::Pulse, f0, kRate, 0.0, 0.3), kFft), f0);
  const double naivePulseAlias = aliasShare(naivePulse(f0, 0.3, kFft), f0);
  EXPECT_LT(pulseAlias, naivePulseAlias / 10.0)
      << "pulse " << pulseAlias << " naive " << naivePulseAlias;
}

TEST(Oscillator, EveryWaveRunsAtItsFrequencyWithoutOffset) {
  for (Wave wave : {Wave::Sine, Wave::Triangle, Wave::Saw, Wave::Pulse}) {
    SCOPED_TRACE(static_cast<int>(wave));
    const std::vector<float> s = render(Oscillator(wave, 220.0, kRate, 0.1, 0.25), 44100);
    EXPECT_NEAR(testing::zeroCrossingHz(s, 0, s.size(), kRate), 220.0, 0.5);
    double mean = 0.0, peak = 0.0;
    for (float v : s) {
      mean += v;
      peak = std::max(peak, static_cast<double>(std::abs(v)));
    }
    // An asymmetric pulse is re-centred: layering it must not shift the mix.
    EXPECT_NEAR(mean / static_cast<double>(s.size()), 0.0, 0.01);
    EXPECT_GT(peak, 0.9);
    EXPECT_LT(peak, 1.6);
  }
}

TEST(Oscillator, PolyBlepOnlyTouchesTheSampleEitherSideOfTheStep) {
  const double dt = 0.01;
  EXPECT_DOUBLE_EQ(polyBlep(0.5, dt), 0.0);
  EXPECT_DOUBLE_EQ(polyBlep(dt, dt), 0.0);
  EXPECT_DOUBLE_EQ(polyBlep(1.0 - dt, dt), 0.0);
  // Halfway up the correction on each side, and continuous across the step: -1 at t -> 0+
  // and +1 at t -> 1-, exactly cancelling the naive wave's jump of 2.
  EXPECT_NEAR(polyBlep(0.0, dt), -1.0, 1e-12);
  EXPECT_NEAR(polyBlep(1.0 - 1e-12, dt), 1.0, 1e-6);
  EXPECT_NEAR(polyBlep(0.5 * dt, dt), -0.25, 1e-12);
}

}  // namespace
}  // namespace musicgen
