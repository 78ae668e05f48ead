// Helpers of the canvas and driver tests: synthetic pictures, pixel comparison that leaves
// the images behind when it fails, and a driver that records what the front end asks of it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/gl/gl_device.h"
#include "media/draw2d/pixmap.h"

namespace media::testing {

struct Rgba {
  int r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba&) const = default;
};
void PrintTo(const Rgba& c, std::ostream* os);

// A format-6 pixmap whose pixel (x, y) is `pixel(x, y)`.
std::shared_ptr<TPixmap> MakePixmap(int width, int height,
                                    const std::function<Rgba(int x, int y)>& pixel);
Rgba PixelAt(const TPixmap& pixmap, int x, int y);
// The whole current display, read back through the driver.
std::shared_ptr<TPixmap> GrabDisplay();

// Writes a format-6 pixmap as a PNG file.
bool WritePng(const std::string& path, const TPixmap& pixmap);
// Where failing tests leave their images: canvas_failures/ in the working directory.
std::string FailureImagePath(const std::string& name);

// Every channel of every pixel within `tolerance`. Otherwise writes NAME.expected.png and
// NAME.actual.png and says where, how many pixels differ and the first and worst of them.
// `worst` receives the largest difference found.
::testing::AssertionResult ImagesMatch(const std::string& name, const TPixmap& expected,
                                       const TPixmap& actual, int tolerance, int* worst = nullptr);

// A driver that opens displays without a window and logs every call the front end makes.
class RecordingDriver : public TCanvasDriver {
 public:
  std::vector<std::string> log;                        // "SetBlend 3", "Flip 0", ...
  bool failCreate = false;                             // CreateGraphics gives null
  bool drawsOnCpu = false;                             // its displays say they rasterise on the CPU
  bool mayDrawOnGpu = true;                            // answer of MayDrawOnGpu
  bool canSync = false;                                // answer of CanSyncToDisplay
  bool canPresentOnBlank = false;                      // answer of CanPresentOnBlank
  FlipResult nextFlipResult = FlipResult::kPresented;  // returned once by Flip
  bool makeFrames = false;                // CreateFrameFromPixmap gives frames that log their Draw
  std::vector<std::int32_t> flipTimes;    // clock at every Flip, after onFlip
  std::function<void(int sync)> onFlip;   // runs inside every Flip (a swap that takes time)
  bool shown = true;                      // answer of DisplayShown
  std::vector<std::int32_t> finishTimes;  // clock at every FinishFrame (kept out of `log`)

  // The calls logged since `from` whose text starts with `prefix`.
  std::vector<std::string> Calls(const std::string& prefix, size_t from = 0) const;

  std::vector<TGraphicsMode> GraphicsModes() override { return {}; }
  std::shared_ptr<TGraphics> AttachGraphics(void*, int) override { return nullptr; }
  std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth, int hertz,
                                            int flags) override;
  void SetGraphics(TGraphics* graphics) override;
  FlipResult Flip(int sync) override;
  std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmap& pixmap, int flags) override;
  void SetBlend(int mode) override;
  void SetAlpha(float alpha) override;
  void SetColor(int r, int g, int b) override;
  void SetClsColor(int r, int g, int b) override;
  void SetViewport(int x, int y, int width, int height) override;
  void SetTransform(float ix, float iy, float jx, float jy) override;
  void SetLineWidth(float width) override;
  void Cls() override;
  void Plot(float, float) override {}
  void DrawLine(float, float, float, float, float, float) override {}
  void DrawRect(float, float, float, float, float, float) override {}
  void DrawOval(float, float, float, float, float, float) override {}
  void DrawPoly(std::span<const float>, float, float, float, float) override {}
  void DrawPixmap(const TPixmap&, int, int) override {}
  std::shared_ptr<TPixmap> GrabPixmap(int, int, int, int) override { return nullptr; }
  void SetResolution(float width, float height) override;
  bool CanSyncToDisplay(int hertz) override;
  bool CanPresentOnBlank() override { return canPresentOnBlank; }
  bool MayDrawOnGpu() override { return mayDrawOnGpu; }
  bool DisplayShown() override { return shown; }
  void FinishFrame() override;
  void MoveMouse(int x, int y) override;
};

// Around a test on the GL driver. Begin: under AddressSanitizer Mesa's rasteriser runs on the
// test's thread and its generated code stays out of the leak checker. End: the leak checker
// back, then the canvas, the video driver choice, the end hook and the polled input reset.
void BeginGLTest();
void EndGLTest();

// A test on the GL driver: under AddressSanitizer Mesa's rasteriser runs on the test's thread
// and its generated code stays out of the leak checker; afterwards the canvas, the video
// driver choice, the end hook and the polled input are reset.
class GLDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Opens the 800 x 600 picture with the GL driver on SDL's `videoDriver`; depth 0 = a
  // window. True when the GL driver got it.
  bool Open(const char* videoDriver, int depth);
  SDL_Window* Window() const;

  std::shared_ptr<TGraphics> display_;
};

}  // namespace media::testing
