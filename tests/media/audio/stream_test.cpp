// Streams through the wrapper on the hand-pulled output: creation over embedded bytes and
// its refusals, play, stop, restart, the sample-exact loop and auto-free.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "media/audio/bass.h"
#include "tests/media/audio/engine_fixture.h"
#include "tests/media/audio/test_data.h"

namespace media::audio {
namespace {

using testkit::Bytes;
using testkit::kToneFrames;
using testkit::ReadTestFile;

class TBassStreamTest : public testkit::ManualEngineTest {
 protected:
  std::shared_ptr<TBassStream> CreateMem(const Bytes& bytes, int flags) {
    return std::make_shared<TBassStream>()->CreateMem(
        bytes.data(), static_cast<std::int64_t>(bytes.size()), flags);
  }
};

TEST_F(TBassStreamTest, CreateMemReturnsItsOwnObjectHoldingANewStoppedStream) {
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  auto object = std::make_shared<TBassStream>();
  auto stream = object->CreateMem(mp3.data(), static_cast<std::int64_t>(mp3.size()), 0x40004);
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream, object);
  EXPECT_NE(stream->handle, 0u);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassOk);
  for (float sample : output_->Pull(2000)) ASSERT_EQ(sample, 0.0f) << "not played yet";
  auto second = CreateMem(mp3, 0);
  ASSERT_TRUE(second);
  EXPECT_NE(second->handle, stream->handle);
  EXPECT_EQ(engine_->StreamCount(), 2);
}

TEST_F(TBassStreamTest, RefusedDataGivesNoStreamAndSaysWhy) {
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  const Bytes ogg = ReadTestFile(testkit::kMonoOgg);
  Bytes mp3BehindOggPattern = {'O', 'g', 'g', 'S'};
  for (std::uint8_t byte : mp3) mp3BehindOggPattern.push_back(byte);
  Bytes brokenOgg = ogg;
  brokenOgg[40] ^= 0xff;  // inside the identification header on the first page
  std::vector<std::pair<std::string, Bytes>> refused = {
      {"empty", {}},
      // The Info frame and a sliver of the first audio frame.
      {"MP3 cut after 400 bytes", Bytes(mp3.begin(), mp3.begin() + 400)},
      {"a bare ID3 tag", testkit::WithId3v2Tag({}, 3)},
      // Not Vorbis, and not to be scanned for stray MP3 frame headers either.
      {"MP3 behind an Ogg capture pattern", mp3BehindOggPattern},
      // The small Ogg holds its sound in one last page: its first half is headers only.
      {"Ogg cut in half",
       Bytes(ogg.begin(), ogg.begin() + static_cast<std::ptrdiff_t>(ogg.size() / 2))},
      {"Ogg with a broken header", brokenOgg},
  };
  std::mt19937 random(1234);
  for (std::size_t size : {1u, 4u, 417u, 4096u, 65536u}) {
    for (int attempt = 0; attempt < 20; ++attempt) {
      Bytes noise(size);
      for (auto& b : noise) b = static_cast<std::uint8_t>(random());
      refused.emplace_back(std::to_string(size) + " random bytes", std::move(noise));
    }
  }
  for (const auto& [what, bytes] : refused) {
    SCOPED_TRACE(what);
    auto object = std::make_shared<TBassStream>();
    object->handle = 12345;
    EXPECT_EQ(object->CreateMem(bytes.data(), static_cast<std::int64_t>(bytes.size()), 0x40004),
              nullptr);
    EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorFileFormat);
    EXPECT_EQ(object->handle, 0u);
  }
  EXPECT_EQ(std::make_shared<TBassStream>()->CreateMem(nullptr, 100, 0), nullptr);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorIllegalParam);
  EXPECT_EQ(engine_->StreamCount(), 0);

  TBass::Free();
  EXPECT_EQ(CreateMem(mp3, 0), nullptr);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorInit);
}

TEST_F(TBassStreamTest, AnMp3CutInHalfPlaysWhatIsLeftAndEnds) {
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  // Its Info frame still announces 3 s: playback must stop at the real end of the data.
  const Bytes half(mp3.begin(), mp3.begin() + static_cast<std::ptrdiff_t>(mp3.size() / 2));
  auto stream = CreateMem(half, 0);
  ASSERT_TRUE(stream);
  ASSERT_EQ(stream->Play(0), 1);
  output_->Pull(static_cast<int>(kToneFrames));
  EXPECT_EQ(Probe(stream->handle).state, PlayState::kEnded);
  EXPECT_GT(Probe(stream->handle).sourcePosition, kToneFrames * 0.4);
  EXPECT_LT(Probe(stream->handle).sourcePosition, kToneFrames * 0.6);
}

