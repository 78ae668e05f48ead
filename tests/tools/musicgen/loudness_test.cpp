#include "musicgen/loudness.h"

#include <gtest/gtest.h>

#include <vector>

#include "musicgen/arrangement_checks.h"

#include <cmath>
#include <numbers>

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

StereoBuffer tone(double hz, double amplitude, double seconds, double phase = 0.0) {
  StereoBuffer b(static_cast<std::size_t>(seconds * kRate));
  for (std::size_t i = 0; i < b.frames(); ++i) {
    const auto v = static_cast<float>(
        amplitude * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / kRate + phase));
    b.left[i] = v;
    b.right[i] = v;
  }
  return b;
}

void append(StereoBuffer& to, const StereoBuffer& more) {
  to.left.insert(to.left.end(), more.left.begin(), more.left.end());
  to.right.insert(to.right.end(), more.right.begin(), more.right.end());
}

TEST(Loudness, SineInBothChannelsReadsItsLevelAndTheWeightingFavoursThePresenceRange) {
  // The standard's calibration: a full-scale 1 kHz sine in each of two channels is 0 LUFS.
  EXPECT_NEAR(integratedLoudness(tone(1000.0, 0.1, 3.0), kRate), -20.0, 0.1);
  EXPECT_NEAR(integratedLoudness(tone(1000.0, 1.0, 3.0), kRate), 0.0, 0.1);
  // Readings of the same tones by an independent meter (a broadcast loudness filter of a
  // common media tool): the shelf lifts 4 kHz, the high-pass cuts 30 Hz.
  EXPECT_NEAR(integratedLoudness(tone(4000.0, 0.1, 3.0), kRate), -16.7, 0.2);
  EXPECT_NEAR(integratedLoudness(tone(30.0, 0.1, 3.0), kRate), -29.0, 0.3);
}

TEST(Loudness, GatesIgnoreSilenceAndTheQuietestPassages) {
  // Three seconds of tone at -20 LUFS followed by silence, or by a whisper 20 LU below it.
  // Neither pulls the reading far down: only the blocks that straddle the change count,
  // which the independent meter also reads as -20.2.
  StereoBuffer withSilence = tone(1000.0, 0.1, 3.0);
  append(withSilence, StereoBuffer(static_cast<std::size_t>(10 * kRate)));
  EXPECT_NEAR(integratedLoudness(withSilence, kRate), -20.2, 0.05);
  StereoBuffer withWhisper = tone(1000.0, 0.1, 3.0);
  append(withWhisper, tone(1000.0, 0.01, 6.0));
  EXPECT_NEAR(integratedLoudness(withWhisper, kRate), -20.2, 0.05);
  // Without the gates the silence alone would have brought it to about -26.4.

  EXPECT_EQ(integratedLoudness(StereoBuffer(44100), kRate), kSilenceLufs);
  EXPECT_EQ(integratedLoudness(tone(1000.0, 0.1, 0.3), kRate), kSilenceLufs);  // under one block
}

TEST(Loudness, ShortTermReadsTheLastThreeSecondsAndALoopReachesBackIntoItsEnd) {
  // Four seconds at -20 LUFS, then four of silence.
  StereoBuffer b = tone(1000.0, 0.1, 4.0);
  append(b, StereoBuffer(static_cast<std::size_t>(4 * kRate)));
  const std::vector<double> open = shortTermLoudness(b, kRate, false);
  const std::vector<double> loop = shortTermLoudness(b, kRate, true);
  ASSERT_EQ(open.size(), 80u);
  EXPECT_NEAR(open[39], -20.0, 0.1);  // three seconds of tone in the window
  EXPECT_LT(open[75], -70.0);         // only silence
  // At 1 s the window holds one second of tone; looped, two more from the silent end.
  EXPECT_NEAR(open[9], -20.0 + 10.0 * std::log10(1.0 / 3.0), 0.2);
  EXPECT_NEAR(loop[9], open[9], 0.01);
  EXPECT_NEAR(loop[0], open[0], 0.01);
  // Tone at the end, silence at the start: the loop's first windows still hear the tone.
  StereoBuffer reversed(static_cast<std::size_t>(4 * kRate));
  append(reversed, tone(1000.0, 0.1, 4.0));
  EXPECT_NEAR(shortTermLoudness(reversed, kRate, true)[4], -20.0 + 10.0 * std::log10(2.5 / 3.0),
              0.2);
  EXPECT_LT(shortTermLoudness(reversed, kRate, false)[4], -70.0);

  // Below -24 the window holds under 1.19 s of the tone: from 5.81 s on, over the loop
  // point, until 1.19 s into the next pass. Found whole, though it runs over the end.
  EXPECT_NEAR(longestStretchBelow(loop, -24.0, 0.1), 3.38, 0.15);
  EXPECT_NEAR(longestStretchBelow({-30.0, -10.0, -30.0, -30.0}, -24.0, 0.1), 0.3, 1e-9);
}

TEST(Loudness, TruePeakFindsThePeakBetweenTheSamples) {
  // A quarter-rate sine sampled 45 degrees off its crests: every sample reads 0.707 of a
  // peak that lies between them.
  const StereoBuffer b = tone(kRate / 4.0, 1.0, 0.1, std::numbers::pi / 4.0);
  float samplePeak = 0.0f;
  for (float v : b.left) samplePeak = std::max(samplePeak, std::abs(v));
  EXPECT_NEAR(20.0 * std::log10(samplePeak), -3.01, 0.01);
  // The estimate may err a little high this close to half the rate, never low.
  EXPECT_GE(truePeakDb(b, true), -0.05);
  EXPECT_LE(truePeakDb(b, true), 0.3);
  // Low frequencies have no peak between samples to speak of.
  EXPECT_NEAR(truePeakDb(tone(100.0, 0.5, 0.1), true), 20.0 * std::log10(0.5), 0.01);
}

TEST(Loudness, TruePeaksOfALoopJoinItsEndToItsStart) {
  // A lone full-scale step at the end: played as a loop it falls straight back to the
  // start's silence, and the reconstruction rings over into the first frames.
  StereoBuffer b(1000);
  b.left[999] = 1.0f;
  EXPECT_GT(truePeaks(b, true)[0], truePeaks(b, false)[0] + 0.05f);
}

}  // namespace
}  // namespace musicgen
