// The drawing state every device driver shares (colours and their clamps, the blend cache,
// the bound-texture cache), once for each driver that draws: the software driver always,
// GL where a context can be had.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/canvas_graphics.h"
#include "media/draw2d/device_driver.h"
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

class DeviceDriver : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    TCanvasDriver* driver = OffscreenCanvasDriver();
    if (IsGL()) {
      // Windows has no GL without a window: there a hidden one (Wine's GL under Xvfb).
      test_support::SetEnv("SDL_VIDEODRIVER", test_support::kHiddenGLVideoDriver);
      testing::BeginGLTest();
      driver = GLCanvasDriver();
    }
    ResetCanvasForTesting();
    SetGraphicsDriver(driver, kGraphicsBackBuffer);
    if (Graphics(800, 600, 0, 0, 0) == nullptr || CurrentDriver() != driver) {
      GTEST_SKIP() << "no display on the " << GetParam() << " driver here";
    }
  }
  void TearDown() override {
    if (IsGL()) {
      testing::EndGLTest();
      return;
    }
    ResetCanvasForTesting();
    SetEndHook(nullptr);
    ResetPolledInputForTesting();
  }

  bool IsGL() const { return GetParam() == "gl"; }
  static TDeviceDriver& Driver() { return *static_cast<TDeviceDriver*>(CurrentDriver()); }
  static Rgba Pixel(int x, int y) { return PixelAt(*GrabPixmap(x, y, 1, 1), 0, 0); }
  static std::shared_ptr<TImage> Uniform(Rgba texel) {
    return TImage::Load(MakePixmap(4, 2, [&](int, int) { return texel; }), 0, 0, 0, 0);
  }
};

TEST_P(DeviceDriver, ColourAndAlphaAreClampedAndPacked) {
  SetAlpha(1.5f);
  EXPECT_EQ(Driver().DrawColor() >> 24, 255u);
  SetAlpha(-0.2f);
  EXPECT_EQ(Driver().DrawColor() >> 24, 0u);
  SetAlpha(0.1f);
  EXPECT_EQ(Driver().DrawColor() >> 24, 25u);  // truncated, not rounded
  SetColor(300, -5, 128);
  EXPECT_EQ(Driver().DrawColor(), 0x19FF0080u);
  SetClsColor(-1, 256, 7);
  EXPECT_EQ(Driver().ClsColor(), 0xFF00FF07u);
  // What reaches the pixels.
  Cls();
  EXPECT_EQ(Pixel(0, 0), (Rgba{0, 255, 7, 255}));
  SetAlpha(1.0f);
  SetBlend(kBlendSolid);
  DrawImage(Uniform({255, 255, 255, 255}), 10.0f, 10.0f, 0);
  EXPECT_EQ(Pixel(10, 10), (Rgba{255, 0, 128, 255}));
}

TEST_P(DeviceDriver, BlendAndBoundTextureAreCachedAndUnknownModesChangeNothing) {
  SetBlend(kBlendAlpha);
  const int changes = Driver().DeviceStateChanges();
  SetBlend(kBlendAlpha);
  EXPECT_EQ(Driver().DeviceStateChanges(), changes);
  SetBlend(7);
  EXPECT_EQ(Driver().DeviceStateChanges(), changes);
  EXPECT_EQ(Driver().ActiveBlend(), kBlendAlpha);
  EXPECT_EQ(CurrentCanvasGraphics().blend_mode, 7);
  // Still blending as before: 40 * 128/255 + 200 * 127/255 and so on.
  SetClsColor(200, 100, 50);
  Cls();
  DrawImage(Uniform({40, 80, 160, 128}), 10.0f, 10.0f, 0);
  const Rgba blended = Pixel(10, 10);
  const int slack = IsGL() ? 1 : 0;  // GL's blender rounds its own way
  EXPECT_NEAR(blended.r, 120, slack);
  EXPECT_NEAR(blended.g, 90, slack);
  EXPECT_NEAR(blended.b, 105, slack);
  EXPECT_NEAR(blended.a, 191, slack);
  // Drawing the same picture again binds nothing.
  auto picture = Uniform({1, 2, 3, 255});
  DrawImage(picture, 0.0f, 0.0f, 0);
  const int bound = Driver().DeviceStateChanges();
  DrawImage(picture, 4.0f, 0.0f, 0);
  EXPECT_EQ(Driver().DeviceStateChanges(), bound);
}

INSTANTIATE_TEST_SUITE_P(EachDriver, DeviceDriver, ::testing::Values("soft", "gl"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace media