TEST_F(TBassStreamTest, Mp3PlaysEveryDecodedFrameExactlyOnceThenEndsAndReplaysFromTheStart) {
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  const std::vector<float> expected = testkit::DecodeAll(mp3);
  ASSERT_EQ(expected.size(), 2u * kToneFrames);
  auto stream = CreateMem(mp3, 0);
  ASSERT_TRUE(stream);
  ASSERT_EQ(stream->Play(0), 1);
  // At the stream's own rate and full volume the output is the decoded sound, bit for bit.
  EXPECT_EQ(output_->Pull(static_cast<int>(kToneFrames)), expected);
  EXPECT_EQ(Probe(stream->handle).state, PlayState::kPlaying);
  for (float sample : output_->Pull(100)) ASSERT_EQ(sample, 0.0f);
  EXPECT_EQ(Probe(stream->handle).state, PlayState::kEnded);
  ASSERT_EQ(stream->Play(0), 1);
  const std::vector<float> again = output_->Pull(1000);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), expected.begin()));
}

TEST_F(TBassStreamTest, StopKeepsThePositionAndPlayRestartGoesBackToTheStart) {
  const std::uint32_t handle = Create(testkit::MakeRampDecoder(100000));
  TBassChannel channel = Channel(handle);
  ASSERT_EQ(channel.Play(0), 1);
  output_->Pull(5000);
  ASSERT_EQ(channel.Stop(), 1);
  for (float sample : output_->Pull(3000)) ASSERT_EQ(sample, 0.0f);
  EXPECT_EQ(channel.Stop(), 1) << "stopping a stopped stream is harmless";
  ASSERT_EQ(channel.Play(0), 1);
  EXPECT_FLOAT_EQ(output_->Pull(1)[0], static_cast<float>(5000 / testkit::kRampScale));
  ASSERT_EQ(channel.Play(1), 1);
  EXPECT_FLOAT_EQ(output_->Pull(2)[2], static_cast<float>(1 / testkit::kRampScale));

  TBassChannel stale = Channel(handle ^ 0x100);  // same slot, another generation
  EXPECT_EQ(stale.Play(0), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorHandle);
}

// The largest frame-to-frame step of the left side over frames [from, to).
float LargestStep(const std::vector<float>& stereo, std::size_t from, std::size_t to) {
  float largest = 0.0f;
  for (std::size_t i = from + 1; i < to; ++i) {
    largest = std::max(largest, std::abs(stereo[2 * i] - stereo[2 * i - 2]));
  }
  return largest;
}

TEST_F(TBassStreamTest, WholeOutputPauseHoldsEveryStreamWhereItWas) {
  const std::uint32_t a = Create(testkit::MakeRampDecoder(100000));
  const std::uint32_t b = Create(testkit::MakeConstantDecoder(0.25f, 100000));
  ASSERT_EQ(Channel(a).Play(0), 1);
  output_->Pull(700);
  ASSERT_EQ(Channel(b).Play(0), 1);
  output_->Pull(300);
  ASSERT_EQ(TBass::Pause(), 1);
  EXPECT_EQ(TBass::Pause(), 0) << "pausing twice";
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorAlready);
  // The output fades to silence over a few milliseconds, without a step, and then holds.
  const int ramp = engine_->pauseRampFrames();
  EXPECT_EQ(ramp, 220);
  const auto level = [](double position) {
    return static_cast<float>(position / testkit::kRampScale) + 0.25f;
  };
  const std::vector<float> fade = output_->Pull(5000);
  EXPECT_NEAR(fade[0], level(1000) * (ramp - 1) / ramp, 1e-5);
  EXPECT_LT(LargestStep(fade, 0, ramp), level(1000 + ramp) / ramp + 1e-5);
  EXPECT_EQ(fade[2 * (ramp - 1)], 0.0f);
  for (std::size_t i = 2 * ramp; i < fade.size(); ++i) ASSERT_EQ(fade[i], 0.0f) << i;
  EXPECT_DOUBLE_EQ(Probe(a).sourcePosition, 1000.0 + ramp);
  // A stream started while paused waits for the output too.
  const std::uint32_t c = Create(testkit::MakeConstantDecoder(0.5f, 100000));
  ASSERT_EQ(Channel(c).Play(0), 1);
  EXPECT_TRUE(output_->paused()) << "the faded output is paused";
  for (float sample : output_->Pull(100)) ASSERT_EQ(sample, 0.0f);
  ASSERT_EQ(TBass::Start(), 1);
  // Back from where every stream stood, faded in.
  const std::vector<float> back = output_->Pull(ramp);
  EXPECT_NEAR(back[0], (level(1000 + ramp) + 0.5f) / ramp, 1e-5);
  EXPECT_FLOAT_EQ(back[2 * (ramp - 1)], level(1000 + 2 * ramp - 1) + 0.5f);
  EXPECT_DOUBLE_EQ(Probe(b).sourcePosition, 300.0 + 2 * ramp);
  EXPECT_DOUBLE_EQ(Probe(c).sourcePosition, ramp);
  EXPECT_EQ(TBass::Start(), 1) << "starting a running output is harmless";
}

