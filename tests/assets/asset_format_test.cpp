// Format facts of the committed asset files, read straight from their bytes so the check does
// not trust the program's own decoders.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Load(const std::string& name) {
  std::ifstream in(std::string(MUSICDISK_ASSET_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Be32(const Bytes& b, size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
         (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}
std::uint32_t Le32(const Bytes& b, size_t at) {
  return b[at] | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}
std::string Tag(const Bytes& b, size_t at, size_t n) { return std::string(b.begin() + at, b.begin() + at + n); }

struct PngFacts {
  std::uint32_t width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0;
  int paletteEntries = 0;
  bool paletteHasBlack = false;
  bool hasTrns = false;
};

std::optional<PngFacts> ReadPng(const Bytes& b) {
  static const std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  if (b.size() < 33 || !std::equal(kSignature, kSignature + 8, b.begin())) return std::nullopt;
  PngFacts facts;
  size_t at = 8;
  while (at + 12 <= b.size()) {
    const std::uint32_t length = Be32(b, at);
    const std::string type = Tag(b, at + 4, 4);
    if (at + 12 + length > b.size()) return std::nullopt;
    const size_t data = at + 8;
    if (type == "IHDR") {
      facts.width = Be32(b, data);
      facts.height = Be32(b, data + 4);
      facts.bitDepth = b[data + 8];
      facts.colourType = b[data + 9];
      facts.interlace = b[data + 12];
    } else if (type == "PLTE") {
      facts.paletteEntries = static_cast<int>(length / 3);
      for (std::uint32_t i = 0; i + 2 < length; i += 3) {
        if (b[data + i] == 0 && b[data + i + 1] == 0 && b[data + i + 2] == 0) facts.paletteHasBlack = true;
      }
    } else if (type == "tRNS") {
      facts.hasTrns = true;
    } else if (type == "IEND") {
      return facts;
    }
    at += 12 + length;
  }
  return std::nullopt;  // no IEND: truncated
}

TEST(AssetFormat, RgbaPicturesHaveTheirSizesAndExactlyOneIsInterlaced) {
  struct Expect {
    const char* name;
    std::uint32_t width, height;
  };
  const Expect pictures[] = {{"gfx/v.png", 145, 125}, {"gfx/o.png", 145, 125},
                             {"gfx/k.png", 145, 125}, {"gfx/logo.png", 746, 216},
                             {"gfx/infopad.png", 491, 465}};
  int interlaced = 0;
  for (const Expect& e : pictures) {
    SCOPED_TRACE(e.name);
    const auto png = ReadPng(Load(e.name));
    ASSERT_TRUE(png.has_value());
    EXPECT_EQ(png->width, e.width);
    EXPECT_EQ(png->height, e.height);
    EXPECT_EQ(png->colourType, 6);  // RGBA
    EXPECT_EQ(png->bitDepth, 8);
    interlaced += png->interlace;
  }
  EXPECT_EQ(interlaced, 1);
}

TEST(AssetFormat, ScrollBandIsASmallInterlacedPaletteWithoutBlackOrTransparency) {
  const auto png = ReadPng(Load("gfx/scrollborders.png"));
  ASSERT_TRUE(png.has_value());
  EXPECT_EQ(png->width, 800u);
  EXPECT_EQ(png->height, 74u);
  EXPECT_EQ(png->colourType, 3);
  EXPECT_EQ(png->interlace, 1);
  EXPECT_GE(png->paletteEntries, 2);
  EXPECT_LE(png->paletteEntries, 10);
  EXPECT_FALSE(png->paletteHasBlack);
  EXPECT_FALSE(png->hasTrns);
}

// True when the sfnt table directory lists `tag`.
bool HasTable(const Bytes& b, const std::string& tag) {
  if (b.size() < 12) return false;
  const int tables = (b[4] << 8) | b[5];
  for (int i = 0; i < tables && 12 + 16 * (i + 1) <= static_cast<int>(b.size()); ++i) {
    if (Tag(b, 12 + 16 * i, 4) == tag) return true;
  }
  return false;
}

TEST(AssetFormat, FontsAreCffAndTrueTypeOutlines) {
  const Bytes otf = Load("fonts/HoboStd.otf");
  ASSERT_GE(otf.size(), 12u);
  EXPECT_EQ(Tag(otf, 0, 4), "OTTO");
  EXPECT_TRUE(HasTable(otf, "CFF "));
  EXPECT_FALSE(HasTable(otf, "glyf"));

  const Bytes ttf = Load("fonts/Erika_Ormig.ttf");
  ASSERT_GE(ttf.size(), 12u);
  EXPECT_EQ(Be32(ttf, 0), 0x00010000u);
  EXPECT_TRUE(HasTable(ttf, "glyf"));
  EXPECT_FALSE(HasTable(ttf, "CFF "));
}

struct Mp3Facts {
  int id3Major = 0;          // 0 when the file has no ID3v2 tag
  bool id3v1 = false;        // "TAG" block at the end
  int sampleRate = 0;        // of the first audio frame
  bool stereo = false;
};

std::optional<Mp3Facts> ReadMp3(const Bytes& b) {
  Mp3Facts facts;
  size_t at = 0;
  if (b.size() >= 10 && Tag(b, 0, 3) == "ID3") {
    facts.id3Major = b[3];
    const std::uint32_t size = (b[6] << 21) | (b[7] << 14) | (b[8] << 7) | b[9];  // syncsafe
    at = 10 + size;
  }
  facts.id3v1 = b.size() >= 128 && Tag(b, b.size() - 128, 3) == "TAG";
  if (at + 4 > b.size()) return std::nullopt;
  // The first frame must follow the tag directly: MPEG-1 Layer III.
  if (b[at] != 0xFF || (b[at + 1] & 0xFE) != 0xFA) return std::nullopt;
  static const int kRates[3] = {44100, 48000, 32000};
  const int rateIndex = (b[at + 2] >> 2) & 3;
  if (rateIndex == 3) return std::nullopt;
  facts.sampleRate = kRates[rateIndex];
  facts.stereo = ((b[at + 3] >> 6) & 3) != 3;
  return facts;
}

TEST(AssetFormat, MusicFilesCarryTheirTagVersionsAndAreStereo44100) {
  struct Expect {
    const char* name;
    int id3Major;
  };
  const Expect tracks[] = {{"sound/fennick - basswobbler.mp3", 3},
                           {"sound/VorWIP2.mp3", 2},
                           {"sound/01.mp3", 0},
                           {"sound/03.mp3", 0},
                           {"sound/fennick - glw.mp3", 3}};
  for (const Expect& e : tracks) {
    SCOPED_TRACE(e.name);
    const auto mp3 = ReadMp3(Load(e.name));
    ASSERT_TRUE(mp3.has_value());
    EXPECT_EQ(mp3->id3Major, e.id3Major);
    EXPECT_FALSE(mp3->id3v1);
    EXPECT_EQ(mp3->sampleRate, 44100);
    EXPECT_TRUE(mp3->stereo);
  }
}

TEST(AssetFormat, OggPieceIsStereoVorbis) {
  const Bytes b = Load("sound/music.ogg");
  ASSERT_GE(b.size(), 58u);
  EXPECT_EQ(Tag(b, 0, 4), "OggS");
  const size_t segments = b[26];
  const size_t packet = 27 + segments;  // first packet: the identification header
  ASSERT_GE(b.size(), packet + 16);
  EXPECT_EQ(b[packet], 1);
  EXPECT_EQ(Tag(b, packet + 1, 6), "vorbis");
  EXPECT_EQ(b[packet + 11], 2);  // channels
  EXPECT_EQ(Le32(b, packet + 12), 44100u);
}

}  // namespace
