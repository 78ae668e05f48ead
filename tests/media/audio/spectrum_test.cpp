// The spectrum request: scale, window leakage, silence, and which samples it looks at.
#include "media/audio/spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "media/audio/bass.h"
#include "tests/media/audio/engine_fixture.h"

namespace media::audio {
namespace {

constexpr double kBinHz = 44100.0 / 512.0;

using Spectrum = testkit::ManualEngineTest;

std::array<float, 512> Fetch(std::uint32_t handle) {
  std::array<float, 512> spectrum;
  spectrum.fill(7.0f);  // GetData must write the first 256 only
  TBassChannel channel;
  channel.handle = handle;
  EXPECT_EQ(channel.GetData(spectrum.data(), kBassDataFft512), 1024);
  return spectrum;
}

std::size_t Peak(const std::array<float, 512>& spectrum) {
  return static_cast<std::size_t>(std::max_element(spectrum.begin(), spectrum.begin() + 256) -
                                  spectrum.begin());
}

TEST_F(Spectrum, ASineAtABinCentreGivesItsAmplitudeThereAndHalfInEachNeighbour) {
  for (int bin : {1, 3, 10, 100, 255}) {
    SCOPED_TRACE(bin);
    const std::uint32_t handle = Create(testkit::MakeSineDecoder(bin * kBinHz, 0.4f, 44100));
    ASSERT_EQ(Channel(handle).Play(0), 1);
    output_->Pull(2000);
    const auto spectrum = Fetch(handle);
    EXPECT_EQ(Peak(spectrum), static_cast<std::size_t>(bin));
    EXPECT_NEAR(spectrum[static_cast<std::size_t>(bin)], 0.4f, 1e-3f);
    // The Hann window spreads a bin-centre sine into the two neighbours only. (Bin 0 also
    // takes the mirror image of bin 1, by an amount that depends on the phase.)
    if (bin > 1) {
      EXPECT_NEAR(spectrum[static_cast<std::size_t>(bin - 1)], 0.2f, 1e-3f);
    }
    if (bin < 255) {
      EXPECT_NEAR(spectrum[static_cast<std::size_t>(bin + 1)], 0.2f, 1e-3f);
    }
    for (int k = 0; k < 256; ++k) {
      if (std::abs(k - bin) > 1) {
        ASSERT_LT(spectrum[static_cast<std::size_t>(k)], 1e-3f) << k;
      }
    }
    for (std::size_t k = 256; k < 512; ++k) ASSERT_EQ(spectrum[k], 7.0f);
    ASSERT_EQ(Channel(handle).Stop(), 1);
  }
}

TEST_F(Spectrum, TheSpectrumIsOfTheMonoMixAfterTheVolume) {
  // 0.4 on the left only: the mono mix carries 0.2.
  const std::uint32_t handle = Create(testkit::MakeFormulaDecoder(
      [](std::int64_t n) {
        return std::array<float, 2>{
            0.4f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 20.0 * kBinHz *
                                               static_cast<double>(n) / 44100.0)),
            0.0f};
      },
      44100));
  ASSERT_EQ(Channel(handle).Play(0), 1);
  output_->Pull(1000);
  EXPECT_NEAR(Fetch(handle)[20], 0.2f, 1e-3f);
  ASSERT_EQ(Channel(handle).SlideAttribute(kBassAttribVolume, 0.5f, 0), 1);
  output_->Pull(1000);
  EXPECT_NEAR(Fetch(handle)[20], 0.1f, 1e-3f);
}

