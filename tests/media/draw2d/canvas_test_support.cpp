#include "canvas_test_support.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "media/draw2d/canvas.h"
#include "media/draw2d/canvas_graphics.h"
#include "media/draw2d/gl/gl_driver.h"
#include "media/platform/clock.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "tests/support/portable_process.h"

namespace media::testing {

void PrintTo(const Rgba& c, std::ostream* os) {
  *os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

std::shared_ptr<TPixmap> MakePixmap(int width, int height,
                                    const std::function<Rgba(int x, int y)>& pixel) {
  auto pixmap = TPixmap::Create(width, height, kPixelFormatRGBA8888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgba c = pixel(x, y);
      const std::uint8_t rgba[4] = {static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                                    static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(c.a)};
      pixmap->WriteRgba(x, y, rgba);
    }
  }
  return pixmap;
}

Rgba PixelAt(const TPixmap& pixmap, int x, int y) {
  std::uint8_t rgba[4];
  pixmap.ReadRgba(x, y, rgba);
  return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

std::shared_ptr<TPixmap> GrabDisplay() {
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  return GrabPixmap(0, 0, g.g_width, g.g_height);
}

bool WritePng(const std::string& path, const TPixmap& pixmap) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(pixmap.width);
  image.height = static_cast<png_uint_32>(pixmap.height);
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, pixmap.pixels, pixmap.pitch, nullptr) !=
         0;
}

std::string FailureImagePath(const std::string& name) {
  return (std::filesystem::current_path() / "canvas_failures" / name).string();
}

::testing::AssertionResult ImagesMatch(const std::string& name, const TPixmap& expected,
                                       const TPixmap& actual, int tolerance, int* worst) {
  if (worst != nullptr) *worst = 0;
  if (expected.width != actual.width || expected.height != actual.height) {
    return ::testing::AssertionFailure() << name << ": sizes differ";
  }
  int differing = 0;
  int largest = 0;
  std::ostringstream first;
  std::ostringstream worstAt;
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      const Rgba e = PixelAt(expected, x, y);
      const Rgba a = PixelAt(actual, x, y);
      const int d = std::max(
          {std::abs(e.r - a.r), std::abs(e.g - a.g), std::abs(e.b - a.b), std::abs(e.a - a.a)});
      if (d > largest) {
        largest = d;
        worstAt.str("");
        worstAt << "(" << x << ", " << y << ") expected " << ::testing::PrintToString(e) << " got "
                << ::testing::PrintToString(a);
      }
      if (d > tolerance && differing++ == 0) {
        first << "(" << x << ", " << y << ") expected " << ::testing::PrintToString(e) << " got "
              << ::testing::PrintToString(a);
      }
    }
  }
  if (worst != nullptr) *worst = largest;
  // MUSICDISK_KEEP_TEST_IMAGES=1 keeps the images of passing comparisons too.
  const char* keep = std::getenv("MUSICDISK_KEEP_TEST_IMAGES");
  if (differing == 0 && (keep == nullptr || *keep != '1')) return ::testing::AssertionSuccess();
  const std::string expectedPath = FailureImagePath(name + ".expected.png");
  const std::string actualPath = FailureImagePath(name + ".actual.png");
  WritePng(expectedPath, expected);
  WritePng(actualPath, actual);
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << name << ": " << differing << " pixels differ by more than " << tolerance
         << "; first at " << first.str() << "; worst (" << largest << ") at " << worstAt.str()
         << ". Images: " << expectedPath << " and " << actualPath;
}

std::vector<std::string> RecordingDriver::Calls(const std::string& prefix, size_t from) const {
  std::vector<std::string> calls;
  for (size_t i = from; i < log.size(); ++i) {
    if (log[i].rfind(prefix, 0) == 0) calls.push_back(log[i]);
  }
  return calls;
}

namespace {

// "Name a b c": the call as the log keeps it.
template <typename... Args>
std::string Call(const char* name, const Args&... args) {
  std::ostringstream call;
  call << name;
  ((call << " " << args), ...);
  return call.str();
}

}  // namespace

