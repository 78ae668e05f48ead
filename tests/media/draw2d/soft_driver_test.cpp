// The software driver's pixels, against values worked out by hand.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/canvas_graphics.h"
#include "media/draw2d/soft/soft_driver.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "tests/support/portable_process.h"

namespace media {
namespace {

using testing::MakePixmap;
using testing::Rgba;

std::shared_ptr<TImage> ImageOf(const std::shared_ptr<TPixmap>& pixmap, int flags) {
  return TImage::Load(pixmap, flags, 0, 0, 0);
}

// A w x h picture of one colour. Nine wide: whole pixels go through the row kernels four at
// a time, and the ninth through the single-pixel path.
std::shared_ptr<TImage> Uniform(Rgba texel, int flags = 0, int w = 9, int h = 2) {
  return ImageOf(MakePixmap(w, h, [&](int, int) { return texel; }), flags);
}

class SoftDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasForTesting();
    SetGraphicsDriver(OffscreenCanvasDriver(), kGraphicsBackBuffer);
    ASSERT_NE(Graphics(800, 600, 0, 0, 0), nullptr);
  }
  void TearDown() override {
    ResetCanvasForTesting();
    SetEndHook(nullptr);
    ResetPolledInputForTesting();
  }

  static TSoftCanvasDriver& Driver() { return *OffscreenCanvasDriver(); }

  static Rgba Pixel(int x, int y) {
    const TPixelView view = Driver().Pixels();
    const std::uint8_t* p = view.rgba + y * view.pitch + x * 4;
    return {p[0], p[1], p[2], p[3]};
  }

  // Clears to `background`, then draws `image` at (10, 10) in `mode`; the pixel at (10, 10),
  // once every pixel of the picture's first row has been found equal to it.
  static Rgba Blended(Rgba background, const std::shared_ptr<TImage>& image, int mode) {
    SetClsColor(background.r, background.g, background.b);
    Cls();
    SetBlend(mode);
    DrawImage(image, 10.0f, 10.0f, 0);
    for (int x = 11; x < 10 + image->width; ++x) EXPECT_EQ(Pixel(x, 10), Pixel(10, 10)) << x;
    return Pixel(10, 10);
  }

  // The bounding box of the pixels that differ from `background`, and how many there are.
  struct Coverage {
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1, count = 0;
  };
  static Coverage CoverageOf(Rgba background) {
    Coverage c;
    const TPixelView view = Driver().Pixels();
    for (int y = 0; y < view.height; ++y) {
      for (int x = 0; x < view.width; ++x) {
        if (Pixel(x, y) == background) continue;
        c.minX = std::min(c.minX, x);
        c.minY = std::min(c.minY, y);
        c.maxX = std::max(c.maxX, x);
        c.maxY = std::max(c.maxY, y);
        ++c.count;
      }
    }
    return c;
  }
};

TEST_F(SoftDriver, TheFirstDisplayStartsBlackInBothBuffers) {
  const int presents = Driver().PresentCount();
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(Driver().PresentCount(), presents + 2);
  const Coverage notBlack = CoverageOf({0, 0, 0, 255});
  EXPECT_EQ(notBlack.count, 0);
}

TEST_F(SoftDriver, A145x125PictureAt10_20CoversExactlyX10To154AndY20To144) {
  const Rgba background{177, 142, 130, 255};
  SetClsColor(background.r, background.g, background.b);
  Cls();
  auto pattern = [](int x, int y) { return Rgba{x, y, (x + y) & 255, 255}; };
  DrawImage(ImageOf(MakePixmap(145, 125, pattern), kDefaultImageFlags), 10.0f, 20.0f, 0);
  const Coverage c = CoverageOf(background);
  EXPECT_EQ(c.minX, 10);
  EXPECT_EQ(c.maxX, 154);
  EXPECT_EQ(c.minY, 20);
  EXPECT_EQ(c.maxY, 144);
  EXPECT_EQ(c.count, 145 * 125);
  // Filtered, yet every texel lands on its own pixel unchanged.
  for (int y = 0; y < 125; y += 31) {
    for (int x = 0; x < 145; x += 12) EXPECT_EQ(Pixel(10 + x, 20 + y), pattern(x, y));
  }
  EXPECT_EQ(Pixel(154, 144), pattern(144, 124));
}