TEST_F(Spectrum, SilenceStoppedStreamsAndPausedOutputGiveZeros) {
  const std::uint32_t quiet = Create(testkit::MakeConstantDecoder(0.0f, 44100));
  ASSERT_EQ(Channel(quiet).Play(0), 1);
  output_->Pull(1000);
  for (std::size_t k = 0; k < 256; ++k) ASSERT_EQ(Fetch(quiet)[k], 0.0f);

  const std::uint32_t tone = Create(testkit::MakeSineDecoder(5 * kBinHz, 0.5f, 44100));
  TBassChannel channel = Channel(tone);
  // Not played yet, then played, then stopped.
  EXPECT_EQ(Fetch(tone)[5], 0.0f);
  ASSERT_EQ(channel.Play(0), 1);
  output_->Pull(1000);
  EXPECT_NEAR(Fetch(tone)[5], 0.5f, 1e-3f);
  ASSERT_EQ(TBass::Pause(), 1);
  EXPECT_EQ(Fetch(tone)[5], 0.0f) << "nothing is heard while the output is paused";
  ASSERT_EQ(TBass::Start(), 1);
  EXPECT_NEAR(Fetch(tone)[5], 0.5f, 1e-3f);
  ASSERT_EQ(channel.Stop(), 1);
  EXPECT_EQ(Fetch(tone)[5], 0.0f);
  // Only the FFT request is offered.
  EXPECT_EQ(channel.GetData(std::array<float, 1024>{}.data(), 4096), -1);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorNotAvailable);
  // Just after a (re)start, the window reaches back before the play: that part is silence.
  ASSERT_EQ(channel.Play(0), 1);
  output_->Pull(256);
  const float partial = Fetch(tone)[5];
  EXPECT_GT(partial, 0.05f);
  EXPECT_LT(partial, 0.45f);
}

// Bin 8 for the first 20000 frames, bin 40 after.
std::unique_ptr<Decoder> MakeChangingTone() {
  return testkit::MakeFormulaDecoder(
      [](std::int64_t n) {
        const double bin = n < 20000 ? 8.0 : 40.0;
        return 0.5f * static_cast<float>(std::sin(2.0 * std::numbers::pi * bin * kBinHz *
                                                  static_cast<double>(n) / 44100.0));
      },
      44100);
}

TEST_F(Spectrum, FollowsThePulledPosition) {
  const std::uint32_t handle = Create(MakeChangingTone());
  ASSERT_EQ(Channel(handle).Play(0), 1);
  output_->Pull(19000);
  EXPECT_EQ(Peak(Fetch(handle)), 8u);
  output_->Pull(2000);
  EXPECT_EQ(Peak(Fetch(handle)), 40u);
}

class SpectrumBehindABuffer : public testkit::ManualEngineTest {
 protected:
  SpectrumBehindABuffer() : ManualEngineTest(4096) {}
};

TEST_F(SpectrumBehindABuffer, FollowsWhatIsHeardNotWhatIsMixedAhead) {
  const std::uint32_t handle = Create(MakeChangingTone());
  ASSERT_EQ(Channel(handle).Play(0), 1);
  // Mixed up to frame 21000, but the device still holds 4096 frames: heard is frame 16904.
  output_->Pull(21000);
  EXPECT_EQ(Peak(Fetch(handle)), 8u);
  // 50 ms later the device has played 2205 of them: frame 19109 is heard, still bin 8.
  time_.AdvanceMillis(50);
  EXPECT_EQ(Peak(Fetch(handle)), 8u);
  // After the whole buffer's time the mixed end is heard.
  time_.AdvanceMillis(60);
  EXPECT_EQ(Peak(Fetch(handle)), 40u);
}

TEST(SpectrumAnalyzer, AConstantOffsetShowsAtTwiceItsValueInBinZero) {
  SpectrumAnalyzer analyzer;
  std::array<float, 512> samples{};
  std::array<float, 256> magnitudes{};
  // A constant offset c: 2c in bin 0 (as documented), c in bin 1 through the window.
  samples.fill(0.25f);
  analyzer.Compute(samples.data(), magnitudes.data());
  EXPECT_NEAR(magnitudes[0], 0.5f, 1e-5f);
  EXPECT_NEAR(magnitudes[1], 0.25f, 1e-5f);
  EXPECT_NEAR(magnitudes[2], 0.0f, 1e-5f);
}

}  // namespace
}  // namespace media::audio
