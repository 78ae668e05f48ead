// Where GL draws on the CPU, the program may ask for its own rasteriser instead: the renderer
// names that count as CPU rasterisers, and the fall-back through Graphics on SDL's offscreen
// video driver (EGL with whatever GL this machine has).
#include <gtest/gtest.h>

#include <string>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/gl/gl_driver.h"
#include "media/draw2d/soft/soft_driver.h"

namespace media {
namespace {

TEST(CpuRenderer, MesaSoftwareRasterisersCountAndGpuDriversDoNot) {
  for (const char* name :
       {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa OffScreen / swrast",
        "Software Rasterizer", "SWR (LLVM 12.0.0, 256 bits)", "zink (lavapipe)"}) {
    EXPECT_TRUE(IsCpuRenderer(name)) << name;
  }
  // GPU drivers, some of which carry "LLVM" in their names as well.
  for (const char* name : {"AMD Radeon RX 6800 (navi21, LLVM 15.0.6, DRM 3.49, 6.1.0)",
                           "Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
                           "NVIDIA GeForce RTX 3080/PCIe/SSE2", "virgl", "Apple M1", ""}) {
    EXPECT_FALSE(IsCpuRenderer(name)) << name;
  }
}

class CpuRendererFallback : public testing::GLDisplayTest {
 protected:
  void SetUp() override {
    GLDisplayTest::SetUp();
    // What GL is here, if any.
    if (!Open("offscreen", 0)) GTEST_SKIP() << "no OpenGL context on this machine";
    renderer_ = GLDriver()->RendererName();
  }
  // The driver that got an 800 x 600 window with GL first (refusing a CPU renderer or not)
  // and the software driver after it.
  TCanvasDriver* OpenAny(bool refusing) {
    display_ = nullptr;
    CloseGraphics();
    SetGraphicsDrivers({{GLCanvasDriver(), refusing}, {SoftCanvasDriver(), false}},
                       kGraphicsBackBuffer);
    display_ = Graphics(800, 600, 0, 0, 0);
    return display_ ? CurrentDriver() : nullptr;
  }

  std::string renderer_;
};

TEST_F(CpuRendererFallback, RefusingCpuRenderersFallsBackToOurRasteriserOnlyWhereGLIsOne) {
  SCOPED_TRACE(renderer_);
  TCanvasDriver* refusing = OpenAny(true);
  ASSERT_NE(refusing, nullptr) << "the fall-back must still give a display";
  EXPECT_EQ(refusing, IsCpuRenderer(renderer_) ? static_cast<TCanvasDriver*>(SoftCanvasDriver())
                                               : GLCanvasDriver());
  // The display works: a frame can be drawn and presented.
  Cls();
  Flip(0);

  EXPECT_EQ(OpenAny(false), GLCanvasDriver()) << "accepted again once allowed";
  EXPECT_EQ(display_->drawsOnCpu, IsCpuRenderer(renderer_));
}

}  // namespace
}  // namespace media