std::shared_ptr<TGraphics> RecordingDriver::CreateGraphics(int width, int height, int depth,
                                                           int hertz, int flags) {
  log.push_back(Call("CreateGraphics", width, height, depth, hertz, flags));
  if (failCreate) return nullptr;
  auto graphics = std::make_shared<TGraphics>();
  graphics->width = width;
  graphics->height = height;
  graphics->depth = depth;
  graphics->hertz = hertz;
  graphics->flags = flags;
  graphics->drawsOnCpu = drawsOnCpu;
  return graphics;
}

void RecordingDriver::SetGraphics(TGraphics* graphics) {
  log.push_back(graphics != nullptr ? "SetGraphics display" : "SetGraphics null");
}

void RecordingDriver::FinishFrame() {
  finishTimes.push_back(Millisecs());
}

FlipResult RecordingDriver::Flip(int sync) {
  log.push_back("Flip " + std::to_string(sync));
  if (onFlip) onFlip(sync);
  flipTimes.push_back(Millisecs());
  const FlipResult result = nextFlipResult;
  nextFlipResult = FlipResult::kPresented;
  return result;
}

namespace {

class RecordingFrame final : public TImageFrame {
 public:
  explicit RecordingFrame(std::vector<std::string>& log) : log_(log) {}
  void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
            float sw, float sh) override {
    log_.push_back(Call("Draw", x0, y0, x1, y1, tx, ty, sx, sy, sw, sh));
  }

 private:
  std::vector<std::string>& log_;
};

}  // namespace

std::shared_ptr<TImageFrame> RecordingDriver::CreateFrameFromPixmap(const TPixmap& pixmap,
                                                                    int flags) {
  log.push_back("CreateFrameFromPixmap " + std::to_string(pixmap.width) + "x" +
                std::to_string(pixmap.height) + " " + std::to_string(flags));
  if (!makeFrames) return nullptr;
  return std::make_shared<RecordingFrame>(log);
}

void RecordingDriver::SetBlend(int mode) {
  log.push_back(Call("SetBlend", mode));
}
void RecordingDriver::SetAlpha(float alpha) {
  log.push_back(Call("SetAlpha", alpha));
}
void RecordingDriver::SetColor(int r, int g, int b) {
  log.push_back(Call("SetColor", r, g, b));
}
void RecordingDriver::SetClsColor(int r, int g, int b) {
  log.push_back(Call("SetClsColor", r, g, b));
}
void RecordingDriver::SetViewport(int x, int y, int width, int height) {
  log.push_back(Call("SetViewport", x, y, width, height));
}
void RecordingDriver::SetTransform(float ix, float iy, float jx, float jy) {
  log.push_back(Call("SetTransform", ix, iy, jx, jy));
}
void RecordingDriver::SetLineWidth(float width) {
  log.push_back(Call("SetLineWidth", width));
}
void RecordingDriver::Cls() {
  log.push_back("Cls");
}
void RecordingDriver::SetResolution(float width, float height) {
  log.push_back(Call("SetResolution", width, height));
}

bool RecordingDriver::CanSyncToDisplay(int hertz) {
  log.push_back(Call("CanSyncToDisplay", hertz));
  return canSync;
}

void RecordingDriver::MoveMouse(int x, int y) {
  log.push_back(Call("MoveMouse", x, y));
}

void BeginGLTest() {
#if defined(__SANITIZE_ADDRESS__)
  test_support::SetEnv("LP_NUM_THREADS", "0");
  __lsan_disable();
#endif
}

void EndGLTest() {
#if defined(__SANITIZE_ADDRESS__)
  __lsan_enable();
#endif
  ResetCanvasForTesting();
  test_support::UnsetEnv("SDL_VIDEODRIVER");
  SetEndHook(nullptr);
  ResetPolledInputForTesting();
}

void GLDisplayTest::SetUp() {
  BeginGLTest();
}

void GLDisplayTest::TearDown() {
  display_.reset();
  EndGLTest();
}

bool GLDisplayTest::Open(const char* videoDriver, int depth) {
  test_support::SetEnv("SDL_VIDEODRIVER", videoDriver);
  ResetCanvasForTesting();
  SetGraphicsDriver(GLCanvasDriver(), kGraphicsBackBuffer);
  display_ = Graphics(800, 600, depth, 0, 0);
  return display_ != nullptr && CurrentDriver() == GLCanvasDriver();
}

SDL_Window* GLDisplayTest::Window() const {
  return static_cast<TGLGraphics*>(display_.get())->window;
}

}  // namespace media::testing