TEST_F(SoftDriver, EachBlendModeGivesTheHandComputedPixel) {
  const Rgba dst{200, 100, 50, 255};
  {
    SCOPED_TRACE("mask: drawn from alpha 128 on, not blended");
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 127}), kBlendMask), dst);
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 128}), kBlendMask), (Rgba{40, 80, 160, 128}));
  }
  {
    SCOPED_TRACE("solid: the source replaces the pixel, alpha included");
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 10}), kBlendSolid), (Rgba{40, 80, 160, 10}));
  }
  {
    SCOPED_TRACE("alpha: src * a + dst * (1 - a)");
    // r (40*128 + 200*127)/255 = 119.69, g (80*128 + 100*127)/255 = 89.96,
    // b (160*128 + 50*127)/255 = 105.22, a (128*128 + 255*127)/255 = 191.25
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 128}), kBlendAlpha), (Rgba{120, 90, 105, 191}));
  }
  {
    SCOPED_TRACE("light: dst + src * a, saturating");
    // r 200 + 40*128/255 = 220.08, g 100 + 40.16, b 50 + 80.31, a 255 + 64.25 -> 255
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 128}), kBlendLight), (Rgba{220, 140, 130, 255}));
    EXPECT_EQ(Blended(dst, Uniform({100, 80, 160, 255}), kBlendLight), (Rgba{255, 180, 210, 255}));
  }
  {
    SCOPED_TRACE("shade: dst * src");
    // r 200*128/255 = 100.39, g 100*255/255, b 50*0, a 255*200/255
    EXPECT_EQ(Blended(dst, Uniform({128, 255, 0, 200}), kBlendShade), (Rgba{100, 100, 0, 200}));
  }
  {
    SCOPED_TRACE("colour and alpha modulate the texel first");
    SetColor(255, 128, 0);
    SetAlpha(0.5f);  // alpha byte 127
    // source (40, 80*128/255 = 40.16, 0, 127); r (40*127 + 200*128)/255 = 120.31,
    // g (40*127 + 100*128)/255 = 70.12, b 50*128/255 = 25.1, a (127*127 + 255*128)/255 = 191.25
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 255}), kBlendAlpha), (Rgba{120, 70, 25, 191}));
    // In mask mode the modulated alpha is what is tested: 127 stays out, 130 is drawn.
    SetColor(255, 255, 255);
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 255}), kBlendMask), dst);
    SetAlpha(0.51f);  // trunc(0.51 * 255) = 130
    EXPECT_EQ(Blended(dst, Uniform({40, 80, 160, 255}), kBlendMask), (Rgba{40, 80, 160, 130}));
  }
}

TEST_F(SoftDriver, RowKernelsGiveTheBytesOfSinglePixels) {
  // A picture drawn whole goes through the row kernels; drawn one column at a time, every
  // pixel goes through the single-pixel path. Both must agree in every mode.
  // Scrambled bytes, so that every rounding case turns up.
  auto pattern = [](int x, int y) {
    const std::uint32_t h =
        static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    const std::uint32_t bytes = h * 2654435761u;
    return Rgba{static_cast<int>(bytes & 255), static_cast<int>(bytes >> 8 & 255),
                static_cast<int>(bytes >> 16 & 255), static_cast<int>(bytes >> 24)};
  };
  for (int flags : {0, static_cast<int>(kImageFiltered)}) {
    for (int mode = kBlendMask; mode <= kBlendShade; ++mode) {
      SCOPED_TRACE(::testing::Message() << "flags " << flags << " mode " << mode);
      auto picture = ImageOf(MakePixmap(37, 3, pattern), flags);
      // Filtered: a fractional x mixes two texels of a row, a fractional y two rows too.
      for (float y : {10.0f, flags != 0 ? 10.625f : 10.0f}) {
        const float x = flags != 0 ? 10.375f : 10.0f;
        SetBlend(mode);
        SetColor(230, 180, 90);
        SetAlpha(0.8f);
        auto drawWhole = [&] { DrawImage(picture, x, y, 0); };
        auto drawColumns = [&] {
          TImageFrame* frame = picture->Frame(0);
          for (int column = 0; column < 37; ++column) {
            const auto c = static_cast<float>(column);
            frame->Draw(c, 0.0f, c + 1.0f, 3.0f, x, y, c, 0.0f, 1.0f, 3.0f);
          }
        };
        SetClsColor(90, 120, 150);
        Cls();
        drawWhole();
        const auto whole = GrabPixmap(0, 0, 60, 20);
        Cls();
        drawColumns();
        const auto columns = GrabPixmap(0, 0, 60, 20);
        EXPECT_TRUE(testing::ImagesMatch("soft_row_kernels", *columns, *whole, 0));
      }
    }
  }
}

