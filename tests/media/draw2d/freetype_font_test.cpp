#include "media/draw2d/freetype_font.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "media/draw2d/image_font.h"
#include "media/resources/embedded_files.h"
#include "media/resources/stream_factory.h"
#include "media/resources/utf16.h"
#include "test_files.h"

namespace media {
namespace {

// The two embedded fonts, registered under their resource names for each test.
class FreeTypeFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEmbeddedFilesForTesting();
    InitStreams();
    ASSERT_FALSE(hobo_.empty());
    ASSERT_FALSE(erika_.empty());
    Register(u"fonts/HoboStd.otf", hobo_);
    Register(u"fonts/Erika_Ormig.ttf", erika_);
  }
  void TearDown() override { ResetEmbeddedFilesForTesting(); }
  static void Register(std::u16string_view name, const std::vector<std::uint8_t>& bytes) {
    RegisterEmbeddedFile(name, bytes.data(), static_cast<std::int32_t>(bytes.size()));
  }

  const std::vector<std::uint8_t> hobo_ =
      testing::ReadFileBytes(testing::AssetPath("fonts/HoboStd.otf"));
  const std::vector<std::uint8_t> erika_ =
      testing::ReadFileBytes(testing::AssetPath("fonts/Erika_Ormig.ttf"));
};

TEST_F(FreeTypeFontTest, LoadsBothFontsWithMetricsOfTheirSize) {
  for (auto [url, size] : {std::pair{u"incbin::fonts/HoboStd.otf", 24},
                           std::pair{u"incbin::fonts/Erika_Ormig.ttf", 82},
                           std::pair{u"INCBIN::fonts/Erika_Ormig.ttf", 40}}) {
    SCOPED_TRACE(size);
    auto font = TFreeTypeFont::Load(url, size, kFontSmooth);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Style(), kFontSmooth);
    EXPECT_GT(font->Ascend(), size / 2);
    EXPECT_LT(font->Descend(), 0);
    EXPECT_GE(font->Height(), font->Ascend() - font->Descend() - 1);
    EXPECT_LT(font->Height(), size * 2);
    EXPECT_GT(font->CountGlyphs(), 95);
  }
}

TEST_F(FreeTypeFontTest, CharactersMapToFaceIndexMinusOne) {
  auto font = TFreeTypeFont::Load(u"incbin::fonts/HoboStd.otf", 24, 0);
  ASSERT_TRUE(font);
  for (char16_t c : std::u16string_view(u"AZaz09 ÅøØ!")) {
    EXPECT_GE(font->CharToGlyph(c), 0) << static_cast<int>(c);
    EXPECT_LT(font->CharToGlyph(c), font->CountGlyphs());
  }
  EXPECT_NE(font->CharToGlyph(u'A'), font->CharToGlyph(u'B'));
  EXPECT_EQ(font->CharToGlyph(0xD800), -1);  // a lone surrogate has no glyph
  EXPECT_EQ(font->CharToGlyph(-5), -1);
  // Index -1 (the face's "missing" glyph) and indices past the end are empty.
  EXPECT_FALSE(font->LoadGlyph(-1)._pixmap);
  EXPECT_EQ(font->LoadGlyph(font->CountGlyphs())._advance, 0.0f);
}