TEST_F(TBassStreamTest, LoopingStreamsWrapWithoutGapOrClick) {
  for (const char* name : {testkit::kStereoMp3, testkit::kMonoOgg}) {
    SCOPED_TRACE(name);
    const Bytes bytes = ReadTestFile(name);
    auto stream = CreateMem(bytes, 0x40004);
    ASSERT_TRUE(stream);
    ASSERT_EQ(stream->Play(0), 1);
    const std::vector<float> out = output_->Pull(static_cast<int>(2 * kToneFrames + 4000));
    const auto seam = static_cast<std::size_t>(kToneFrames);
    // Sample-exact: the second pass is the first one again, frame for frame (a dropped last
    // chunk or an encoder delay left in would shift it).
    EXPECT_TRUE(std::equal(out.begin() + 2 * static_cast<std::ptrdiff_t>(seam),
                           out.begin() + 4 * static_cast<std::ptrdiff_t>(seam), out.begin()));
    // No click: across the seam the signal moves about as fast as the tone itself (a 440 Hz
    // sine at half scale moves up to 0.031 per frame, plus the coding noise of these tiny
    // files); a missing or doubled block of frames would jump by up to 1.0.
    const float steady = LargestStep(out, seam / 3, 2 * seam / 3);
    EXPECT_LT(steady, 0.045f);
    EXPECT_LE(LargestStep(out, seam - 200, seam + 200), steady * 1.5f);
    // No gap: no stretch of silence where the loop joins.
    int quietRun = 0;
    for (std::size_t i = seam - 2000; i < seam + 2000; ++i) {
      quietRun = std::abs(out[2 * i]) < 1e-3f ? quietRun + 1 : 0;
      ASSERT_LT(quietRun, 4) << "silence at frame " << i;
    }
    ASSERT_EQ(stream->Stop(), 1);
  }
}

TEST_F(TBassStreamTest, AutoFreeStreamsLeaveNothingBehind) {
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  for (int cycle = 0; cycle < 1000; ++cycle) {
    auto stream = CreateMem(mp3, 0x40004);
    ASSERT_TRUE(stream) << "cycle " << cycle;
    ASSERT_EQ(stream->Play(0), 1);
    output_->Pull(64);
    ASSERT_EQ(stream->SlideAttribute(1, 1000.0f, 500), 1);
    ASSERT_EQ(stream->SlideAttribute(2, -1.0f, 200), 1);
    output_->Pull(64);
    ASSERT_EQ(stream->Stop(), 1);
    EXPECT_EQ(stream->Play(0), 0) << "a stopped auto-free stream is gone";
    EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorHandle);
  }
  EXPECT_EQ(engine_->StreamCount(), 0);
  EXPECT_EQ(Channel::LiveCount(), 0);
  // A stream that ends by itself is freed too.
  const std::uint32_t handle =
      Create(testkit::MakeConstantDecoder(0.5f, 1000), kBassStreamAutoFree);
  ASSERT_EQ(Channel(handle).Play(0), 1);
  output_->Pull(2000);
  EXPECT_EQ(engine_->StreamCount(), 0);
  EXPECT_EQ(Channel::LiveCount(), 0);
}

}  // namespace
}  // namespace media::audio