TEST_F(SoftDriver, FramesRedrawnOnlyWhereTheyChangeEqualFramesDrawnWhole) {
  // A frame is drawn only in the tiles where its drawing differs from the last frame's. Each
  // frame here is drawn that way, then again whole (a read after its clear makes the rest
  // of it draw everywhere), and both must give the same bytes.
  auto pattern = [](int x, int y) {
    return Rgba{x * 7 % 256, y * 11 % 256, (x + y) % 256, std::min(255, 30 + x + y)};
  };
  auto letter = ImageOf(MakePixmap(45, 35, pattern), kImageFiltered);
  auto pad = ImageOf(MakePixmap(120, 90, pattern), kImageFiltered);
  auto glyph = ImageOf(MakePixmap(12, 16, pattern), kImageFiltered | kImageMipmapped);
  auto frame = [&](int n, bool whole) {
    SetClsColor(n < 12 ? 177 : 60, 142, 130);
    Cls();
    if (whole) GrabPixmap(0, 0, 1, 1);
    SetBlend(kBlendAlpha);
    SetColor(255, 255, 255);
    SetAlpha(0.4f);
    DrawImage(letter, 60.0f + 0.37f * n, 40.0f + 1.3f * n, 0);  // drifts under the pad
    SetAlpha(0.6f);
    DrawImage(pad, 80.0f, 60.0f, 0);
    SetColor(40, 30, 20);
    SetAlpha(1.0f);
    // Text that leaves at the left edge, and a line that stays.
    for (int i = 0; i < 8; ++i) DrawImage(glyph, -20.0f + i * 14.0f - 1.78f * n, 10.0f, 0);
    for (int i = 0; i < 8; ++i) DrawImage(glyph, 90.0f + i * 14.0f, 170.0f, 0);
    if (n % 5 == 0) DrawRect(150.0f, 100.0f, 170.0f, 120.0f);
    Flip(0);
    return GrabPixmap(0, 0, 240, 200);
  };
  frame(0, true);
  for (int n = 1; n < 16; ++n) {
    SCOPED_TRACE(::testing::Message() << "frame " << n);
    const auto changedOnly = frame(n, false);
    const auto whole = frame(n, true);
    EXPECT_TRUE(testing::ImagesMatch("soft_changed_tiles", *whole, *changedOnly, 0));
  }
}

