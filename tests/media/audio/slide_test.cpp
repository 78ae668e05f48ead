// Frequency and volume slides: per-frame linear ramps, replacement, and their end in real
// time whether or not the output plays.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "media/audio/bass.h"
#include "tests/media/audio/engine_fixture.h"

namespace media::audio {
namespace {

using Slides = testkit::ManualEngineTest;

constexpr int kRate = 44100;

// The ramp a slide must follow: value at output frame k of a slide from `from` to `to` over
// `length` frames.
double Ramp(double from, double to, double length, double k) {
  return k >= length ? to : from + (to - from) * k / length;
}

TEST_F(Slides, FrequencySlideMovesThePlaybackPositionAlongTheRamp) {
  // The ramp decoder's samples are its frame numbers, so the output reads the position.
  const std::uint32_t handle = Create(testkit::MakeRampDecoder(10 * kRate));
  TBassChannel channel = Channel(handle);
  ASSERT_EQ(channel.Play(0), 1);
  output_->Pull(1000);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribFrequency, 1000.0f, 500), 1);
  const double length = 0.5 * kRate;  // 22050 output frames

  // Expected position at each output frame: the sum of the per-frame steps before it.
  const int total = 30000;
  const std::vector<float> out = output_->Pull(total);
  double position = 1000.0;
  for (int k = 0; k < total; ++k) {
    if (k % 97 == 0 || k == 22049 || k == 22050 || k == total - 1) {
      ASSERT_NEAR(out[2 * static_cast<std::size_t>(k)] * testkit::kRampScale, position, 1.0)
          << "output frame " << k << " of the slide";
    }
    position += Ramp(44100.0, 1000.0, length, k) / kRate;
  }
  EXPECT_FLOAT_EQ(Probe(handle).frequency, 1000.0f);
  // After the slide the stream moves 1000 source frames per second of output.
  const double before = Probe(handle).sourcePosition;
  output_->Pull(kRate);
  EXPECT_NEAR(Probe(handle).sourcePosition - before, 1000.0, 1e-6);
}

TEST_F(Slides, StreamsPlayAtTheirOwnRateUntilTold) {
  const std::uint32_t handle = Create(testkit::MakeRampDecoder(kRate, 22050));
  ASSERT_EQ(Channel(handle).Play(0), 1);
  output_->Pull(10000);
  EXPECT_FLOAT_EQ(Probe(handle).frequency, 22050.0f);
  EXPECT_NEAR(Probe(handle).sourcePosition, 5000.0, 1e-9);
  // 0 or less means the stream's own rate again.
  ASSERT_EQ(Channel(handle).SlideAttribute(kBassAttribFrequency, 30000.0f, 0), 1);
  output_->Pull(1);
  EXPECT_FLOAT_EQ(Probe(handle).frequency, 30000.0f);
  ASSERT_EQ(Channel(handle).SlideAttribute(kBassAttribFrequency, 0.0f, 0), 1);
  output_->Pull(1);
  EXPECT_FLOAT_EQ(Probe(handle).frequency, 22050.0f);
}

TEST_F(Slides, VolumeSlideScalesEveryFrameAlongTheRampWithoutSteps) {
  const std::uint32_t handle = Create(testkit::MakeConstantDecoder(0.8f, 10 * kRate));
  TBassChannel channel = Channel(handle);
  ASSERT_EQ(channel.Play(0), 1);
  output_->Pull(10);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribVolume, 0.2f, 200), 1);
  const double length = 0.2 * kRate;  // 8820 frames

  // Pulled in odd blocks, as a device would: the ramp must not restart or pause at block
  // boundaries.
  std::vector<float> out;
  for (int block : {1, 333, 1024, 2000, 4096, 3000}) {
    const std::vector<float> part = output_->Pull(block);
    out.insert(out.end(), part.begin(), part.end());
  }
  const double step = 0.8 * 0.8 / length;  // change of the sample per frame
  for (std::size_t k = 0; k < out.size() / 2; ++k) {
    const double expected = 0.8 * Ramp(1.0, 0.2, length, static_cast<double>(k));
    ASSERT_NEAR(out[2 * k], expected, 1e-5) << "frame " << k;
    if (k > 0) {
      ASSERT_LE(std::abs(out[2 * k] - out[2 * k - 2]), step * 1.001 + 1e-7) << "frame " << k;
    }
  }
  EXPECT_FLOAT_EQ(out.back(), 0.8f * 0.2f);
}

TEST_F(Slides, NegativeVolumeFadesToSilence) {
  const std::uint32_t handle = Create(testkit::MakeConstantDecoder(0.5f, 10 * kRate));
  ASSERT_EQ(Channel(handle).Play(0), 1);
  ASSERT_EQ(Channel(handle).SlideAttribute(kBassAttribVolume, -1.0f, 200), 1);
  const std::vector<float> out = output_->Pull(kRate / 2);
  EXPECT_NEAR(out[2 * 4410], 0.25f, 1e-4);  // half way down
  EXPECT_EQ(out[2 * 8820], 0.0f);
  EXPECT_EQ(out.back(), 0.0f);
  EXPECT_EQ(Probe(handle).volume, 0.0f);
}

