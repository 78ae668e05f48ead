#include "musicgen/mastering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "musicgen/loudness.h"
#include "musicgen/rng.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

// A beat-like test signal: a 55 Hz tone with a short loud burst every half second.
StereoBuffer thumps(double seconds) {
  StereoBuffer mix(static_cast<std::size_t>(seconds * kRate));
  Rng rng(11);
  for (std::size_t i = 0; i < mix.frames(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double beat = std::fmod(t, 0.5);
    const double hit = beat < 0.03 ? 2.5 * rng.bipolar() : 0.0;
    mix.left[i] = static_cast<float>(0.2 * std::sin(2.0 * std::numbers::pi * 55.0 * t) + hit);
    mix.right[i] = static_cast<float>(0.15 * std::sin(2.0 * std::numbers::pi * 55.0 * t) + hit);
  }
  return mix;
}

TEST(Mastering, FinishReachesTheLoudnessUnderTheTruePeakCeiling) {
  for (const float drive : {0.0f, 1.2f}) {
    SCOPED_TRACE(drive);
    StereoBuffer mix = thumps(3.0);
    finishMaster(mix, {.drive = drive, .loudnessLufs = -14.0, .ceilingDbtp = -2.0}, kRate);
    EXPECT_NEAR(integratedLoudness(mix, kRate), -14.0, 0.05);
    EXPECT_LE(truePeakDb(mix, false), -2.0 + 0.02);
  }
  StereoBuffer silence(44100);
  finishMaster(silence, {}, kRate);
  EXPECT_EQ(peakLevel(silence), 0.0f);
}

TEST(Mastering, LimiterReachesEachReductionBeforeItsPeakAndRecoversSmoothly) {
  std::vector<float> peaks(44100, 0.1f);
  peaks[20000] = 2.0f;  // one peak 20 times the rest
  const std::vector<float> gain = limiterGain(peaks, 1.0, 0.5, false, kRate);
  EXPECT_NEAR(gain[20000], 0.25f, 0.01f);
  EXPECT_FLOAT_EQ(gain[10000], 1.0f);  // long before: untouched
  EXPECT_GT(gain[19800], 0.99f);       // the look-ahead is a few milliseconds
  EXPECT_LT(gain[24000], 0.9f);        // recovering over a tenth of a second or so,
  EXPECT_GT(gain[42000], 0.95f);       // and back to almost nothing half a second later
  float largestStep = 0.0f;
  for (std::size_t i = 1; i < gain.size(); ++i) {
    EXPECT_LE(gain[i] * peaks[i], 0.5f + 1e-6f) << i;
    largestStep = std::max(largestStep, std::abs(gain[i] - gain[i - 1]));
  }
  EXPECT_LT(largestStep, 0.01f) << "the gain ramps, it does not jump";
  EXPECT_EQ(limiterGain(peaks, 0.2, 0.5, false, kRate), std::vector<float>(peaks.size(), 1.0f));
}

TEST(Mastering, LimiterOnALoopSeesItsStartComingAtTheEnd) {
  std::vector<float> peaks(44100, 0.1f);
  peaks[0] = 2.0f;
  const float linearEnd = limiterGain(peaks, 1.0, 0.5, false, kRate).back();
  const std::vector<float> circular = limiterGain(peaks, 1.0, 0.5, true, kRate);
  EXPECT_GT(linearEnd, 0.999f);      // recovered from the start's peak long ago
  EXPECT_LT(circular.back(), 0.5f);  // already ramping down into the peak at the start
  EXPECT_NEAR(circular.front(), 0.25f, 0.01f);
}

TEST(Mastering, FoldTailAddsEverythingPastTheLoopOntoTheStart) {
  StereoBuffer mix(7);
  for (std::size_t i = 0; i < 7; ++i) {
    mix.left[i] = static_cast<float>(i + 1);
    mix.right[i] = -static_cast<float>(i + 1);
  }
  foldTail(mix, 3);
  ASSERT_EQ(mix.frames(), 3u);
  EXPECT_EQ(mix.left, (std::vector<float>{1 + 4 + 7, 2 + 5, 3 + 6}));
  EXPECT_EQ(mix.right, (std::vector<float>{-12, -7, -9}));
}

TEST(Mastering, FadeOutEndsInSilenceAndLeavesTheRestAlone) {
  StereoBuffer mix(1000);
  std::fill(mix.left.begin(), mix.left.end(), 0.5f);
  std::fill(mix.right.begin(), mix.right.end(), -0.5f);
  fadeOut(mix, 200);
  EXPECT_EQ(mix.left[799], 0.5f);
  EXPECT_NEAR(mix.left[899], 0.25f, 0.01f);
  EXPECT_EQ(mix.left[999], 0.0f);
  EXPECT_EQ(mix.right[999], 0.0f);
  for (std::size_t i = 801; i < 1000; ++i) EXPECT_LE(mix.left[i], mix.left[i - 1]);
}

TEST(Mastering, RumbleFilterRemovesOffsetButNotMusic) {
  StereoBuffer mix(44100);
  for (std::size_t i = 0; i < mix.frames(); ++i) {
    mix.left[i] = 0.5f;
    mix.right[i] = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 200.0 * i / kRate));
  }
  removeRumble(mix, kRate);
  EXPECT_LT(std::abs(mix.left.back()), 0.001f);
  float peak = 0.0f;
  for (std::size_t i = 22050; i < mix.frames(); ++i) peak = std::max(peak, std::abs(mix.right[i]));
  EXPECT_NEAR(peak, 0.5f, 0.01f);
}

}  // namespace
}  // namespace musicgen