TEST_F(SoftDriver, BilinearFilteringWeighsTheTexelsAroundTheSamplePoint) {
  auto strip = [](int x, int) { return x == 0 ? Rgba{0, 0, 0, 255} : Rgba{200, 100, 50, 255}; };
  SetBlend(kBlendSolid);
  DrawImage(ImageOf(MakePixmap(2, 1, strip), kImageFiltered), 10.25f, 10.0f, 0);
  // Pixel 10 samples 0.25 into the picture: left of the first texel's centre, clamped to it.
  EXPECT_EQ(Pixel(10, 10), (Rgba{0, 0, 0, 255}));
  // Pixel 11 samples at 1.25: 1/4 of texel 0 and 3/4 of texel 1 (50 * 0.75 = 37.5 rounds up).
  EXPECT_EQ(Pixel(11, 10), (Rgba{150, 75, 38, 255}));
  EXPECT_EQ(Pixel(12, 10), (Rgba{0, 0, 0, 255}));  // background: the quad ends at 12.25

  // Unfiltered, the same pixels take the texel they fall in.
  DrawImage(ImageOf(MakePixmap(2, 1, strip), 0), 10.25f, 20.0f, 0);
  EXPECT_EQ(Pixel(10, 20), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(Pixel(11, 20), (Rgba{200, 100, 50, 255}));
}

TEST_F(SoftDriver, QuadCornersGoThroughTheMatrix) {
  const Rgba background{0, 0, 0, 255};
  const Rgba left{10, 20, 30, 255};
  const Rgba right{40, 50, 60, 255};
  auto strip = ImageOf(MakePixmap(2, 1, [&](int x, int) { return x == 0 ? left : right; }), 0);
  {
    SCOPED_TRACE("scale 2: each texel covers 2 x 2 pixels");
    SetScale(2.0f, 2.0f);
    DrawImage(strip, 10.0f, 10.0f, 0);
    const Coverage c = CoverageOf(background);
    EXPECT_EQ(c.count, 8);
    EXPECT_EQ(Pixel(10, 11), left);
    EXPECT_EQ(Pixel(11, 10), left);
    EXPECT_EQ(Pixel(12, 10), right);
    EXPECT_EQ(Pixel(13, 11), right);
  }
  Cls();
  {
    SCOPED_TRACE("a quarter turn: x runs down, y runs left");
    SetScale(1.0f, 1.0f);
    SetRotation(90.0f);
    DrawImage(strip, 20.0f, 10.0f, 0);
    const Coverage c = CoverageOf(background);
    EXPECT_EQ(c.count, 2);
    EXPECT_EQ(Pixel(19, 10), left);
    EXPECT_EQ(Pixel(19, 11), right);
  }
  Cls();
  {
    SCOPED_TRACE("45 degrees: a diamond around the picture's corner");
    SetRotation(45.0f);
    DrawImage(Uniform(left, 0, 20, 20), 100.0f, 100.0f, 0);
    const Coverage c = CoverageOf(background);
    // The square's diagonal is 20 * sqrt(2) = 28.3 pixels, its area 400.
    EXPECT_NEAR(c.count, 400, 30);
    EXPECT_EQ(Pixel(100, 110), left);  // on the diagonal below the corner
    EXPECT_EQ(Pixel(100, 98), background);
    EXPECT_GE(c.maxY - c.minY, 27);
  }
}

TEST_F(SoftDriver, EdgesFollowTheTopLeftRule) {
  const Rgba background{0, 0, 0, 255};
  {
    SCOPED_TRACE("a centre on the left or top edge is inside, on the right or bottom is not");
    DrawImage(Uniform({90, 90, 90, 255}, 0, 10, 10), 10.5f, 20.5f, 0);
    const Coverage c = CoverageOf(background);
    EXPECT_EQ(c.minX, 10);
    EXPECT_EQ(c.maxX, 19);
    EXPECT_EQ(c.minY, 20);
    EXPECT_EQ(c.maxY, 29);
    EXPECT_EQ(c.count, 100);
  }
  Cls();
  {
    SCOPED_TRACE("quads sharing an edge: every pixel once, none twice");
    SetBlend(kBlendLight);  // a pixel drawn twice would show 200
    auto block = Uniform({100, 100, 100, 255}, 0, 10, 10);
    DrawImage(block, 0.3f, 0.3f, 0);
    DrawImage(block, 10.3f, 0.3f, 0);
    DrawImage(block, 0.3f, 10.3f, 0);
    DrawImage(block, 10.3f, 10.3f, 0);
    const Coverage c = CoverageOf(background);
    EXPECT_EQ(c.count, 400);
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x)
        ASSERT_EQ(Pixel(x, y), (Rgba{100, 100, 100, 255})) << x << "," << y;
    }
  }
  Cls();
  {
    SCOPED_TRACE("a polygon filled as two triangles: the shared diagonal once");
    SetColor(100, 100, 100);
    const float square[] = {30.0f, 30.0f, 50.0f, 30.0f, 50.0f, 50.0f, 30.0f, 50.0f};
    Driver().DrawPoly(square, 0.0f, 0.0f, 0.0f, 0.0f);
    const Coverage c = CoverageOf(background);
    EXPECT_EQ(c.count, 400);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(Pixel(30 + i, 30 + i), (Rgba{100, 100, 100, 255}));
  }
}

TEST_F(SoftDriver, MipmappedPicturesAreMinifiedFromTheirMipLevel) {
  // An 8 x 8 picture whose 4 x 4 corner block is white in its middle 2 x 2 and black
  // around it. A quarter-size draw samples that block's middle: white without mip levels,
  // but level 2 holds the block's average, 64 by the mixing rule.
  auto picture = [](int x, int y) {
    const bool middle = (x == 1 || x == 2) && (y == 1 || y == 2);
    return middle ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
  };
  SetScale(0.25f, 0.25f);
  SetBlend(kBlendSolid);
  DrawImage(ImageOf(MakePixmap(8, 8, picture), kImageFiltered | kImageMipmapped), 10.0f, 10.0f, 0);
  DrawImage(ImageOf(MakePixmap(8, 8, picture), kImageFiltered), 20.0f, 10.0f, 0);
  DrawImage(ImageOf(MakePixmap(8, 8, picture), kImageMipmapped), 30.0f, 10.0f, 0);
  EXPECT_EQ(Pixel(10, 10), (Rgba{64, 64, 64, 255}));
  EXPECT_EQ(Pixel(20, 10), (Rgba{255, 255, 255, 255}));
  // Unfiltered pictures never use their mip levels.
  EXPECT_EQ(Pixel(30, 10), (Rgba{255, 255, 255, 255}));
}