TEST_F(FreeTypeFontTest, SmoothGlyphsGetATransparentBorderAndMoveUpLeft) {
  auto plain = TFreeTypeFont::Load(u"incbin::fonts/Erika_Ormig.ttf", 40, 0);
  auto smooth = TFreeTypeFont::Load(u"incbin::fonts/Erika_Ormig.ttf", 40, kFontSmooth);
  ASSERT_TRUE(plain && smooth);
  const TGlyph& p = plain->LoadGlyph(plain->CharToGlyph(u'W'));
  const TGlyph& s = smooth->LoadGlyph(smooth->CharToGlyph(u'W'));
  ASSERT_TRUE(p._pixmap && s._pixmap);
  EXPECT_EQ(p._pixmap->format, kPixelFormatA8);
  EXPECT_EQ(s._pixmap->format, kPixelFormatA8);
  EXPECT_GT(p._w, 10);
  EXPECT_EQ(p._pixmap->width, p._w);
  EXPECT_EQ(p._pixmap->height, p._h);
  EXPECT_EQ(s._w, p._w + 2);
  EXPECT_EQ(s._h, p._h + 2);
  EXPECT_EQ(s._x, p._x - 1);
  EXPECT_EQ(s._y, p._y - 1);
  EXPECT_EQ(s._pixmap->width, s._w);
  EXPECT_EQ(s._advance, p._advance);
  // A capital hangs below the top of the line, within the ascent.
  EXPECT_GE(p._y, 0);
  EXPECT_LT(p._y, plain->Ascend());

  int covered = 0;
  for (int y = 0; y < s._h; ++y) {
    for (int x = 0; x < s._w; ++x) {
      const std::uint8_t a = s._pixmap->PixelPtr(x, y)[0];
      if (x == 0 || y == 0 || x == s._w - 1 || y == s._h - 1) {
        ASSERT_EQ(a, 0) << "border at " << x << "," << y;
      } else {
        ASSERT_EQ(a, p._pixmap->PixelPtr(x - 1, y - 1)[0]) << x << "," << y;
      }
      covered += a == 255;
    }
  }
  EXPECT_GT(covered, 0);
}

TEST_F(FreeTypeFontTest, SpaceHasAnAdvanceButNoPixels) {
  auto font = TFreeTypeFont::Load(u"incbin::fonts/HoboStd.otf", 24, kFontSmooth);
  ASSERT_TRUE(font);
  const TGlyph& space = font->LoadGlyph(font->CharToGlyph(u' '));
  EXPECT_FALSE(space._pixmap);
  EXPECT_GT(space._advance, 0.0f);
  EXPECT_EQ(space._w, 0);  // no border either
}

TEST_F(FreeTypeFontTest, FontsThatCannotBeHadGiveNull) {
  const std::vector<std::uint8_t> garbage(4096, 0x5A);
  Register(u"fonts/garbage.ttf", garbage);
  Register(u"fonts/empty.ttf", {});
  EXPECT_FALSE(TFreeTypeFont::Load(u"incbin::fonts/missing.otf", 24, 4));  // no exception
  EXPECT_FALSE(TFreeTypeFont::Load(u"incbin::fonts/garbage.ttf", 24, 4));
  EXPECT_FALSE(TFreeTypeFont::Load(u"incbin::fonts/empty.ttf", 24, 4));
  EXPECT_FALSE(TFreeTypeFont::Load(u"incbin::fonts/HoboStd.otf", 0, 4));
  EXPECT_FALSE(TFreeTypeFont::Load(u"/no/such/font.ttf", 24, 4));
  // "::" at the very start is no protocol: that is a file name, and there is no such file.
  EXPECT_FALSE(TFreeTypeFont::Load(u"::fonts/HoboStd.otf", 24, 4));
}

TEST_F(FreeTypeFontTest, PathWithoutProtocolOpensTheFile) {
  auto font = TFreeTypeFont::Load(Utf8ToUtf16(testing::AssetPath("fonts/HoboStd.otf")), 24, 4);
  ASSERT_TRUE(font);
  EXPECT_GE(font->CharToGlyph(u'Q'), 0);
}

