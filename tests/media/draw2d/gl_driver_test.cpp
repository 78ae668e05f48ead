// The GL driver on SDL's offscreen video driver (EGL, no window system): the same scenes as
// the software driver, the device state it caches, and recovery from a lost context.
// Skipped where no GL context can be had.
#include <gtest/gtest.h>

#include <cstdlib>

#include "canvas_test_scenes.h"
#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/gl/gl_driver.h"
#include "media/draw2d/soft/soft_driver.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "tests/support/portable_process.h"

namespace media {
namespace {

using testing::MakePixmap;
using testing::PixelAt;
using testing::Rgba;

std::shared_ptr<TImage> ImageOf(const std::shared_ptr<TPixmap>& pixmap, int flags) {
  return TImage::Load(pixmap, flags, 0, 0, 0);
}

TGLCanvasDriver& Driver() {
  return *static_cast<TGLCanvasDriver*>(GLCanvasDriver());
}

// Opens an 800 x 600 display on `driver`; true when that driver got it.
bool OpenOn(TCanvasDriver* driver) {
  ResetCanvasForTesting();
  SetGraphicsDriver(driver, kGraphicsBackBuffer);
  return Graphics(800, 600, 0, 0, 0) != nullptr && CurrentDriver() == driver;
}

class GLDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    // Windows has no GL without a window: there a hidden one (Wine's GL under Xvfb).
    test_support::SetEnv("SDL_VIDEODRIVER", test_support::kHiddenGLVideoDriver);
    testing::BeginGLTest();
    if (!OpenOn(GLCanvasDriver())) GTEST_SKIP() << "no OpenGL context on this machine";
  }
  void TearDown() override { testing::EndGLTest(); }

  static Rgba Pixel(int x, int y) { return PixelAt(*GrabPixmap(x, y, 1, 1), 0, 0); }
};

TEST_F(GLDriver, DrawsTheSoftwareDriversScenes) {
  RecordProperty("renderer", Driver().RendererName());
  for (const testing::CanvasScene& scene : testing::CanvasScenes()) {
    SCOPED_TRACE(scene.name);
    ASSERT_TRUE(OpenOn(OffscreenCanvasDriver()));
    scene.draw();
    const auto expected = testing::GrabDisplay();
    ASSERT_TRUE(OpenOn(GLCanvasDriver()));
    scene.draw();
    const auto actual = testing::GrabDisplay();
    ASSERT_NE(expected, nullptr);
    ASSERT_NE(actual, nullptr);
    int worst = 0;
    EXPECT_TRUE(
        testing::ImagesMatch("gl_" + scene.name, *expected, *actual, scene.tolerance, &worst))
        << "allowed " << scene.tolerance << ": " << scene.why;
    RecordProperty("worst_" + scene.name, worst);
  }
}

TEST_F(GLDriver, StartsBlackAndClearsToTheClearColour) {
  EXPECT_EQ(Pixel(0, 0), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(Pixel(799, 599), (Rgba{0, 0, 0, 255}));
  SetClsColor(177, 142, 130);
  Cls();
  Flip(0);
  EXPECT_EQ(Pixel(400, 300), (Rgba{177, 142, 130, 255}));
}

TEST_F(GLDriver, A145x125PictureAt10_20CoversExactlyItsPixels) {
  SetBlend(kBlendSolid);
  DrawImage(ImageOf(MakePixmap(145, 125,
                               [](int x, int y) {
                                 return Rgba{x, y, 200, 255};
                               }),
                    kDefaultImageFlags),
            10.0f, 20.0f, 0);
  auto grabbed = GrabPixmap(9, 19, 147, 127);
  for (int y = 0; y < 127; ++y) {
    for (int x = 0; x < 147; ++x) {
      const bool inside = x >= 1 && x <= 145 && y >= 1 && y <= 125;
      const Rgba expected = inside ? Rgba{x - 1, y - 1, 200, 255} : Rgba{0, 0, 0, 255};
      ASSERT_EQ(PixelAt(*grabbed, x, y), expected) << "at " << x + 9 << ", " << y + 19;
    }
  }
}

TEST_F(GLDriver, ALostContextIsMadeAgainWithTheDrawingStateAndTextures) {
  auto picture = ImageOf(MakePixmap(16, 16,
                                    [](int x, int y) {
                                      return Rgba{x * 16, y * 16, 99, 255};
                                    }),
                         0);
  SetBlend(kBlendAlpha);
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
  SetClsColor(10, 20, 30);
  Cls();
  DrawImage(picture, 100.0f, 100.0f, 0);
  const auto before = GrabPixmap(90, 90, 40, 40);

  Driver().LoseContextForTesting();
  EXPECT_FALSE(Driver().DeviceUsable());
  DrawImage(picture, 100.0f, 100.0f, 0);  // draws nothing, and survives
  EXPECT_EQ(GrabPixmap(0, 0, 1, 1), nullptr);

  const int seq = GraphicsSeq();
  Flip(0);
  ASSERT_TRUE(Driver().DeviceUsable());
  EXPECT_NE(GraphicsSeq(), seq);  // so images make their textures again
  EXPECT_EQ(Driver().ActiveBlend(), kBlendAlpha);
  Cls();
  DrawImage(picture, 100.0f, 100.0f, 0);
  const auto after = GrabPixmap(90, 90, 40, 40);
  EXPECT_TRUE(testing::ImagesMatch("gl_lost_context", *before, *after, 0));
}

}  // namespace
}  // namespace media
