// The GL driver at a drawable larger than the picture: the picture's coordinates are
// rasterised at the drawable's resolution (edges where they fall there, not where an
// enlarged 800 x 600 frame would put them), clip rectangles and read-backs keep to picture
// pixels, and the picture sits between black bars, following the drawable when it changes.
// Full screen on SDL's offscreen driver gives a 1024 x 768 drawable (1.28 times the picture)
// anywhere GL works; drawables of other sizes need a window system whose windows can be
// resized, so those cases run only under a virtual X server (MUSICDISK_X11_TESTS=1).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/gl/gl_device.h"
#include "media/draw2d/gl/gl_driver.h"
#include "media/platform/polled_input.h"

namespace media {
namespace {

using testing::MakePixmap;
using testing::PixelAt;
using testing::Rgba;

constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kClear{177, 142, 130, 255};

TGLCanvasDriver& Driver() {
  return *static_cast<TGLCanvasDriver*>(GLCanvasDriver());
}

// A clear frame in the disk's colour, shapes to come in white.
void StartFrame() {
  SetViewport(0, 0, 800, 600);
  SetClsColor(kClear.r, kClear.g, kClear.b);
  Cls();
  SetBlend(kBlendSolid);
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
}

// The first pixel on row `y` of the window, from `fromX` on, that is not white: where a white
// fill ends. -1 unless it and the three pixels after it are `background` (nothing blended).
int EdgeOnRow(const TPixmap& window, int y, int fromX, const Rgba& background) {
  int x = fromX;
  while (x < window.width && PixelAt(window, x, y) == kWhite) ++x;
  for (int after = x; after < window.width && after < x + 4; ++after) {
    if (PixelAt(window, after, y) != background) return -1;
  }
  return x;
}

using GLDriverScaled = testing::GLDisplayTest;

// Full screen on the offscreen driver: a 1024 x 768 drawable, the picture 1.28 times larger.
class GLDriverFullScreen : public GLDriverScaled {
 protected:
  void SetUp() override {
    GLDriverScaled::SetUp();
    if (!Open("offscreen", 32)) GTEST_SKIP() << "no OpenGL context on this machine";
    int w = 0;
    int h = 0;
    SDL_GL_GetDrawableSize(Window(), &w, &h);
    if (w != 1024 || h != 768) GTEST_SKIP() << "the offscreen desktop is " << w << "x" << h;
  }
};

TEST_F(GLDriverFullScreen, EdgesFallWhereTheDrawablesPixelCentresAre) {
  StartFrame();
  // Picture x 10.5 is drawable x 13.44 and picture y 20.25 drawable y 25.92: columns 0..12
  // and rows 0..25 have their centres inside. An 800 x 600 frame enlarged would end at
  // 10 and 20 picture pixels, 12.8 and 25.6 here, with a blended column and row.
  DrawRect(0.0f, 0.0f, 10.5f, 20.25f);
  // A slope of one half: row r has ceil(r / 2) pixels inside, steps finer than a picture
  // pixel (which is 1.28 drawable pixels); no centre lies on the edge.
  const float triangle[] = {0.0f, 100.0f, 0.0f, 400.0f, 150.0f, 400.0f};
  Driver().DrawPoly(triangle, 0.0f, 0.0f, 0.0f, 0.0f);
  const auto window = Driver().GrabWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->width, 1024);
  ASSERT_EQ(window->height, 768);
  for (int y = 0; y < 30; ++y) {
    EXPECT_EQ(EdgeOnRow(*window, y, 0, kClear), y <= 25 ? 13 : 0) << "row " << y;
  }
  // The triangle spans drawable rows 128..511; from its apex the slope runs as in the
  // picture, since the scale is uniform.
  for (int y = 128; y < 512; ++y) {
    const int r = y - 128;
    EXPECT_EQ(EdgeOnRow(*window, y, 0, kClear), (r + 1) / 2) << "row " << y;
  }
}

TEST_F(GLDriverFullScreen, AClipRectangleCoversWhatAFillOfItsEdgesCovers) {
  // Cls inside a viewport and a fill of the same rectangle take the same drawable pixels:
  // 1.28 times (13, 7)-(113, 57) is (16.64, 8.96)-(144.64, 72.96).
  StartFrame();
  DrawRect(13.0f, 7.0f, 100.0f, 50.0f);
  const auto filled = Driver().GrabWindow();
  StartFrame();
  SetViewport(13, 7, 100, 50);
  SetClsColor(255, 255, 255);
  Cls();
  const auto cleared = Driver().GrabWindow();
  ASSERT_NE(filled, nullptr);
  ASSERT_NE(cleared, nullptr);
  EXPECT_TRUE(testing::ImagesMatch("gl_scaled_viewport", *filled, *cleared, 0));
  EXPECT_EQ(PixelAt(*cleared, 16, 30), kClear);
  EXPECT_EQ(PixelAt(*cleared, 17, 30), kWhite);
  EXPECT_EQ(PixelAt(*cleared, 144, 30), kWhite);
  EXPECT_EQ(PixelAt(*cleared, 145, 30), kClear);
  EXPECT_EQ(PixelAt(*cleared, 50, 8), kClear);
  EXPECT_EQ(PixelAt(*cleared, 50, 9), kWhite);
  EXPECT_EQ(PixelAt(*cleared, 50, 72), kWhite);
  EXPECT_EQ(PixelAt(*cleared, 50, 73), kClear);
}

TEST_F(GLDriverFullScreen, AReadBackIsThePictureAtItsOwnSize) {
  StartFrame();
  DrawImage(TImage::Load(MakePixmap(145, 125,
                                    [](int x, int y) {
                                      return Rgba{x, y, 200, 255};
                                    }),
                         0, 0, 0, 0),
            10.0f, 20.0f, 0);
  const auto picture = GrabPixmap(0, 0, 800, 600);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->width, 800);
  EXPECT_EQ(picture->height, 600);
  // Each picture pixel is the texel drawn there, however many drawable pixels it became.
  for (int y = 0; y < 160; ++y) {
    for (int x = 0; x < 170; ++x) {
      const bool inside = x >= 10 && x < 155 && y >= 20 && y < 145;
      const Rgba expected = inside ? Rgba{x - 10, y - 20, 200, 255} : kClear;
      ASSERT_EQ(PixelAt(*picture, x, y), expected) << "at " << x << ", " << y;
    }
  }
  // The frame stays in place across a present, as the software driver's does.
  Flip(0);
  EXPECT_EQ(PixelAt(*GrabPixmap(10, 20, 1, 1), 0, 0), (Rgba{0, 0, 200, 255}));
  EXPECT_EQ(PixelAt(*GrabPixmap(799, 599, 1, 1), 0, 0), kClear);
}

