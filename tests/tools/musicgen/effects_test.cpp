#include "musicgen/effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "musicgen/sidechain.h"
#include "spectrum.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

std::size_t peakIndex(const std::vector<float>& s, std::size_t from, std::size_t to) {
  std::size_t best = from;
  for (std::size_t i = from; i < to; ++i)
    if (std::abs(s[i]) > std::abs(s[best])) best = i;
  return best;
}

TEST(PingPongDelay, EchoesAlternateSidesOneDelayApartAndFade) {
  PingPongDelay delay({.beats = 0.5f, .feedback = 0.5f, .dampingHz = 20000.0f}, 1000.0, kRate);
  std::vector<float> left(4000, 0.0f), right(4000, 0.0f);
  left[0] = 1.0f;
  delay.process(left.data(), right.data(), left.size());

  EXPECT_FLOAT_EQ(left[0], 0.0f);  // wet only: the dry hit is not passed through
  EXPECT_EQ(peakIndex(left, 0, 800), 500u);
  EXPECT_FLOAT_EQ(left[500], 0.5f);  // the mono sum of the hit
  EXPECT_NEAR(peakIndex(right, 800, 1200), 1000u, 3u);
  EXPECT_NEAR(peakIndex(left, 1200, 1800), 1500u, 6u);
  EXPECT_LT(testing::rms(&right[400], 200), 1e-6);  // each echo on one side only
  EXPECT_LT(testing::rms(&left[900], 200), 1e-6);
  const double first = testing::rms(&left[450], 100);
  const double third = testing::rms(&left[1450], 100);
  EXPECT_NEAR(third / first, 0.5, 0.1);  // the feedback, less a little damping
}

TEST(Reverb, TailFallsSixtyDecibelsInItsDecayTimeAndIsWide) {
  Reverb reverb({.seconds = 1.0f, .dampingHz = 20000.0f, .predelayMs = 10.0f}, kRate);
  const auto frames = static_cast<std::size_t>(1.4 * kRate);
  std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
  left[0] = right[0] = 1.0f;
  reverb.process(left.data(), right.data(), frames);

  EXPECT_LT(testing::rms(left.data(), 400), 1e-9);  // nothing before the predelay
  const auto at = [&](double seconds) { return static_cast<std::size_t>(seconds * kRate); };
  const double early = testing::rms(&left[at(0.1)], at(0.1));
  const double late = testing::rms(&left[at(1.1)], at(0.1));
  const double fallDb = 20.0 * std::log10(late / early);
  EXPECT_NEAR(fallDb, -60.0, 10.0);

  // The two sides come from different lines: related in level, not in shape.
  double lr = 0.0, ll = 0.0, rr = 0.0;
  for (std::size_t i = at(0.05); i < at(0.5); ++i) {
    lr += left[i] * right[i];
    ll += left[i] * left[i];
    rr += right[i] * right[i];
  }
  EXPECT_LT(std::abs(lr / std::sqrt(ll * rr)), 0.3);
}

TEST(Sidechain, DipsOnEveryTriggerAndSwellsBackWithoutSteps) {
  const SidechainPatch patch{.attackMs = 4.0f, .releaseBeats = 0.25f};
  // Out of order on purpose: the envelope sorts its triggers.
  const SidechainEnvelope env({5000, 1000, 5000}, patch, 4000.0, kRate);
  EXPECT_EQ(env.at(0), 0.0f);
  EXPECT_EQ(env.at(1000), 0.0f);
  EXPECT_NEAR(env.at(1176), 1.0f, 0.01f);                    // fully down after the attack
  EXPECT_NEAR(env.at(1176 + 1000), std::exp(-1.0f), 0.01f);  // one release time later
  EXPECT_LT(env.at(4999), 0.03f);
  float largestStep = 0.0f;
  for (std::int64_t f = 0; f < 9000; ++f)
    largestStep = std::max(largestStep, std::abs(env.at(f + 1) - env.at(f)));
  EXPECT_LT(largestStep, 1.0f / 170.0f);
}

}  // namespace
}  // namespace musicgen
