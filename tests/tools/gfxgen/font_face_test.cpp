#include <gtest/gtest.h>

#include "tools/gfxgen/font_face.h"
#include "tools/gfxgen/mask.h"

namespace gfxgen {
namespace {

const std::filesystem::path kFonts = GFXGEN_FONT_DIR;

TEST(EmbeddedFonts, HaveTheOutlineFormatsAndLettersTheProgramNeeds) {
  const FontFace panel(kFonts / "HoboStd.otf");
  const FontFace scroll(kFonts / "Erika_Ormig.ttf");
  EXPECT_EQ(panel.format(), "CFF");
  EXPECT_EQ(scroll.format(), "TrueType");
  for (const FontFace* font : {&panel, &scroll}) {
    for (char32_t c :
         std::u32string_view(U"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,!:/=*\u00F8\u00C5")) {
      EXPECT_TRUE(font->hasGlyph(c)) << font->format() << " lacks U+" << std::hex << unsigned(c);
    }
  }
}

TEST(FontFace, GlyphOutlinesKeepTheirCounters) {
  const FontFace font(kFonts / "HoboStd.otf");
  const Bounds units = font.glyph(U'O', Affine{}).bounds();
  const double scale = 80.0 / units.height();
  Affine toPixels = Affine::scale(scale, -scale);
  toPixels.tx = 50.0 - scale * (units.minX + units.maxX) / 2;
  toPixels.ty = 50.0 + scale * (units.minY + units.maxY) / 2;
  const Mask o = fill(font.glyph(U'O', toPixels), 100, 100);
  EXPECT_FLOAT_EQ(o.at(50, 50), 0.0f) << "the counter of O is filled";
  EXPECT_FLOAT_EQ(o.at(50, 16), 1.0f) << "the top of the ring is missing";
  EXPECT_FLOAT_EQ(o.at(50, 94), 0.0f);
  EXPECT_GT(font.advance(U'O'), units.width() * 0.9);
}

TEST(FontFace, MissingFilesAndCharactersAreErrors) {
  EXPECT_THROW(FontFace(kFonts / "no-such-font.otf"), std::runtime_error);
  const FontFace font(kFonts / "HoboStd.otf");
  EXPECT_FALSE(font.hasGlyph(U'\U0010FFFD'));
  EXPECT_THROW(font.glyph(U'\U0010FFFD', Affine{}), std::runtime_error);
}

}  // namespace
}  // namespace gfxgen