// Windows of other sizes on a virtual X server: HiDPI, a 16:9 desktop, and back to 1:1.
class GLDriverResized : public GLDriverScaled {
 protected:
  void SetUp() override {
    GLDriverScaled::SetUp();
    const char* enabled = std::getenv("MUSICDISK_X11_TESTS");
    if (enabled == nullptr || std::string(enabled) != "1") {
      GTEST_SKIP() << "needs a virtual X server: MUSICDISK_X11_TESTS=1";
    }
    ASSERT_TRUE(Open("x11", 0)) << "no OpenGL window on the X server: " << SDL_GetError();
  }

  // Makes the window's drawable width x height; the next frame is drawn at that size.
  ::testing::AssertionResult Resize(int width, int height) {
    SDL_SetWindowSize(Window(), width, height);
    for (int i = 0; i < 50; ++i) {
      PollSystem();
      int w = 0;
      int h = 0;
      SDL_GL_GetDrawableSize(Window(), &w, &h);
      if (w == width && h == height) {
        Flip(0);
        return ::testing::AssertionSuccess();
      }
      SDL_Delay(10);
    }
    return ::testing::AssertionFailure() << "the window did not become " << width << "x" << height;
  }
};

TEST_F(GLDriverResized, AtTwiceTheDensityShapesAndImagesUseEveryDrawablePixel) {
  ASSERT_TRUE(Resize(1600, 1200));
  StartFrame();
  // Picture x 10.5 is drawable x 21 exactly; an enlarged 800 x 600 frame ends at 20.
  DrawRect(0.0f, 0.0f, 10.5f, 10.0f);
  // A slope of three quarters from (200, 200) in the drawable: row 200 + r has
  // 3 (r + 1) / 4 pixels inside; an enlarged frame would repeat every row twice.
  const float triangle[] = {100.0f, 100.0f, 100.0f, 300.0f, 250.0f, 300.0f};
  Driver().DrawPoly(triangle, 0.0f, 0.0f, 0.0f, 0.0f);
  // A filtered image is smoothed at the drawable's resolution, an unfiltered one keeps its
  // texels whole: two by two pixels each.
  auto ramp = MakePixmap(8, 8, [](int x, int y) { return Rgba{x * 32, y * 32, 0, 255}; });
  DrawImage(TImage::Load(ramp, kImageFiltered, 0, 0, 0), 400.0f, 100.0f, 0);
  DrawImage(TImage::Load(ramp, 0, 0, 0, 0), 500.0f, 100.0f, 0);
  const auto window = Driver().GrabWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->width, 1600);
  ASSERT_EQ(window->height, 1200);
  for (int y = 0; y < 20; ++y) EXPECT_EQ(EdgeOnRow(*window, y, 0, kClear), 21) << "row " << y;
  for (int y = 200; y < 600; ++y) {
    EXPECT_EQ(EdgeOnRow(*window, y, 200, kClear), 200 + 3 * (y - 200 + 1) / 4) << "row " << y;
  }

  // 2 x 2 blocks at even coordinates that are not of one colour: none in an enlarged frame.
  auto unevenBlocks = [&](int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; y += 2) {
      for (int x = x0; x < x1; x += 2) {
        const Rgba c = PixelAt(*window, x, y);
        if (PixelAt(*window, x + 1, y) != c || PixelAt(*window, x, y + 1) != c ||
            PixelAt(*window, x + 1, y + 1) != c) {
          ++count;
        }
      }
    }
    return count;
  };
  // Filtered, every texel with neighbours on both sides shades its four pixels apart.
  EXPECT_GE(unevenBlocks(800, 200, 816, 216), 36);
  EXPECT_EQ(unevenBlocks(1000, 200, 1016, 216), 0);
  EXPECT_EQ(PixelAt(*window, 1000, 200), kBlack);
  EXPECT_EQ(PixelAt(*window, 1003, 201), (Rgba{32, 0, 0, 255}));
  EXPECT_EQ(PixelAt(*window, 1015, 215), (Rgba{224, 224, 0, 255}));

  // Read back, it is still the 800 x 600 picture.
  const auto picture = GrabPixmap(0, 0, 800, 600);
  ASSERT_EQ(picture->width, 800);
  // Picture pixel 10 has its centre on the edge at 10.5, which the fill leaves out.
  EXPECT_EQ(PixelAt(*picture, 9, 5), kWhite);
  EXPECT_EQ(PixelAt(*picture, 10, 5), kClear);
  EXPECT_EQ(PixelAt(*picture, 500, 100), kBlack);
  EXPECT_EQ(PixelAt(*picture, 501, 100), (Rgba{32, 0, 0, 255}));
  EXPECT_EQ(PixelAt(*picture, 100, 299), kWhite);
  EXPECT_EQ(PixelAt(*picture, 100, 300), kClear);
}

