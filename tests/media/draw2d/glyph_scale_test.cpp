// Glyph images at the display's resolution: on a display with more pixels than the picture a
// font's glyphs are rendered that much finer and drawn at their usual size, while advances,
// boxes and text widths stay those of the font's own size; they are made again when the
// display's scale changes. Drawn through GL, a letter is the fine rendering pixel for pixel,
// not the glyph of the font's size enlarged. Full screen on SDL's offscreen driver (scale
// 1.28) runs wherever GL works; a window of twice the picture's size needs a virtual X server
// (MUSICDISK_X11_TESTS=1, see CMakeLists.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/freetype_font.h"
#include "media/draw2d/gl/gl_device.h"
#include "media/draw2d/gl/gl_driver.h"
#include "media/draw2d/image_font.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "media/resources/utf16.h"
#include "test_files.h"

namespace media {
namespace {

using testing::PixelAt;

std::u16string FontPath(const char* name) {
  return Utf8ToUtf16(testing::AssetPath(std::string("fonts/") + name));
}

// Same size, format and bytes.
bool SamePixels(const TPixmap& a, const TPixmap& b) {
  if (a.width != b.width || a.height != b.height || a.format != b.format) return false;
  for (int y = 0; y < a.height; ++y) {
    if (std::memcmp(a.PixelPtr(0, y), b.PixelPtr(0, y),
                    static_cast<size_t>(a.width) * BytesPerPixel(a.format)) != 0) {
      return false;
    }
  }
  return true;
}

// Ink of a coverage pixmap: its sum, and its centre of mass in pixels of the pixmap.
struct Ink {
  double sum = 0.0, x = 0.0, y = 0.0;
};
Ink InkOf(const TPixmap& coverage) {
  Ink ink;
  for (int y = 0; y < coverage.height; ++y) {
    for (int x = 0; x < coverage.width; ++x) {
      const double a = coverage.PixelPtr(x, y)[0];
      ink.sum += a;
      ink.x += a * (x + 0.5);
      ink.y += a * (y + 0.5);
    }
  }
  if (ink.sum > 0.0) {
    ink.x /= ink.sum;
    ink.y /= ink.sum;
  }
  return ink;
}

TEST(GlyphImageScale, IsAtLeastTheDisplaysAndAtMostAQuarterFiner) {
  EXPECT_EQ(GlyphImageScale(1.0f), 1.0f);
  EXPECT_EQ(GlyphImageScale(0.5f), 1.0f);  // a window smaller than the picture
  EXPECT_EQ(GlyphImageScale(NAN), 1.0f);
  EXPECT_EQ(GlyphImageScale(1.00001f), 1.0f);  // a rounding error is no finer display
  EXPECT_EQ(GlyphImageScale(2.0f), 2.0f);
  EXPECT_EQ(GlyphImageScale(40.0f), 4.0f);
  for (float scale = 1.01f; scale <= 4.0f; scale += 0.01f) {
    const float made = GlyphImageScale(scale);
    EXPECT_GE(made, scale) << scale;
    EXPECT_LE(made, scale + 0.25f) << scale;
    EXPECT_EQ(made * 4.0f, std::round(made * 4.0f)) << scale;
  }
}

// The fine rendering is the same glyph in the same place: twice the pixels each way, the ink
// (coverage over area) and its centre where the font's own rendering has them.
TEST(FreeTypeRenderScaled, TwiceAsFineCoversWhatTheGlyphCovers) {
  struct Case {
    const char* font;
    int size, style;
  };
  for (const Case& c : {Case{"Erika_Ormig.ttf", 82, kFontSmooth},
                        Case{"HoboStd.otf", 24, kFontSmooth}, Case{"Erika_Ormig.ttf", 40, 0}}) {
    auto font = TFreeTypeFont::Load(FontPath(c.font), c.size, c.style);
    ASSERT_TRUE(font) << c.font;
    const int border = (c.style & kFontSmooth) != 0 ? 1 : 0;
    for (char16_t code : std::u16string_view(u"WAgo.2")) {
      SCOPED_TRACE(std::string(c.font) + " " + std::to_string(c.size) + " " +
                   static_cast<char>(code));
      const int index = font->CharToGlyph(code);
      const TGlyph& own = font->LoadGlyph(index);
      const TScaledGlyph fine = font->RenderScaled(index, 2.0f);
      ASSERT_TRUE(own._pixmap && fine._pixmap);
      EXPECT_EQ(fine._scale, 2.0f);
      // In the font's pixels, without the transparent border (one pixel of either grid): the
      // font's own grid rounds the outline out to whole pixels, the finer one to half
      // pixels, so the fine box lies inside the font's box and less than a pixel in from each
      // side. Hinting at each size may move an edge a little more.
      constexpr float kHinting = 0.25f;
      const float b = static_cast<float>(border);
      const float ownBox[4] = {own._x + b, own._y + b, own._x + own._w - b, own._y + own._h - b};
      const float fineBox[4] = {fine._x + b / 2, fine._y + b / 2,
                                fine._x + (fine._pixmap->width - b) / 2,
                                fine._y + (fine._pixmap->height - b) / 2};
      for (int side = 0; side < 4; ++side) {
        const float inward = side < 2 ? fineBox[side] - ownBox[side] : ownBox[side] - fineBox[side];
        EXPECT_GT(inward, -kHinting) << "side " << side;
        EXPECT_LT(inward, 1.0f + kHinting) << "side " << side;
      }
      // A finer border stays transparent, for filtering.
      if (border != 0) {
        EXPECT_EQ(fine._pixmap->PixelPtr(0, 0)[0], 0);
      }
      const Ink ownInk = InkOf(*own._pixmap);
      const Ink fineInk = InkOf(*fine._pixmap);
      EXPECT_NEAR(fineInk.sum / 4.0, ownInk.sum, ownInk.sum * 0.08);
      EXPECT_NEAR(fine._x + fineInk.x / 2.0, own._x + ownInk.x, 0.35);
      EXPECT_NEAR(fine._y + fineInk.y / 2.0, own._y + ownInk.y, 0.35);
      // The font's own glyph is as it was before (LoadGlyph renders at the font's size).
      EXPECT_EQ(&font->LoadGlyph(index), &own);
    }
    // Its own size again: a glyph rendered first after the finer one has the same pixels as
    // one from a font that never rendered finer.
    auto fresh = TFreeTypeFont::Load(FontPath(c.font), c.size, c.style);
    const int index = font->CharToGlyph(u'M');
    const TGlyph& after = font->LoadGlyph(index);
    const TGlyph& never = fresh->LoadGlyph(index);
    ASSERT_TRUE(after._pixmap && never._pixmap);
    EXPECT_TRUE(SamePixels(*after._pixmap, *never._pixmap));
    EXPECT_EQ(after._advance, never._advance);
  }
}

// A driver whose displays claim a pixel scale.
class ScaledRecordingDriver : public testing::RecordingDriver {
 public:
  float PixelScale() override { return pixelScale; }
  float pixelScale = 1.0f;
};

class ImageFontOnScaledDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasForTesting();
    SetGraphicsDriver(&driver_, kGraphicsBackBuffer);
    font_ = LoadImageFont(FontPath("Erika_Ormig.ttf"), 82, kFontSmooth);
    source_ = TFreeTypeFont::Load(FontPath("Erika_Ormig.ttf"), 82, kFontSmooth);
    ASSERT_TRUE(font_ && source_);
  }
  void TearDown() override {
    ResetCanvasForTesting();
    SetEndHook(nullptr);
  }
  void Reopen(float scale) {
    CloseGraphics();
    driver_.pixelScale = scale;
    ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
    ASSERT_EQ(DisplayPixelScale(), scale);
  }
  const TImageGlyph& Glyph(char16_t code) { return font_->LoadGlyph(font_->CharToGlyph(code)); }

