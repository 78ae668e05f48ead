#include "musicgen/state_variable_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "musicgen/rng.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

// Steady-state gain in dB of the filter on a sine.
double gainDb(StateVariableFilter filter, double hz) {
  double in = 0.0, out = 0.0;
  for (int i = 0; i < 44100; ++i) {
    const auto x = static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * i / kRate));
    const float y = filter.process(x);
    if (i >= 22050) {  // skip the settling
      in += x * x;
      out += y * y;
    }
  }
  return 10.0 * std::log10(out / in);
}

StateVariableFilter makeFilter(FilterMode mode, double cutoff, double resonance) {
  StateVariableFilter f(kRate, mode);
  f.setCutoff(cutoff, resonance);
  return f;
}

TEST(StateVariableFilter, LowPassPassesBelowCutoffAndFallsTwelveDecibelsPerOctaveAbove) {
  const auto f = makeFilter(FilterMode::LowPass, 800.0, 0.0);
  EXPECT_NEAR(gainDb(f, 100.0), 0.0, 0.2);
  EXPECT_NEAR(gainDb(f, 800.0), -3.0, 0.3);
  EXPECT_NEAR(gainDb(f, 6400.0) - gainDb(f, 3200.0), -12.0, 1.0);
  EXPECT_LT(gainDb(f, 8000.0), -35.0);
}

TEST(StateVariableFilter, HighAndBandPassKeepTheirOwnPartOfTheSpectrum) {
  const auto high = makeFilter(FilterMode::HighPass, 1000.0, 0.0);
  EXPECT_NEAR(gainDb(high, 10000.0), 0.0, 0.3);
  EXPECT_LT(gainDb(high, 100.0), -35.0);
  const auto band = makeFilter(FilterMode::BandPass, 1000.0, 0.5);
  EXPECT_GT(gainDb(band, 1000.0), gainDb(band, 250.0) + 10.0);
  EXPECT_GT(gainDb(band, 1000.0), gainDb(band, 4000.0) + 10.0);
}

TEST(StateVariableFilter, ResonanceRaisesAPeakAtTheCutoff) {
  EXPECT_GT(gainDb(makeFilter(FilterMode::LowPass, 1000.0, 0.9), 1000.0), 12.0);
  EXPECT_LT(gainDb(makeFilter(FilterMode::LowPass, 1000.0, 0.9), 4000.0), -18.0);
}

TEST(StateVariableFilter, StaysStableWhenTheCutoffJumpsEverySample) {
  StateVariableFilter f(kRate, FilterMode::LowPass);
  Rng rng(7);
  float peak = 0.0f;
  for (int i = 0; i < 200000; ++i) {
    f.setCutoff(i % 2 ? 30.0 : 25000.0, 1.0);  // far beyond Nyquist: clamped
    const float y = f.process(rng.bipolar());
    ASSERT_TRUE(std::isfinite(y)) << "at sample " << i;
    peak = std::max(peak, std::abs(y));
  }
  EXPECT_LT(peak, 100.0f);
}

}  // namespace
}  // namespace musicgen
