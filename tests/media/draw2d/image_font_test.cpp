#include "media/draw2d/image_font.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/default_font.h"
#include "media/resources/embedded_files.h"
#include "media/resources/stream_factory.h"

namespace media {
namespace {

// A source font with three glyphs: 'A' (3 x 2 pixels at (1, 2), advance 5.5), space (no
// pixels, advance 4) and 'B' (1 x 1 at (-1, 0), advance 2.25). Everything else is missing.
class FakeFont : public TFont {
 public:
  FakeFont() {
    glyphs_[0] = {TPixmap::Create(3, 2, kPixelFormatA8), 5.5f, 1, 2, 3, 2};
    glyphs_[1] = {nullptr, 4.0f, 0, 0, 0, 0};
    glyphs_[2] = {TPixmap::Create(1, 1, kPixelFormatA8), 2.25f, -1, 0, 1, 1};
    glyphs_[0]._pixmap->pixels[0] = 200;
  }
  int Style() const override { return 0; }
  int Height() const override { return 11; }
  int CountGlyphs() const override { return 3; }
  int CharToGlyph(int code) const override {
    static const std::map<int, int> kCodes = {{u'A', 0}, {u' ', 1}, {u'B', 2}};
    auto it = kCodes.find(code);
    return it == kCodes.end() ? -1 : it->second;
  }
  const TGlyph& LoadGlyph(int index) override {
    ++loads[index];
    return glyphs_[index];
  }
  std::map<int, int> loads;

 private:
  TGlyph glyphs_[3];
};

struct DrawCall {
  float x1, y1, tx, ty, sw, sh;
  bool operator==(const DrawCall&) const = default;
};

// Records the quads a glyph image is drawn with.
class RecordingFrame : public TImageFrame {
 public:
  explicit RecordingFrame(std::vector<std::pair<char, DrawCall>>& log, char name)
      : log_(log), name_(name) {}
  void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
            float sw, float sh) override {
    EXPECT_EQ(x0, 0.0f);
    EXPECT_EQ(y0, 0.0f);
    EXPECT_EQ(sx, 0.0f);
    EXPECT_EQ(sy, 0.0f);
    log_.push_back({name_, {x1, y1, tx, ty, sw, sh}});
  }

 private:
  std::vector<std::pair<char, DrawCall>>& log_;
  char name_;
};

class ImageFontDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = TImageFont::Create(source_, 0);
    ASSERT_TRUE(font_);
    // Give the glyph images textures for the current display, as their first draw would.
    InstallFrame(u'A', 'A');
    InstallFrame(u'B', 'B');
  }
  void InstallFrame(char16_t code, char name) {
    const TImageGlyph& glyph = font_->LoadGlyph(font_->CharToGlyph(code));
    ASSERT_TRUE(glyph._image);
    glyph._image->frames[0] = std::make_shared<RecordingFrame>(log_, name);
    glyph._image->seqs[0] = GraphicsSeq();
  }

  std::shared_ptr<FakeFont> source_ = std::make_shared<FakeFont>();
  std::shared_ptr<TImageFont> font_;
  std::vector<std::pair<char, DrawCall>> log_;
};

TEST_F(ImageFontDrawing, PenAdvancesByGlyphAndSkipsMissingCharacters) {
  font_->Draw(u"A?A B\u00e9B", 10.0f, 20.0f, 1.0f, 0.0f, 0.0f, 1.0f);
  // '?' and 'é' are missing: no draw, no advance. The space draws nothing but advances 4.
  const std::vector<std::pair<char, DrawCall>> expected = {
      {'A', {3, 2, 10 + 1, 20 + 2, 3, 2}},
      {'A', {3, 2, 15.5f + 1, 20 + 2, 3, 2}},
      {'B', {1, 1, 25 - 1, 20, 1, 1}},
      {'B', {1, 1, 27.25f - 1, 20, 1, 1}},
  };
  EXPECT_EQ(log_, expected);
}

TEST_F(ImageFontDrawing, MatrixTurnsBothTheOffsetsAndThePen) {
  // A quarter turn: x runs down the screen, y runs to the left.
  font_->Draw(u"AA", 100.0f, 50.0f, 0.0f, -1.0f, 1.0f, 0.0f);
  const std::vector<std::pair<char, DrawCall>> expected = {
      {'A', {3, 2, 100 - 2, 50 + 1, 3, 2}},
      {'A', {3, 2, 100 - 2, 55.5f + 1, 3, 2}},
  };
  EXPECT_EQ(log_, expected);
}

TEST_F(ImageFontDrawing, TextWidthTruncatesAfterEveryGlyph) {
  EXPECT_EQ(font_->TextWidth(u""), 0);
  EXPECT_EQ(font_->TextWidth(u"A"), 5);
  EXPECT_EQ(font_->TextWidth(u"AA"), 10);  // not 11: 5.5 -> 5, then 10.5 -> 10
  EXPECT_EQ(font_->TextWidth(u"A?\u00e9A"), 10);
  EXPECT_EQ(font_->TextWidth(u"A B"), 11);  // 5, 9, 11.25 -> 11
  EXPECT_EQ(font_->TextWidth(u"BBBB"), 8);  // 2, 4, 6, 8: the quarters never add up
  EXPECT_EQ(font_->TextWidth(u"???"), 0);
  EXPECT_EQ(font_->Height(), 11);
}