TEST_F(SoftDriver, TheViewportClipsClearingAndDrawing) {
  SetViewport(100, 100, 50, 40);
  SetClsColor(1, 2, 3);
  Cls();
  const Coverage cleared = CoverageOf({0, 0, 0, 255});
  EXPECT_EQ(cleared.minX, 100);
  EXPECT_EQ(cleared.maxX, 149);
  EXPECT_EQ(cleared.minY, 100);
  EXPECT_EQ(cleared.maxY, 139);
  SetColor(200, 0, 0);
  DrawRect(90.0f, 90.0f, 100.0f, 100.0f);
  EXPECT_EQ(Pixel(149, 139), (Rgba{200, 0, 0, 255}));
  EXPECT_EQ(Pixel(150, 139), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(Pixel(99, 99), (Rgba{0, 0, 0, 255}));
}

TEST_F(SoftDriver, UntexturedShapesCoverTheirPixels) {
  const Rgba background{0, 0, 0, 255};
  SetColor(50, 60, 70);
  Driver().Plot(3.0f, 4.0f);
  EXPECT_EQ(CoverageOf(background).count, 1);
  EXPECT_EQ(Pixel(3, 4), (Rgba{50, 60, 70, 255}));
  Cls();
  // A line leaves its end pixel for the next one.
  Driver().DrawLine(10.0f, 50.0f, 20.0f, 50.0f, 0.0f, 0.0f);
  Coverage c = CoverageOf(background);
  EXPECT_EQ(c.count, 10);
  EXPECT_EQ(c.minX, 10);
  EXPECT_EQ(c.maxX, 19);
  EXPECT_EQ(c.minY, 50);
  Cls();
  Driver().DrawOval(100.0f, 100.0f, 140.0f, 120.0f, 0.0f, 0.0f);
  c = CoverageOf(background);
  EXPECT_EQ(Pixel(120, 110), (Rgba{50, 60, 70, 255}));
  EXPECT_EQ(Pixel(101, 101), background);
  EXPECT_NEAR(c.count, 3.14159 * 20 * 10, 12);
}

TEST_F(SoftDriver, PixmapsGoInAndComeOutUnchanged) {
  auto pattern = [](int x, int y) { return Rgba{x * 20, y * 30, 77, 100 + x}; };
  auto pixmap = MakePixmap(5, 4, pattern);
  SetBlend(kBlendAlpha);  // ignored: pixmaps are copied
  Driver().DrawPixmap(*pixmap, 798, 10);
  auto grabbed = GrabPixmap(796, 10, 5, 4);
  ASSERT_NE(grabbed, nullptr);
  EXPECT_EQ(testing::PixelAt(*grabbed, 2, 0), pattern(0, 0));
  EXPECT_EQ(testing::PixelAt(*grabbed, 3, 3), pattern(1, 3));
  EXPECT_EQ(testing::PixelAt(*grabbed, 1, 1), (Rgba{0, 0, 0, 255}));
  // Outside the display: zero.
  EXPECT_EQ(testing::PixelAt(*grabbed, 4, 2), (Rgba{0, 0, 0, 0}));
}

TEST_F(SoftDriver, VirtualResolutionScalesDrawing) {
  SetVirtualResolution(400.0f, 300.0f);
  SetColor(5, 6, 7);
  DrawRect(10.0f, 10.0f, 1.0f, 1.0f);
  const Coverage c = CoverageOf({0, 0, 0, 255});
  EXPECT_EQ(c.count, 4);
  EXPECT_EQ(c.minX, 20);
  EXPECT_EQ(c.maxY, 21);
}

// The window forms, on SDL's dummy video driver (a window surface, no GL).
class SoftDriverWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasForTesting();
    test_support::SetEnv("SDL_VIDEODRIVER", "dummy");
  }
  void TearDown() override {
    ResetCanvasForTesting();
    test_support::UnsetEnv("SDL_VIDEODRIVER");
    SetEndHook(nullptr);
    ResetPolledInputForTesting();
  }
};

TEST_F(SoftDriverWindow, PresentsInAWindowAndIsWhereGLFallsBack) {
  SetGraphicsDriver(SoftCanvasDriver(), kGraphicsBackBuffer);
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), SoftCanvasDriver());
  SetClsColor(177, 142, 130);
  Cls();
  Flip(0);
  auto grabbed = GrabPixmap(400, 300, 1, 1);
  EXPECT_EQ(testing::PixelAt(*grabbed, 0, 0), (Rgba{177, 142, 130, 255}));
  CloseGraphics();

  // The dummy driver has no GL: the program's choice falls back to the software driver.
  SelectProgramDrivers(kGraphicsBackBuffer);
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), SoftCanvasDriver());
}

TEST_F(SoftDriverWindow, NoVideoDeviceMeansNoDisplay) {
  test_support::SetEnv("SDL_VIDEODRIVER", "no-such-device");
  SelectProgramDrivers(kGraphicsBackBuffer);
  EXPECT_EQ(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), nullptr);
}

}  // namespace
}  // namespace media
