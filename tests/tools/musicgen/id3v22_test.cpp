#include "musicgen/id3v22.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace musicgen {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct ParsedTag {
  int major = 0, revision = 0, flags = 0;
  std::uint32_t size = 0;
  std::map<std::string, std::string> text;  // frame id -> ISO-8859-1 text
};

// A reader written from the format description, sharing nothing with the writer.
std::optional<ParsedTag> parseId3v22(const Bytes& b) {
  if (b.size() < 10 || b[0] != 'I' || b[1] != 'D' || b[2] != '3') return std::nullopt;
  ParsedTag tag{b[3], b[4], b[5], 0, {}};
  for (int i = 6; i < 10; ++i) {
    if (b[i] & 0x80) return std::nullopt;  // not syncsafe
    tag.size = (tag.size << 7) | b[i];
  }
  if (10 + tag.size > b.size()) return std::nullopt;
  Bytes body(b.begin() + 10, b.begin() + 10 + tag.size);
  if (tag.flags & 0x80) {  // undo unsynchronisation: drop each 0x00 that follows 0xFF
    Bytes plain;
    for (std::size_t i = 0; i < body.size(); ++i) {
      plain.push_back(body[i]);
      if (body[i] == 0xFF && i + 1 < body.size() && body[i + 1] == 0x00) ++i;
    }
    body = plain;
  }
  std::size_t at = 0;
  while (at + 6 <= body.size() && body[at] != 0) {
    const std::string id(body.begin() + at, body.begin() + at + 3);
    const std::size_t size =
        (std::size_t{body[at + 3]} << 16) | (std::size_t{body[at + 4]} << 8) | body[at + 5];
    if (at + 6 + size > body.size() || size < 1 || body[at + 6] != 0) return std::nullopt;
    tag.text[id] = std::string(body.begin() + at + 7, body.begin() + at + 6 + size);
    at += 6 + size;
  }
  if (at != body.size()) return std::nullopt;
  return tag;
}

TEST(Id3v22, TagReadsBackAsVersionTwoPointTwoWithTitleAndArtist) {
  const Bytes tag = buildId3v22Tag("Vortek 3", "Ravenfel");
  const auto parsed = parseId3v22(tag);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->major, 2);
  EXPECT_EQ(parsed->revision, 0);
  EXPECT_EQ(parsed->flags, 0);
  EXPECT_EQ(parsed->size + 10, tag.size());
  EXPECT_EQ(parsed->text.size(), 2u);
  EXPECT_EQ(parsed->text.at("TT2"), "Vortek 3");
  EXPECT_EQ(parsed->text.at("TP1"), "Ravenfel");
  // Frame layout straight from the bytes: 3-letter id, 3-byte size, encoding 0.
  EXPECT_EQ(std::string(tag.begin() + 10, tag.begin() + 13), "TT2");
  EXPECT_EQ((Bytes{tag.begin() + 13, tag.begin() + 17}), (Bytes{0, 0, 9, 0}));
}

TEST(Id3v22, SizesAreSyncsafeBeyondSevenBits) {
  EXPECT_EQ(syncsafe(0), (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(syncsafe(127), (std::array<std::uint8_t, 4>{0, 0, 0, 127}));
  EXPECT_EQ(syncsafe(128), (std::array<std::uint8_t, 4>{0, 0, 1, 0}));
  EXPECT_EQ(syncsafe(0x0FFFFFFF), (std::array<std::uint8_t, 4>{127, 127, 127, 127}));
  EXPECT_THROW(syncsafe(1u << 28), std::invalid_argument);

  const std::string longTitle(300, 'a');
  const Bytes tag = buildId3v22Tag(longTitle, "x");
  EXPECT_EQ((Bytes{tag.begin() + 6, tag.begin() + 10}),
            (Bytes{0, 0, 2, 59}));  // 6+301 + 6+2 = 315 = 2*128 + 59
  const auto parsed = parseId3v22(tag);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->text.at("TT2"), longTitle);
  EXPECT_EQ(parsed->text.at("TP1"), "x");
}

TEST(Id3v22, TextBecomesLatinOneOrIsRefused) {
  EXPECT_EQ(utf8ToLatin1("Gløw"), "Gl\xF8w");
  EXPECT_EQ(utf8ToLatin1("Åb"),
            "\xC5"
            "b");
  EXPECT_THROW(utf8ToLatin1("5 €"), std::invalid_argument);   // outside ISO-8859-1
  EXPECT_THROW(utf8ToLatin1("ő"), std::invalid_argument);     // two bytes, but past U+00FF
  EXPECT_THROW(utf8ToLatin1("\xC3"), std::invalid_argument);  // cut short
  EXPECT_THROW(utf8ToLatin1("\xC3"
                            "A"),
               std::invalid_argument);
  EXPECT_THROW(utf8ToLatin1("\xC1\x81"), std::invalid_argument);  // overlong 'A'
  const auto parsed = parseId3v22(buildId3v22Tag("Gløw", "Fennick"));
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->text.at("TT2"), "Gl\xF8w");
}

TEST(Id3v22, TextThatLooksLikeMpegSyncIsUnsynchronised) {
  // "ÿÿ" is 0xFF 0xFF in ISO-8859-1: a decoder scanning the tag would take it for a frame.
  const Bytes tag = buildId3v22Tag("ÿÿ", "ÿ");
  EXPECT_EQ(tag[5] & 0x80, 0x80);
  for (std::size_t i = 10; i + 1 < tag.size(); ++i)
    EXPECT_FALSE(tag[i] == 0xFF && tag[i + 1] >= 0xE0) << "false sync at " << i;
  EXPECT_NE(tag.back(), 0xFF);  // the audio's own 0xFF follows the tag
  const auto parsed = parseId3v22(tag);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->text.at("TT2"), "\xFF\xFF");
  EXPECT_EQ(parsed->text.at("TP1"), "\xFF");
}

TEST(Id3v22, RecognisesAnExistingTag) {
  EXPECT_TRUE(hasId3v2Tag(buildId3v22Tag("a", "b")));
  EXPECT_FALSE(hasId3v2Tag(Bytes{0xFF, 0xFB, 0x90, 0x64, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(hasId3v2Tag(Bytes{'I', 'D', '3'}));
}

}  // namespace
}  // namespace musicgen
