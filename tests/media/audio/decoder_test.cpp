// Decoding the embedded formats: exact lengths (gapless MP3, Vorbis), tags, mono, and
// rewinding to the very same frames for loops. Refused data is tested through CreateMem.
#include "media/audio/decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/media/audio/test_data.h"

namespace media::audio {
namespace {

using testkit::Bytes;
using testkit::DecodeAll;
using testkit::kToneFrames;
using testkit::ReadTestFile;

std::unique_ptr<Decoder> Open(const Bytes& bytes) {
  BassError error = kBassErrorUnknown;
  auto decoder = OpenDecoder(bytes.data(), static_cast<std::int64_t>(bytes.size()), error);
  EXPECT_EQ(error, kBassOk);
  return decoder;
}

TEST(Decoders, BothFormatsDecodeToTheirExactLengthAndRewindToTheSameFrames) {
  for (const char* name : {testkit::kStereoMp3, testkit::kMonoOgg}) {
    SCOPED_TRACE(name);
    const Bytes bytes = ReadTestFile(name);
    ASSERT_FALSE(bytes.empty());
    auto decoder = Open(bytes);
    ASSERT_TRUE(decoder);
    EXPECT_EQ(decoder->sampleRate(), 44100);
    // For the MP3, gapless decoding cuts the encoder delay and padding: exactly the 3 s
    // that were encoded.
    const std::vector<float> first = DecodeAll(*decoder);
    EXPECT_EQ(first.size(), 2u * kToneFrames);
    float end[2];
    EXPECT_EQ(decoder->Read(end, 1), 0u) << "the end stays the end";
    ASSERT_TRUE(decoder->Rewind());
    EXPECT_EQ(DecodeAll(*decoder), first) << "a loop must replay exactly the same samples";
  }
}

TEST(Decoders, MonoReachesBothSidesAndStereoKeepsThemApart) {
  const std::vector<float> ogg = DecodeAll(ReadTestFile(testkit::kMonoOgg));
  const std::vector<float> mp3 = DecodeAll(ReadTestFile(testkit::kStereoMp3));
  float peak = 0.0f;
  double sideDifference = 0.0;
  for (std::size_t i = 0; i < 2 * kToneFrames; i += 2) {
    ASSERT_EQ(ogg[i], ogg[i + 1]) << "mono frame " << i / 2;
    peak = std::max(peak, std::abs(ogg[i]));
    sideDifference += std::abs(mp3[i] - mp3[i + 1]);  // 440 Hz left, 660 Hz right
  }
  EXPECT_NEAR(peak, 0.5f, 0.05f);  // the tone was made at half scale
  EXPECT_GT(sideDifference / kToneFrames, 0.1);
}

TEST(Decoders, Id3v2TagsBeforeTheMp3AreSkipped) {
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  const std::vector<float> expected = DecodeAll(mp3);
  for (int version : {2, 3}) {
    SCOPED_TRACE(version);
    const Bytes tagged = testkit::WithId3v2Tag(mp3, version);  // read in place: kept alive
    auto decoder = Open(tagged);
    ASSERT_TRUE(decoder);
    EXPECT_EQ(DecodeAll(*decoder), expected);
  }
}

// A damaged file (found by fuzz/fuzz_audio_decoder) whose frames switch between mono and
// stereo: every read stays inside the block it was given, whatever layout the bytes came in.
TEST(Decoders, AFileThatSwitchesChannelsNeverWritesPastTheBlock) {
  const Bytes bytes = ReadTestFile("mono_stereo_mono_frames.mp3");
  ASSERT_FALSE(bytes.empty());
  BassError error = kBassOk;
  auto decoder = OpenDecoder(bytes.data(), static_cast<std::int64_t>(bytes.size()), error);
  ASSERT_TRUE(decoder);
  constexpr std::size_t kAsked = 2304;
  constexpr float kGuard = 12345.0f;  // no decoder writes this
  std::vector<float> block(2 * kAsked + 4096, kGuard);
  std::size_t total = 0;
  for (int read = 0; read < 6; ++read) {
    const std::size_t got = decoder->Read(block.data(), kAsked);
    ASSERT_LE(got, kAsked) << "read " << read;
    for (std::size_t i = 2 * kAsked; i < block.size(); ++i) {
      ASSERT_EQ(block[i], kGuard) << "read " << read << " wrote float " << i;
    }
    total += got;
    if (got == 0) break;
  }
  EXPECT_GT(total, 0u);
}

}  // namespace
}  // namespace media::audio