TEST_F(Slides, ANewSlideReplacesTheRunningOneFromWhereItHadGot) {
  const std::uint32_t handle = Create(testkit::MakeConstantDecoder(1.0f, 10 * kRate));
  TBassChannel channel = Channel(handle);
  ASSERT_EQ(channel.Play(0), 1);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribVolume, 0.0f, 1000), 1);
  const std::vector<float> first = output_->Pull(kRate / 2);
  EXPECT_NEAR(first.back(), 0.5f, 1e-4);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribVolume, 1.0f, 100), 1);
  const std::vector<float> second = output_->Pull(kRate / 10 + 100);
  EXPECT_NEAR(second[0], first.back(), 1e-4) << "no jump where the new slide takes over";
  EXPECT_NEAR(second[2 * 2205], 0.75f, 1e-3);
  EXPECT_EQ(second.back(), 1.0f) << "the old slide's target no longer counts";
}

TEST_F(Slides, ATapeStopOfASineStaysSmooth) {
  // A full-scale 440 Hz sine moves at most 2 pi 440 / 44100 = 0.0627 per frame; slowing it
  // down must only make it move slower: no step, no click.
  const std::uint32_t handle = Create(testkit::MakeSineDecoder(440.0, 1.0f, 10 * kRate));
  ASSERT_EQ(Channel(handle).Play(0), 1);
  output_->Pull(1000);
  ASSERT_EQ(Channel(handle).SlideAttribute(kBassAttribFrequency, 1000.0f, 500), 1);
  ASSERT_EQ(Channel(handle).SlideAttribute(kBassAttribVolume, -1.0f, 200), 1);
  const std::vector<float> out = output_->Pull(kRate / 2);
  const double limit = 2.0 * std::numbers::pi * 440.0 / kRate;
  for (std::size_t k = 1; k < out.size() / 2; ++k) {
    ASSERT_LE(std::abs(out[2 * k] - out[2 * k - 2]), limit * 1.01) << "frame " << k;
  }
}

TEST_F(Slides, IsSlidingEndsWhenTheDurationHasPassedInRealTime) {
  const std::uint32_t handle = Create(testkit::MakeConstantDecoder(1.0f, 10 * kRate));
  TBassChannel channel = Channel(handle);
  ASSERT_EQ(channel.Play(0), 1);
  EXPECT_EQ(channel.IsSliding(kBassAttribAny), 0);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribFrequency, 1000.0f, 500), 1);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribVolume, -1.0f, 200), 1);
  EXPECT_NE(channel.IsSliding(kBassAttribAny), 0);

  PullInStep(kRate / 5 - 50);  // 199 ms
  EXPECT_NE(channel.IsSliding(kBassAttribVolume), 0);
  PullInStep(50);
  EXPECT_EQ(channel.IsSliding(kBassAttribVolume), 0);
  EXPECT_NE(channel.IsSliding(kBassAttribFrequency), 0);
  EXPECT_NE(channel.IsSliding(kBassAttribAny), 0);
  PullInStep(kRate * 3 / 10);  // 500 ms in all
  EXPECT_EQ(channel.IsSliding(kBassAttribFrequency), 0);
  EXPECT_EQ(channel.IsSliding(kBassAttribAny), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassOk);
  EXPECT_EQ(channel.IsSliding(7), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorIllegalParam);
  EXPECT_EQ(channel.SlideAttribute(3, 0.5f, 100), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorIllegalParam);
}

TEST_F(Slides, SlidesEndWhileTheOutputIsPausedAndApplyOnResume) {
  const std::uint32_t handle = Create(testkit::MakeConstantDecoder(1.0f, 10 * kRate));
  TBassChannel channel = Channel(handle);
  ASSERT_EQ(channel.Play(0), 1);
  output_->Pull(100);
  ASSERT_EQ(TBass::Pause(), 1);
  // The track-change wait of the program, with the output paused: it must end.
  ASSERT_EQ(channel.SlideAttribute(kBassAttribFrequency, 1000.0f, 500), 1);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribVolume, -1.0f, 200), 1);
  int waitedMs = 0;
  while (channel.IsSliding(kBassAttribAny) != 0 && waitedMs < 5000) {
    time_.AdvanceMillis(1);  // Delay(1), on the manual clock
    ++waitedMs;
  }
  EXPECT_EQ(waitedMs, 500);
  ASSERT_EQ(TBass::Start(), 1);
  const std::vector<float> out = output_->Pull(10);
  EXPECT_EQ(out[0], 0.0f) << "the fade ended while paused";
  EXPECT_FLOAT_EQ(Probe(handle).frequency, 1000.0f);
}

TEST_F(Slides, ASlideThatFallsBehindRealTimeCatchesUp) {
  const std::uint32_t handle = Create(testkit::MakeConstantDecoder(1.0f, 10 * kRate));
  TBassChannel channel = Channel(handle);
  ASSERT_EQ(channel.Play(0), 1);
  ASSERT_EQ(channel.SlideAttribute(kBassAttribVolume, 0.0f, 1000), 1);
  PullInStep(kRate / 4);
  // The output stalls for 300 ms (a starved device): the ramp skips to where real time is.
  time_.AdvanceMillis(300);
  const std::vector<float> out = output_->Pull(1);
  EXPECT_NEAR(out[0], 0.45f, 0.01f);
  // Small delays (within a device buffer) do not make the ramp jump.
  const std::uint32_t other = Create(testkit::MakeConstantDecoder(1.0f, 10 * kRate));
  ASSERT_EQ(Channel(other).Play(0), 1);
  ASSERT_EQ(Channel(other).SlideAttribute(kBassAttribVolume, 0.0f, 1000), 1);
  time_.AdvanceMillis(50);
  EXPECT_NEAR(output_->Pull(1)[0], 0.45f + 1.0f, 0.01f);
}

}  // namespace
}  // namespace media::audio
