#include "musicgen/drums.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "spectrum.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

std::vector<float> firstFrames(std::vector<float> s, std::size_t n) {
  s.resize(n, 0.0f);
  return s;
}

std::size_t ms(double milliseconds) {
  return static_cast<std::size_t>(milliseconds * kRate / 1000.0);
}

TEST(Drums, KickDropsInPitchAndLivesInTheLowEnd) {
  const std::vector<float> kick =
      renderDrum({.kind = DrumKind::Kick, .tone = 0.0f}, 1.0f, kRate, 1);
  const double attackHz = testing::zeroCrossingHz(kick, 0, ms(20), kRate);
  const double bodyHz = testing::zeroCrossingHz(kick, ms(150), ms(400), kRate);
  EXPECT_GT(attackHz, 1.8 * bodyHz) << attackHz << " Hz falling to " << bodyHz << " Hz";
  EXPECT_NEAR(bodyHz, 47.0, 4.0);
  EXPECT_GT(
      testing::powerShareBelow(testing::powerSpectrum(firstFrames(kick, 16384)), 150.0, kRate),
      0.9);

  // Tuning moves the whole sound.
  const std::vector<float> high =
      renderDrum({.kind = DrumKind::Kick, .tune = 1.5f, .tone = 0.0f}, 1.0f, kRate, 1);
  EXPECT_NEAR(testing::zeroCrossingHz(high, ms(150), ms(400), kRate), 1.5 * bodyHz, 4.0);
}

TEST(Drums, HatsAreBrightAndTheClosedOneIsShorter) {
  const std::vector<float> closed = renderDrum({.kind = DrumKind::ClosedHat}, 1.0f, kRate, 3);
  const std::vector<float> open = renderDrum({.kind = DrumKind::OpenHat}, 1.0f, kRate, 3);
  EXPECT_LT(closed.size() * 4, open.size());
  EXPECT_LT(closed.size(), ms(150));
  for (const auto* hat : {&closed, &open}) {
    const double lowShare =
        testing::powerShareBelow(testing::powerSpectrum(firstFrames(*hat, 8192)), 5000.0, kRate);
    EXPECT_LT(lowShare, 0.1);
  }
}

TEST(Drums, ClapIsSeveralHandsBeforeItsTail) {
  const std::vector<float> clap = renderDrum({.kind = DrumKind::Clap}, 1.0f, kRate, 5);
  // Loudness in 1 ms slices over the first 35 ms: count the separate bursts.
  std::vector<double> slices;
  for (std::size_t at = 0; at + ms(1) <= ms(35); at += ms(1))
    slices.push_back(testing::rms(&clap[at], ms(1)));
  int bursts = 0;
  for (std::size_t i = 1; i + 1 < slices.size(); ++i)
    if (slices[i] > slices[i - 1] && slices[i] >= slices[i + 1] && slices[i] > 0.05) ++bursts;
  EXPECT_GE(bursts, 3);
}

TEST(Drums, SameSeedRepeatsTheHitAndVelocityOnlyScalesIt) {
  const DrumPatch snare{.kind = DrumKind::Snare};
  const std::vector<float> a = renderDrum(snare, 1.0f, kRate, 42);
  EXPECT_EQ(a, renderDrum(snare, 1.0f, kRate, 42));
  EXPECT_NE(a, renderDrum(snare, 1.0f, kRate, 43));
  const std::vector<float> soft = renderDrum(snare, 0.5f, kRate, 42);
  ASSERT_EQ(soft.size(), a.size());
  for (std::size_t i = 0; i < a.size(); i += 97) EXPECT_FLOAT_EQ(soft[i], 0.5f * a[i]);
}

TEST(Drums, CrashWashesLongAndBrightAndTheTomBendsDownToItsPitch) {
  const std::vector<float> crash = renderDrum({.kind = DrumKind::Crash}, 1.0f, kRate, 4);
  const std::vector<float> open = renderDrum({.kind = DrumKind::OpenHat}, 1.0f, kRate, 4);
  EXPECT_GT(crash.size(), 3 * open.size());
  EXPECT_GT(testing::rms(&crash[ms(800)], ms(50)), 0.02) << "still ringing after most of a second";
  EXPECT_LT(
      testing::powerShareBelow(testing::powerSpectrum(firstFrames(crash, 16384)), 2000.0, kRate),
      0.05);

  const std::vector<float> tom = renderDrum({.kind = DrumKind::Tom, .tone = 0.0f}, 1.0f, kRate, 4);
  const double strikeHz = testing::zeroCrossingHz(tom, 0, ms(15), kRate);
  const double bodyHz = testing::zeroCrossingHz(tom, ms(120), ms(300), kRate);
  EXPECT_NEAR(bodyHz, 110.0, 4.0);
  EXPECT_GT(strikeHz, 1.2 * bodyHz);
}

TEST(Drums, EveryHitDecaysToSilenceAndStaysInRange) {
  for (DrumKind kind : {DrumKind::Kick, DrumKind::Snare, DrumKind::Clap, DrumKind::ClosedHat,
                        DrumKind::OpenHat, DrumKind::Crash, DrumKind::Tom}) {
    SCOPED_TRACE(static_cast<int>(kind));
    const std::vector<float> hit = renderDrum({.kind = kind, .decay = 1.5f}, 1.0f, kRate, 9);
    float peak = 0.0f;
    for (float s : hit) peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 0.2f);
    EXPECT_LT(peak, 2.5f);
    EXPECT_LT(testing::rms(&hit[hit.size() - ms(5)], ms(5)), peak * 0.005);
  }
}

}  // namespace
}  // namespace musicgen