  ScaledRecordingDriver driver_;
  std::shared_ptr<TImageFont> font_;
  std::shared_ptr<TFreeTypeFont> source_;
};

TEST_F(ImageFontOnScaledDisplay, GlyphsAreMadeAtTheDisplaysScaleWithTheFontsOwnLayout) {
  const std::u16string_view text = u"Greetings to All, Wjq!";
  Reopen(1.0f);
  const int width = font_->TextWidth(text);
  const TImageGlyph own = Glyph(u'W');
  ASSERT_TRUE(own._image);
  // At 1 the image is the source's pixmap as it was, byte for byte.
  const TGlyph& sourceW = source_->LoadGlyph(source_->CharToGlyph(u'W'));
  EXPECT_EQ(own._image->pixel_scale, 1.0f);
  EXPECT_TRUE(SamePixels(*own._image->Lock(0, true, false), *sourceW._pixmap));
  EXPECT_EQ(own._imageX, static_cast<float>(own._x));
  EXPECT_EQ(own._imageY, static_cast<float>(own._y));

  Reopen(2.0f);
  const TImageGlyph& fine = Glyph(u'W');
  ASSERT_TRUE(fine._image);
  EXPECT_NE(fine._image, own._image);
  EXPECT_EQ(fine._image->pixel_scale, 2.0f);
  // Twice the pixels each way, drawn over the glyph's box: at most a pixel smaller on each
  // side (FreeTypeRenderScaled above), half of that the thinner transparent border.
  EXPECT_NEAR(fine._image->width, 2 * own._image->width - 3, 1);
  EXPECT_NEAR(fine._image->height, 2 * own._image->height - 3, 1);
  EXPECT_NEAR(fine._image->DrawnWidth(), own._w - 1.0f, 1.0f);
  EXPECT_NEAR(fine._image->DrawnHeight(), own._h - 1.0f, 1.0f);
  EXPECT_NEAR(fine._imageX, own._x + 0.5f, 0.5f);
  EXPECT_NEAR(fine._imageY, own._y + 0.5f, 0.5f);
  EXPECT_EQ(fine._image->flags, kImageFiltered | kImageMipmapped);
  // The layout is the font's own.
  EXPECT_EQ(fine._advance, own._advance);
  EXPECT_EQ(fine._x, own._x);
  EXPECT_EQ(fine._y, own._y);
  EXPECT_EQ(fine._w, own._w);
  EXPECT_EQ(fine._h, own._h);
  EXPECT_EQ(font_->TextWidth(text), width);
  EXPECT_EQ(font_->Height(), source_->Height());

  // Drawn, the quad is the image's drawn size at its place from the pen, textured with all of
  // its pixels.
  driver_.makeFrames = true;
  const size_t mark = driver_.log.size();
  SetImageFont(font_);
  DrawText(u"W", 100.0f, 50.0f);
  const auto draws = driver_.Calls("Draw ", mark);
  ASSERT_EQ(draws.size(), 1u);
  std::ostringstream expected;
  expected << "Draw 0 0 " << fine._image->DrawnWidth() << " " << fine._image->DrawnHeight() << " "
           << 100.0f + fine._imageX << " " << 50.0f + fine._imageY << " 0 0 " << fine._image->width
           << " " << fine._image->height;
  EXPECT_EQ(draws[0], expected.str());
}

