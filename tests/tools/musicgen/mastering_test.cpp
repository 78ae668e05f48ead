#include "musicgen/mastering.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "musicgen/rng.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

TEST(Mastering, FinishPutsThePeakOnTargetAndKeepsTheOrderOfLevels) {
  StereoBuffer mix(1000);
  Rng rng(11);
  for (std::size_t i = 0; i < mix.frames(); ++i) {
    mix.left[i] = 3.0f * rng.bipolar();
    mix.right[i] = 2.0f * rng.bipolar();
  }
  mix.right[500] = -3.7f;
  const StereoBuffer before = mix;
  finishMaster(mix, 1.5f, -1.0f);
  EXPECT_NEAR(peakLevel(mix), std::pow(10.0f, -1.0f / 20.0f), 1e-6);
  EXPECT_NEAR(mix.right[500], -std::pow(10.0f, -1.0f / 20.0f), 1e-6);
  for (std::size_t i = 1; i < mix.frames(); ++i) {
    if (before.left[i] < before.left[i - 1])
      EXPECT_LE(mix.left[i], mix.left[i - 1]) << i;
    else
      EXPECT_GE(mix.left[i], mix.left[i - 1]) << i;
    EXPECT_EQ(std::signbit(before.left[i]), std::signbit(mix.left[i])) << i;
  }
  StereoBuffer silence(100);
  finishMaster(silence, 1.5f, -1.0f);
  EXPECT_EQ(peakLevel(silence), 0.0f);
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
