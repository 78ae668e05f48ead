// The sound files under data/ (made by data/make_test_data.sh) and ways to damage or dress
// them for the bad-input tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/audio/decoder.h"

namespace media::audio::testkit {

using Bytes = std::vector<std::uint8_t>;

// 3 s of 440 Hz left / 660 Hz right at half scale, LAME 64 kbit/s with its Info frame.
constexpr const char* kStereoMp3 = "tone_3s_stereo.mp3";
// 3 s of 440 Hz mono at half scale, Ogg Vorbis.
constexpr const char* kMonoOgg = "tone_3s_mono.ogg";
// Both decode to exactly 3 s at 44.1 kHz.
constexpr std::int64_t kToneFrames = 132300;

inline Bytes ReadTestFile(const std::string& name) {
  std::ifstream in(std::string(MEDIA_AUDIO_TEST_DATA) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every frame `decoder` yields until its end (at most `limit`), read in odd-sized blocks.
inline std::vector<float> DecodeAll(Decoder& decoder, std::size_t limit = SIZE_MAX) {
  std::vector<float> all;
  std::vector<float> block(2 * 1000);
  while (all.size() / 2 < limit) {
    const std::size_t got =
        decoder.Read(block.data(), std::min<std::size_t>(1000, limit - all.size() / 2));
    if (got == 0) break;
    all.insert(all.end(), block.begin(), block.begin() + 2 * static_cast<std::ptrdiff_t>(got));
  }
  return all;
}

inline std::vector<float> DecodeAll(const Bytes& bytes, std::size_t limit = SIZE_MAX) {
  BassError error = kBassOk;
  auto decoder = OpenDecoder(bytes.data(), static_cast<std::int64_t>(bytes.size()), error);
  return decoder ? DecodeAll(*decoder, limit) : std::vector<float>{};
}

// An ID3v2 tag of `version` (2 or 3) holding one title frame, followed by `audio`.
inline Bytes WithId3v2Tag(const Bytes& audio, int version) {
  const std::string title = "Test tone";
  Bytes frame;
  if (version == 2) {
    // v2.2: 3-letter frame id, 3-byte big-endian size, no flags.
    const auto size = static_cast<std::uint32_t>(title.size() + 1);
    frame = {'T', 'T', '2', 0, 0, static_cast<std::uint8_t>(size)};
  } else {
    // v2.3: 4-letter frame id, 4-byte big-endian size, 2 flag bytes.
    const auto size = static_cast<std::uint32_t>(title.size() + 1);
    frame = {'T', 'I', 'T', '2', 0, 0, 0, static_cast<std::uint8_t>(size), 0, 0};
  }
  frame.push_back(0);  // text encoding: ISO-8859-1
  frame.insert(frame.end(), title.begin(), title.end());
  frame.resize(frame.size() + 64, 0);  // padding, as taggers leave it
  const auto size = static_cast<std::uint32_t>(frame.size());
  const std::uint8_t header[10] = {'I', 'D', '3', static_cast<std::uint8_t>(version), 0, 0,
                                   // the tag size is "syncsafe": 7 bits per byte
                                   static_cast<std::uint8_t>((size >> 21) & 0x7f),
                                   static_cast<std::uint8_t>((size >> 14) & 0x7f),
                                   static_cast<std::uint8_t>((size >> 7) & 0x7f),
                                   static_cast<std::uint8_t>(size & 0x7f)};
  // Appended byte by byte: GCC 12 at -O2 misreads vector::insert here (false bounds warnings).
  Bytes tagged(std::begin(header), std::end(header));
  for (std::uint8_t byte : frame) tagged.push_back(byte);
  for (std::uint8_t byte : audio) tagged.push_back(byte);
  return tagged;
}

}  // namespace media::audio::testkit