TEST_F(ImageFontOnScaledDisplay, AnotherScaleRemakesTheGlyphsTheSameScaleKeepsThem) {
  Reopen(2.0f);
  const std::shared_ptr<TImage> atTwo = Glyph(u'A')._image;
  ASSERT_TRUE(atTwo);
  EXPECT_EQ(Glyph(u'A')._image, atTwo);  // asked again: the same image
  // 1.8 (full screen on 1920 x 1080) makes glyphs at 2 too.
  Reopen(1.8f);
  EXPECT_EQ(Glyph(u'A')._image, atTwo);

  // 1.28 makes them at 1.5: 123 pixels for the font's 82.
  Reopen(1.28f);
  const std::shared_ptr<TImage> atOneAndAHalf = Glyph(u'A')._image;
  ASSERT_TRUE(atOneAndAHalf);
  EXPECT_NE(atOneAndAHalf, atTwo);
  EXPECT_EQ(atOneAndAHalf->pixel_scale, 1.5f);
  EXPECT_LT(atOneAndAHalf->width, atTwo->width);

  // Back at 1, and with no display at all, the glyph is the font's own size again.
  Reopen(1.0f);
  EXPECT_EQ(Glyph(u'A')._image->pixel_scale, 1.0f);
  Reopen(2.0f);
  EXPECT_EQ(Glyph(u'A')._image->pixel_scale, 2.0f);
  CloseGraphics();
  EXPECT_EQ(DisplayPixelScale(), 1.0f);
  const TImageGlyph& closed = Glyph(u'A');
  EXPECT_EQ(closed._image->pixel_scale, 1.0f);
  EXPECT_EQ(closed._image->width, source_->LoadGlyph(source_->CharToGlyph(u'A'))._w);
}