TEST_F(ImageFontDrawing, GlyphsAreMadeOnceWithWhiteImagesOfTheirOwn) {
  font_->TextWidth(u"AAAA");
  font_->Draw(u"AA", 0, 0, 1, 0, 0, 1);
  EXPECT_EQ(source_->loads[0], 1);
  EXPECT_EQ(source_->loads.count(2), 1u);  // B was loaded once, by SetUp

  const TImageGlyph& a = font_->LoadGlyph(0);
  EXPECT_EQ(a._advance, 5.5f);
  EXPECT_EQ(a._x, 1);
  EXPECT_EQ(a._y, 2);
  EXPECT_EQ(a._image->flags, 0);
  auto pixmap = a._image->Lock(0, true, false);
  EXPECT_NE(pixmap, source_->LoadGlyph(0)._pixmap);  // a copy
  std::uint8_t rgba[4];
  pixmap->ReadRgba(0, 0, rgba);
  EXPECT_EQ(rgba[0], 255);
  EXPECT_EQ(rgba[3], 200);
  EXPECT_FALSE(font_->LoadGlyph(1)._image);
  EXPECT_FALSE(font_->LoadGlyph(3)._image);
  EXPECT_FALSE(font_->LoadGlyph(-1)._image);
}

TEST(ImageFont, SmoothFontsGetFilteredMipmappedGlyphImages) {
  auto smooth = TImageFont::Create(std::make_shared<FakeFont>(), kFontSmooth);
  EXPECT_EQ(smooth->LoadGlyph(0)._image->flags, kImageFiltered | kImageMipmapped);
  auto boldItalic = TImageFont::Create(std::make_shared<FakeFont>(), kFontBold | kFontItalic);
  EXPECT_EQ(boldItalic->LoadGlyph(0)._image->flags, 0);
  EXPECT_FALSE(TImageFont::Create(nullptr, 0));
}

TEST(ImageFont, LoadImageFontGivesNullForFontsThatCannotBeOpened) {
  ResetEmbeddedFilesForTesting();
  InitStreams();
  EXPECT_FALSE(LoadImageFont(u"incbin::fonts/HoboStd.otf", 24, 4));
  EXPECT_FALSE(LoadImageFont(u"nowhere::at/all", 24, 4));
}

TEST(DefaultFont, CoversCodes32To127With8By16Glyphs) {
  auto font = DefaultImageFont();
  ASSERT_TRUE(font);
  EXPECT_EQ(font, DefaultImageFont());  // built once
  EXPECT_EQ(font->Height(), 16);
  EXPECT_EQ(font->CharToGlyph(31), -1);
  EXPECT_EQ(font->CharToGlyph(32), 0);
  EXPECT_EQ(font->CharToGlyph(u'A'), 33);
  EXPECT_EQ(font->CharToGlyph(127), 95);
  EXPECT_EQ(font->CharToGlyph(128), -1);
  EXPECT_EQ(font->CharToGlyph(u'\u00c5'), -1);
  EXPECT_EQ(font->TextWidth(u"Hi there!"), 72);
  EXPECT_EQ(font->TextWidth(u"\u00e5\u00f8"), 0);

  const std::uint8_t* bitmap = DefaultFontBitmap();
  // Shapes as strings: GCC 12 at -O3 misreads a set of byte vectors' comparison as an
  // overlong memcmp.
  std::set<std::string> shapes;
  for (int j = 0; j < kDefaultFontGlyphs; ++j) {
    SCOPED_TRACE(j + 32);
    const TImageGlyph& glyph = font->LoadGlyph(j);
    ASSERT_TRUE(glyph._image);
    EXPECT_EQ(glyph._advance, 8.0f);
    EXPECT_EQ(glyph._x, 0);
    EXPECT_EQ(glyph._y, 0);
    EXPECT_EQ(glyph._image->width, 8);
    EXPECT_EQ(glyph._image->height, 16);
    auto pixmap = glyph._image->Lock(0, true, false);
    std::vector<std::uint8_t> shape;
    int set = 0;
    for (int i = 0; i < 16; ++i) {
      const std::uint8_t bits = bitmap[i * kDefaultFontGlyphs + j];
      shape.push_back(bits);
      for (int x = 0; x < 8; ++x) {
        std::uint8_t rgba[4];
        pixmap->ReadRgba(x, i, rgba);
        ASSERT_EQ(rgba[3], (bits >> x) & 1 ? 255 : 0) << x << "," << i;
        ASSERT_EQ(rgba[0], 255);
        set += rgba[3] != 0;
      }
    }
    // Only the space is blank, and no two characters look alike.
    EXPECT_EQ(set == 0, j == 0);
    EXPECT_TRUE(shapes.insert(std::string(shape.begin(), shape.end())).second);
  }
}

TEST(DefaultFont, BitmapIsServedByTheResourceStore) {
  ResetEmbeddedFilesForTesting();
  InitDrawingData();
  InitDrawingData();
  ASSERT_EQ(EmbeddedFileSize(kDefaultFontResource), kDefaultFontBitmapBytes);
  EXPECT_EQ(EmbeddedFileData(kDefaultFontResource), DefaultFontBitmap());
  // Bit 0 is the leftmost pixel: the '|' bar stands in pixel column 3.
  EXPECT_EQ(DefaultFontBitmap()[5 * kDefaultFontGlyphs + (u'|' - 32)], 1 << 3);
  // The letter L's foot is its bottom body row, pixel rows 13 and 14, five pixels wide.
  EXPECT_EQ(DefaultFontBitmap()[14 * kDefaultFontGlyphs + (u'L' - 32)], 0b00111110);
  ResetEmbeddedFilesForTesting();
}

}  // namespace
}  // namespace media
