#include "musicgen/wav_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace musicgen {
namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}
std::int16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}
std::string tag(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

TEST(WavWriter, HeaderDescribesSixteenBitStereoPcm) {
  const auto wav = encodeWav16(StereoBuffer(10), 44100);
  ASSERT_EQ(wav.size(), 44u + 40u);
  EXPECT_EQ(tag(wav, 0), "RIFF");
  EXPECT_EQ(le32(wav, 4), wav.size() - 8);
  EXPECT_EQ(tag(wav, 8), "WAVE");
  EXPECT_EQ(tag(wav, 12), "fmt ");
  EXPECT_EQ(le32(wav, 16), 16u);
  EXPECT_EQ(le16(wav, 20), 1);  // PCM
  EXPECT_EQ(le16(wav, 22), 2);  // channels
  EXPECT_EQ(le32(wav, 24), 44100u);
  EXPECT_EQ(le32(wav, 28), 44100u * 4);  // bytes per second
  EXPECT_EQ(le16(wav, 32), 4);           // bytes per frame
  EXPECT_EQ(le16(wav, 34), 16);
  EXPECT_EQ(tag(wav, 36), "data");
  EXPECT_EQ(le32(wav, 40), 40u);
}

TEST(WavWriter, SamplesAreInterleavedRoundedAndClamped) {
  StereoBuffer mix(3);
  mix.left = {0.5f, -1.0f, 1.7f};
  mix.right = {-0.25f, 1.0f / 32767.0f * 0.49f, -3.0f};
  const auto wav = encodeWav16(mix, 44100);
  EXPECT_EQ(le16(wav, 44), 16384);  // 0.5 * 32767 = 16383.5, rounded away from zero
  EXPECT_EQ(le16(wav, 46), -8192);
  EXPECT_EQ(le16(wav, 48), -32767);
  EXPECT_EQ(le16(wav, 50), 0);
  EXPECT_EQ(le16(wav, 52), 32767);  // clamped, not wrapped
  EXPECT_EQ(le16(wav, 54), -32768);
}

}  // namespace
}  // namespace musicgen