TEST_F(ImageFontOnScaledDisplay, TheBuiltInFontStaysAPixelFont) {
  Reopen(2.0f);
  SetImageFont(nullptr);
  driver_.makeFrames = true;
  const size_t mark = driver_.log.size();
  DrawText(u"A", 0.0f, 0.0f);
  const auto draws = driver_.Calls("Draw ", mark);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0], "Draw 0 0 8 16 0 0 0 0 8 16");
  EXPECT_EQ(TextWidth(u"AB"), 16);
}

// --- Through GL -------------------------------------------------------------------------

constexpr testing::Rgba kBlack{0, 0, 0, 255};

// White text with alpha on black: every pixel's red is the coverage drawn there.
void StartTextFrame() {
  SetViewport(0, 0, 800, 600);
  SetClsColor(0, 0, 0);
  Cls();
  SetBlend(kBlendAlpha);
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
}

class GLGlyphs : public testing::GLDisplayTest {
 protected:
  void SetUp() override {
    GLDisplayTest::SetUp();
    font_ = LoadImageFont(FontPath("Erika_Ormig.ttf"), 82, kFontSmooth);
    source_ = TFreeTypeFont::Load(FontPath("Erika_Ormig.ttf"), 82, kFontSmooth);
    ASSERT_TRUE(font_ && source_);
  }

  TGLCanvasDriver& Driver() { return *static_cast<TGLCanvasDriver*>(GLCanvasDriver()); }

  // Draws `code` with its pen at (x, y), and the glyph of the font's own size enlarged as
  // glyphs were drawn before they were made finer, its box at the same place below it at
  // (x, y + 200); gives the window.
  std::shared_ptr<TPixmap> DrawGlyphBothWays(char16_t code, float x, float y) {
    StartTextFrame();
    SetImageFont(font_);
    DrawText(std::u16string(1, code), x, y);
    const TGlyph& own = source_->LoadGlyph(source_->CharToGlyph(code));
    DrawImage(TImage::Load(own._pixmap->Copy(), kImageFiltered | kImageMipmapped, 0, 0, 0),
              x + static_cast<float>(own._x), y + 200.0f + static_cast<float>(own._y), 0);
    return Driver().GrabWindow();
  }

  std::shared_ptr<TImageFont> font_;
  std::shared_ptr<TFreeTypeFont> source_;
};

// How wide a letter's edges are: partly covered pixels per crossing from outside to inside
// (or back) along the rows of a window rectangle. A glyph enlarged from its own size has
// edges as wide as its filtered pixels became; one made at the display's resolution has
// edges about one pixel wide.
double EdgeWidth(const TPixmap& window, int x0, int y0, int x1, int y1) {
  int partial = 0;
  int crossings = 0;
  for (int y = y0; y < y1; ++y) {
    bool inside = PixelAt(window, x0, y).r >= 128;
    for (int x = x0; x < x1; ++x) {
      const int coverage = PixelAt(window, x, y).r;
      partial += coverage > 24 && coverage < 231;
      if ((coverage >= 128) != inside) {
        inside = !inside;
        ++crossings;
      }
    }
  }
  return crossings > 0 ? static_cast<double>(partial) / crossings : 0.0;
}

// Full screen on the offscreen driver: 1024 x 768, 1.28 display pixels per picture pixel.
class GLGlyphsFullScreen : public GLGlyphs {
 protected:
  void SetUp() override {
    GLGlyphs::SetUp();
    if (!Open("offscreen", 32)) GTEST_SKIP() << "no OpenGL context on this machine";
    int w = 0;
    int h = 0;
    SDL_GL_GetDrawableSize(Window(), &w, &h);
    if (w != 1024 || h != 768) GTEST_SKIP() << "the offscreen desktop is " << w << "x" << h;
  }
};