// A bitmap font has one fixed size: larger requests step down to it, smaller ones find
// nothing. Its glyphs are one bit deep.
TEST_F(FreeTypeFontTest, FixedSizeFontStepsDownToItsSizeAndRendersOneBitGlyphs) {
  const std::string path = "/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "needs the X11 misc fonts";
  auto font = TFreeTypeFont::Load(Utf8ToUtf16(path), 20, 0);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Height(), 13);
  EXPECT_FALSE(TFreeTypeFont::Load(Utf8ToUtf16(path), 12, 0));

  // The font's cells are whole 6 x 13 bitmaps; the bits run most significant first.
  const TGlyph& glyph = font->LoadGlyph(font->CharToGlyph(u'H'));
  ASSERT_TRUE(glyph._pixmap);
  EXPECT_EQ(glyph._advance, 6.0f);
  std::string picture;
  for (int y = 0; y < glyph._h; ++y) {
    for (int x = 0; x < glyph._w; ++x) {
      const std::uint8_t a = glyph._pixmap->PixelPtr(x, y)[0];
      ASSERT_TRUE(a == 0 || a == 255);
      picture += a == 255 ? '#' : '.';
    }
    picture += '\n';
  }
  EXPECT_EQ(picture,
            "......\n......\n#...#.\n#...#.\n#...#.\n#...#.\n#####.\n"
            "#...#.\n#...#.\n#...#.\n#...#.\n......\n......\n");
}

TEST_F(FreeTypeFontTest, ImageFontOverFreeTypeMeasuresWithTheSourceAdvances) {
  auto font = LoadImageFont(u"incbin::fonts/Erika_Ormig.ttf", 40, kFontSmooth);
  auto source = TFreeTypeFont::Load(u"incbin::fonts/Erika_Ormig.ttf", 40, kFontSmooth);
  ASSERT_TRUE(font && source);
  const std::u16string_view text = u"Hello, Wörld";
  int expected = 0;
  for (char16_t c : text) {
    expected = static_cast<int>(expected + source->LoadGlyph(source->CharToGlyph(c))._advance);
  }
  EXPECT_GT(expected, 150);
  EXPECT_EQ(font->TextWidth(text), expected);
  EXPECT_EQ(font->Height(), source->Height());

  const TImageGlyph& w = font->LoadGlyph(font->CharToGlyph(u'W'));
  const TGlyph& sw = source->LoadGlyph(source->CharToGlyph(u'W'));
  ASSERT_TRUE(w._image);
  EXPECT_EQ(w._image->width, sw._w);
  EXPECT_EQ(w._image->height, sw._h);
  EXPECT_EQ(w._image->flags, kImageFiltered | kImageMipmapped);
}

// A damaged bitmap font (found by fuzz/fuzz_font): FreeType gives its glyph a size but no
// pixel buffer. The glyph comes out blank instead of being read from nowhere.
TEST(FreeTypeFontDamage, AGlyphWithASizeButNoPixelsIsBlank) {
  static const char kBdf[] =
      "STARTFONT 2.1\nFONT -fuzz-seed-medium-r-norFONT 2.1\n"
      "FONT -fuzseed-medium-r-normal--8-80-75-75-c-80-iso8859-1\nSIZE 8 75 75\n"
      "FONTBOUNDINGBOX 4 4 0 KKKKKKKKKKKKooooooo\nCHARS 1\nSTARTCHAR A\nENCODING 69\n"
      "SWIDTH 500 0\nDWIDTH 5 0\nBBX 4Type 1tt-55555555555555555555555555555A\nENCODING 65\n"
      "SWIDTH 500 0\nDWIDTH 5 0\nBBX 4 4 0 0\nBITMAP\nF0\n90\n90\x0b"
      "F0\nENDCHAR\nENDFONT\n";
  ResetEmbeddedFilesForTesting();
  InitStreams();
  RegisterEmbeddedFile(u"fonts/damaged.bdf", kBdf, sizeof kBdf - 1);
  auto font = TFreeTypeFont::Load(u"incbin::fonts/damaged.bdf", 59, kFontSmooth);
  ASSERT_TRUE(font);
  ASSERT_GT(font->CountGlyphs(), 0);
  int blank = 0;
  for (int index = 0; index < font->CountGlyphs(); ++index) {
    const TGlyph& glyph = font->LoadGlyph(index);
    if (glyph._pixmap) {
      EXPECT_EQ(glyph._pixmap->width, glyph._w);
      EXPECT_EQ(glyph._pixmap->height, glyph._h);
    } else {
      ++blank;
    }
  }
  EXPECT_GT(blank, 0);
  ResetEmbeddedFilesForTesting();
}

}  // namespace
}  // namespace media