TEST_F(GLDriverResized, ThePictureFollowsTheDrawableCentredBetweenBlackBars) {
  struct Case {
    int width, height;  // the drawable
    int left, top;      // where the picture goes
    int edge;           // the first column past picture x 10.6, from the picture's left
  };
  // 16:9: 1440 x 1080 in the middle (10.6 -> 19.08); a portrait drawable: bars above and
  // below (10.6 -> 13.568); back to the picture's own size, one to one.
  const Case cases[] = {
      {1920, 1080, 240, 0, 19},
      {1024, 1200, 0, 216, 14},
      {800, 600, 0, 0, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    ASSERT_TRUE(Resize(c.width, c.height));
    StartFrame();
    DrawRect(0.0f, 0.0f, 10.6f, 600.0f);
    const auto window = Driver().GrabWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->width, c.width);
    ASSERT_EQ(window->height, c.height);
    const int right = c.width - c.left;
    const int bottom = c.height - c.top;
    for (int y = 0; y < c.height; y += 7) {
      if (y < c.top || y >= bottom) {
        EXPECT_EQ(PixelAt(*window, c.width / 2, y), kBlack) << "bar at row " << y;
        continue;
      }
      if (c.left > 0) {
        EXPECT_EQ(PixelAt(*window, c.left - 1, y), kBlack) << "left bar at row " << y;
        EXPECT_EQ(PixelAt(*window, right, y), kBlack) << "right bar at row " << y;
      }
      EXPECT_EQ(PixelAt(*window, right - 1, y), kClear) << "picture's right at row " << y;
      EXPECT_EQ(EdgeOnRow(*window, y, c.left, kClear), c.left + c.edge) << "row " << y;
    }
    EXPECT_EQ(GrabPixmap(0, 0, 800, 600)->width, 800);
  }
}

}  // namespace
}  // namespace media