TEST_F(GLGlyphsFullScreen, LettersAreMadeFinerAndDrawnWithSharperEdges) {
  EXPECT_EQ(DisplayPixelScale(), 1.28f);
  const TImageGlyph& glyph = font_->LoadGlyph(font_->CharToGlyph(u'W'));
  ASSERT_TRUE(glyph._image);
  EXPECT_EQ(glyph._image->pixel_scale, 1.5f);

  const auto window = DrawGlyphBothWays(u'W', 100.0f, 50.0f);
  ASSERT_NE(window, nullptr);
  // The letter's box in the window: picture (100 + x, 50 + y) and w x h, times 1.28.
  const int left = static_cast<int>((100 + glyph._x) * 1.28f);
  const int right = static_cast<int>((100 + glyph._x + glyph._w) * 1.28f) + 1;
  const int top = static_cast<int>((50 + glyph._y) * 1.28f);
  const int bottom = static_cast<int>((50 + glyph._y + glyph._h) * 1.28f) + 1;
  const int below = static_cast<int>(200 * 1.28f);
  const double fine = EdgeWidth(*window, left, top, right, bottom);
  const double enlarged = EdgeWidth(*window, left, top + below, right, bottom + below);
  std::fprintf(stderr, "edge width at 1.28: %.2f pixels made finer, %.2f enlarged\n", fine,
               enlarged);
  EXPECT_GT(fine, 0.3);  // the letter is there, smooth
  EXPECT_LT(fine, enlarged * 0.8);
}

// A window of twice the picture's size on a virtual X server.
class GLGlyphsTwice : public GLGlyphs {
 protected:
  void SetUp() override {
    GLGlyphs::SetUp();
    const char* enabled = std::getenv("MUSICDISK_X11_TESTS");
    if (enabled == nullptr || std::string(enabled) != "1") {
      GTEST_SKIP() << "needs a virtual X server: MUSICDISK_X11_TESTS=1";
    }
    ASSERT_TRUE(Open("x11", 0)) << "no OpenGL window on the X server";
    SDL_SetWindowSize(Window(), 1600, 1200);
    for (int i = 0; i < 50; ++i) {
      PollSystem();
      int w = 0;
      int h = 0;
      SDL_GL_GetDrawableSize(Window(), &w, &h);
      if (w == 1600 && h == 1200) {
        Flip(0);
        return;
      }
      SDL_Delay(10);
    }
    FAIL() << "the window did not become 1600x1200";
  }
};

// At 2 the glyph image's pixels are the window's: a letter with its pen on a whole picture
// pixel shows the font's rendering at twice its size pixel for pixel, where the enlarged
// glyph of the font's size shows each of its pixels smeared over two.
TEST_F(GLGlyphsTwice, ALetterIsTheFontRenderedAtTwiceItsSizePixelForPixel) {
  ASSERT_EQ(DisplayPixelScale(), 2.0f);
  for (char16_t code : std::u16string_view(u"WgS")) {
    SCOPED_TRACE(static_cast<char>(code));
    const auto window = DrawGlyphBothWays(code, 100.0f, 50.0f);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->width, 1600);
    const TScaledGlyph fine = source_->RenderScaled(source_->CharToGlyph(code), 2.0f);
    ASSERT_TRUE(fine._pixmap);
    const int left = static_cast<int>(std::lround(2.0f * (100.0f + fine._x)));
    const int top = static_cast<int>(std::lround(2.0f * (50.0f + fine._y)));
    const TPixmap& coverage = *fine._pixmap;
    int worst = 0;
    int enlargedApart = 0;  // pixels where the enlarged glyph is visibly something else
    for (int y = -2; y < coverage.height + 2; ++y) {
      for (int x = -2; x < coverage.width + 2; ++x) {
        const bool in = x >= 0 && y >= 0 && x < coverage.width && y < coverage.height;
        const int expected = in ? coverage.PixelPtr(x, y)[0] : 0;
        const auto drawn = PixelAt(*window, left + x, top + y);
        worst = std::max(worst, std::abs(drawn.r - expected));
        enlargedApart += std::abs(PixelAt(*window, left + x, top + 400 + y).r - expected) > 48;
      }
    }
    EXPECT_LE(worst, 2);
    // The check tells the two apart: the enlarged glyph misses along every edge.
    EXPECT_GT(enlargedApart, coverage.width + coverage.height);
    EXPECT_EQ(PixelAt(*window, left - 3, top - 3), kBlack);
  }
}

}  // namespace
}  // namespace media
