#include "media/draw2d/gl/gl_driver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "media/draw2d/canvas.h"
#include "media/draw2d/display_window.h"
#include "media/draw2d/gl/gl_device.h"
#include "media/draw2d/image.h"
#include "media/draw2d/pixmap.h"
#include "media/draw2d/shape_geometry.h"
#include "media/draw2d/texture_data.h"
#include "media/platform/gpu_devices.h"

namespace media {

// A texture of the GL driver.
class TGLImageFrame final : public TImageFrame {
 public:
  TGLImageFrame(TGLCanvasDriver* driver, GLuint texture, std::uint32_t generation, int flags,
                float uscale, float vscale)
      : driver_(driver),
        texture_(texture),
        generation_(generation),
        flags_(flags),
        uscale_(uscale),
        vscale_(vscale) {}
  ~TGLImageFrame() override { driver_->ForgetFrame(this, texture_, generation_); }

  void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
            float sw, float sh) override {
    driver_->DrawFrame(*this, x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
  }

  GLuint texture() const { return texture_; }
  std::uint32_t generation() const { return generation_; }
  int flags() const { return flags_; }
  float uscale() const { return uscale_; }
  float vscale() const { return vscale_; }

 private:
  TGLCanvasDriver* driver_;
  GLuint texture_;
  std::uint32_t generation_;  // the context the texture lives in
  int flags_;
  float uscale_;  // 1 / texture width
  float vscale_;  // 1 / texture height
};

namespace {

// Blend mode 1 draws where the 8-bit alpha would be >= 128: the value halfway between.
constexpr float kMaskAlphaRef = 127.5f / 255.0f;
constexpr float kNoAlphaTest = -1.0f;

// The first framebuffer pixel at or right of picture edge `edge` (0..picture) when `picture`
// pixels span `size`: the first whose centre lies inside, as a fill of that edge rasterises.
int FramebufferEdge(int edge, int size, int picture) {
  return static_cast<int>((2LL * edge * size + picture - 1) / (2LL * picture));
}

// The framebuffer pixel under the centre of picture pixel `pixel`.
int FramebufferPixel(int pixel, int size, int picture) {
  return static_cast<int>((2LL * pixel + 1) * size / (2LL * picture));
}

}  // namespace

TGLCanvasDriver::TGLCanvasDriver() {
  // Big enough for every shape but long polygons, so drawing never allocates.
  fanVertices_.reserve(kOvalPoints);
}

bool TGLCanvasDriver::MakeContext(TGLGraphics& g) {
  if (!CreateGLDevice(g)) return false;
  g.generation = ++generationCounter_;
  if (g.generation == 0) g.generation = ++generationCounter_;
  swapInterval_ = -1;
  refusedWidth_ = 0;
  refusedHeight_ = 0;
  return true;
}

std::vector<TGraphicsMode> TGLCanvasDriver::GraphicsModes() {
  return DesktopDisplayModes();
}

std::shared_ptr<TGraphics> TGLCanvasDriver::AttachGraphics(void* window, int flags) {
  if (window == nullptr || !AcquireVideo()) return nullptr;
  auto graphics = std::make_shared<TGLGraphics>();
  graphics->window = static_cast<SDL_Window*>(window);
  graphics->ownsWindow = false;
  graphics->flags = flags;
  SDL_GetWindowSize(graphics->window, &graphics->width, &graphics->height);
  if (!MakeContext(*graphics)) return nullptr;  // releases the video subsystem on the way out
  return graphics;
}

std::shared_ptr<TGraphics> TGLCanvasDriver::CreateGraphics(int width, int height, int depth,
                                                           int hertz, int flags) {
  if (width <= 0 || height <= 0 || !AcquireVideo()) return nullptr;
  SetGLWindowAttributes();
  // Hidden and untitled until its context is accepted, so that a refused one never flashes
  // on the screen and is no window of the program's to anyone looking for it.
  SDL_Window* window =
      CreateDisplayWindow(width, height, depth,
                          SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN, false);
  if (window == nullptr) {
    ReleaseVideo();
    return nullptr;
  }
  auto graphics = std::make_shared<TGLGraphics>();
  graphics->window = window;
  graphics->ownsWindow = true;
  graphics->width = width;
  graphics->height = height;
  graphics->depth = depth;
  graphics->hertz = hertz;
  graphics->flags = flags;
  if (!MakeContext(*graphics)) return nullptr;  // the window closes with `graphics`
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  graphics->drawsOnCpu = renderer != nullptr && IsCpuRenderer(renderer);
  return graphics;  // shown by Show once accepted
}

bool TGLCanvasDriver::DeviceUsable() const {
  return current_ != nullptr && current_->context != nullptr;
}

std::uint32_t TGLCanvasDriver::ContextGeneration() const {
  return DeviceUsable() ? current_->generation : 0;
}

void TGLCanvasDriver::SetGraphics(TGraphics* graphics) {
  current_ = static_cast<TGLGraphics*>(graphics);
  ResetDrawingState(current_ != nullptr ? current_->width : 0,
                    current_ != nullptr ? current_->height : 0);
  activeFrame_ = nullptr;
  activeFrameFlags_ = 0;
  if (!DeviceUsable()) return;
  SDL_GL_MakeCurrent(current_->window, current_->context);
  ResetDevice();
}

void TGLCanvasDriver::ResetDevice() {
  // Whole viewport, nothing bound, no alpha test, no blending: the solid state.
  glBindFramebuffer(GL_FRAMEBUFFER, current_->framebuffer);
  glEnable(GL_SCISSOR_TEST);
  glUseProgram(current_->program);
  glBindBuffer(GL_ARRAY_BUFFER, current_->vertexBuffer);
  glActiveTexture(GL_TEXTURE0);
  activeFrame_ = nullptr;
  activeFrameFlags_ = 0;
  activeBlend_ = kBlendSolid;
  BindActiveTexture();
  ApplyBlendState(activeBlend_);
  ApplyProjection();
  FitFramebuffer();
}

// The frame is drawn into a framebuffer object of the drawable's resolution rather than
// straight into the window: the window's back buffer is undefined after every swap, while
// this one keeps the frame across a present (read back after Flip, or not redrawn while the
// window is hidden), as the software driver's back buffer does; its rows run from the
// picture's top, which the edge rule in ApplyProjection relies on; and a frame drawn just
// before the window changed size can still be shown. The price is one copy per present,
// texel for pixel.
void TGLCanvasDriver::FitFramebuffer() {
  TGLGraphics& g = *current_;
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(g.window, &drawableWidth, &drawableHeight);
  SDL_Rect fitted = FitPicture(drawableWidth, drawableHeight, g.width, g.height);
  // Beyond the largest texture the picture is drawn as large as one can be and smoothed
  // up to the window when presented.
  if (fitted.w > g.maxTextureSize || fitted.h > g.maxTextureSize) {
    fitted = FitPicture(std::min(fitted.w, static_cast<int>(g.maxTextureSize)),
                        std::min(fitted.h, static_cast<int>(g.maxTextureSize)), g.width, g.height);
  }
  // A minimised window may have no drawable: the frame keeps its size until it has one.
  const bool resize = fitted.w > 0 && fitted.h > 0 &&
                      (fitted.w != g.framebufferWidth || fitted.h != g.framebufferHeight) &&
                      (fitted.w != refusedWidth_ || fitted.h != refusedHeight_);
  if (resize) {
    if (!ResizeFramebuffer(g, fitted.w, fitted.h)) {
      refusedWidth_ = fitted.w;
      refusedHeight_ = fitted.h;
      ResizeFramebuffer(g, g.width, g.height);
    }
    BindActiveTexture();
  }
  glViewport(0, 0, g.framebufferWidth, g.framebufferHeight);
  ApplyScissor();
}

void TGLCanvasDriver::ApplyProjection() {
  if (!(vresWidth_ > 0.0f) || !(vresHeight_ > 0.0f)) return;
  // Drawing coordinates across the framebuffer, (0, 0) at the top-left, whatever its size in
  // pixels: at the picture's own size GL's pixel centres are at half coordinates, so a
  // corner at whole coordinates lies on a pixel's corner and an unscaled image maps its
  // texels one to one; larger, everything is rasterised at the framebuffer's resolution.
  // The picture's top row is the framebuffer's first row: GL fills a centre on an edge by
  // the bottom-left rule of its own rows, which is then the top-left rule of the picture, as
  // the software driver fills.
  glUniform4f(current_->projectionUniform, 2.0f / vresWidth_, 2.0f / vresHeight_, -1.0f, -1.0f);
}

void TGLCanvasDriver::ApplyScissor() {
  const TGLGraphics& g = *current_;
  const int x0 = std::clamp(viewport_[0], 0, g.width);
  const int y0 = std::clamp(viewport_[1], 0, g.height);
  const int x1 = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(viewport_[0]) + viewport_[2], x0, g.width));
  const int y1 = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(viewport_[1]) + viewport_[3], y0, g.height));
  // The viewport is in picture pixels; in the framebuffer it takes the pixels a rectangle of
  // the same edges fills, so a clear and a fill of the viewport cover the same pixels.
  const int fx0 = FramebufferEdge(x0, g.framebufferWidth, g.width);
  const int fy0 = FramebufferEdge(y0, g.framebufferHeight, g.height);
  const int fx1 = FramebufferEdge(x1, g.framebufferWidth, g.width);
  const int fy1 = FramebufferEdge(y1, g.framebufferHeight, g.height);
  glScissor(fx0, fy0, fx1 - fx0, fy1 - fy0);
}

void TGLCanvasDriver::ApplyBlendState(int mode) {
  glUniform1f(current_->alphaRefUniform, mode == kBlendMask ? kMaskAlphaRef : kNoAlphaTest);
  switch (mode) {
    case kBlendMask:
    case kBlendSolid:
      glDisable(GL_BLEND);
      break;
    case kBlendAlpha:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case kBlendLight:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      break;
    case kBlendShade:
      glEnable(GL_BLEND);
      glBlendFunc(GL_ZERO, GL_SRC_COLOR);
      break;
    default:
      break;
  }
}

void TGLCanvasDriver::BindActiveTexture() {
  glBindTexture(GL_TEXTURE_2D,
                activeFrame_ != nullptr ? activeFrame_->texture() : current_->whiteTexture);
}

FlipResult TGLCanvasDriver::Flip(int sync) {
  if (current_ == nullptr) return FlipResult::kPresented;
  if (DeviceUsable() && SDL_GL_MakeCurrent(current_->window, current_->context) == 0 &&
      !ContextWasReset()) {
    const int interval = sync != 0 ? 1 : 0;
    if (interval != swapInterval_) {
      SDL_GL_SetSwapInterval(interval);
      swapInterval_ = interval;
    }
    // A frame drawn while the window was hidden is empty; one drawn for a window that is
    // hidden now would not be seen.
    const bool shown = DisplayShown();
    if (shown && !hidden_) {
      if (!composed_) ComposeFrame();
      SDL_GL_SwapWindow(current_->window);
    }
    composed_ = false;
    hidden_ = !shown;
    if (!ContextWasReset()) {
      // The window may have changed size (full screen toggled, moved to another screen).
      FitFramebuffer();
      return FlipResult::kPresented;
    }
  }
  composed_ = false;
  // The context is gone: make a new one on the same window, with the device state of a
  // fresh display. The front end sends the drawing state again and images remake their
  // textures.
  if (current_->context != nullptr) SDL_GL_DeleteContext(current_->context);
  current_->context = nullptr;
  if (!MakeContext(*current_)) return FlipResult::kPresented;
  ResetDevice();
  return FlipResult::kDeviceRecreated;
}

bool TGLCanvasDriver::ContextWasReset() const {
  return media::ContextWasReset(*current_);
}

void TGLCanvasDriver::FinishFrame() {
  if (current_ == nullptr || !DeviceUsable() || composed_ || hidden_ || !DisplayShown()) return;
  if (SDL_GL_MakeCurrent(current_->window, current_->context) != 0) return;
  ComposeFrame();
  // Software renderers draw the queued frame only now: doing it before the paced wait keeps
  // that work, and how long it takes, out of the time between two presents.
  glFinish();
  composed_ = true;
}

void TGLCanvasDriver::ComposeFrame() {
  TGLGraphics& g = *current_;
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(g.window, &drawableWidth, &drawableHeight);
  const SDL_Rect fitted = FitPicture(drawableWidth, drawableHeight, g.width, g.height);

  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);

  glBindTexture(GL_TEXTURE_2D, g.framebufferTexture);
  // The frame was drawn at the size it is shown: each pixel takes its own texel. Only a frame
  // drawn before the window changed size, or one larger than a texture can be, is scaled,
  // smoothed rather than with uneven pixels, until the next frame is drawn at the new size.
  const bool exact = fitted.w == g.framebufferWidth && fitted.h == g.framebufferHeight;
  const GLint filter = exact ? GL_NEAREST : GL_LINEAR;
  if (filter != g.framebufferFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    g.framebufferFilter = filter;
  }
  ApplyBlendState(kBlendSolid);
  if (drawableWidth > 0 && drawableHeight > 0) {
    glUniform4f(g.projectionUniform, 2.0f / static_cast<float>(drawableWidth),
                -2.0f / static_cast<float>(drawableHeight), -1.0f, 1.0f);
  }
  // The framebuffer's first row is the picture's top: v = 0 at the top of the screen.
  const auto left = static_cast<float>(fitted.x);
  const auto top = static_cast<float>(fitted.y);
  const auto right = static_cast<float>(fitted.x + fitted.w);
  const auto bottom = static_cast<float>(fitted.y + fitted.h);
  fanVertices_.resize(4);
  fanVertices_[0] = {left, top, 0.0f, 0.0f, 0xFFFFFFFFu};
  fanVertices_[1] = {right, top, 1.0f, 0.0f, 0xFFFFFFFFu};
  fanVertices_[2] = {right, bottom, 1.0f, 1.0f, 0xFFFFFFFFu};
  fanVertices_[3] = {left, bottom, 0.0f, 1.0f, 0xFFFFFFFFu};
  DrawFan(4);

  // Back to drawing the next frame, with the device state as it was (the swap shows the
  // window's own buffer whatever is bound).
  glBindFramebuffer(GL_FRAMEBUFFER, g.framebuffer);
  glViewport(0, 0, g.framebufferWidth, g.framebufferHeight);
  glEnable(GL_SCISSOR_TEST);
  ApplyScissor();
  ApplyProjection();
  ApplyBlendState(activeBlend_);
  BindActiveTexture();
}

std::shared_ptr<TImageFrame> TGLCanvasDriver::CreateFrameFromPixmap(const TPixmap& pixmap,
                                                                    int flags) {
  if (!DeviceUsable()) return nullptr;
  const TTextureData data = PrepareTexture(pixmap, flags);
  if (data.width > current_->maxTextureSize || data.height > current_->maxTextureSize) {
    throw std::runtime_error("Create texture failed: larger than the device allows");
  }
  ClearGLErrors();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const bool mipmapped = data.levels.size() > 1;
  if ((flags & kImageFiltered) != 0) {
    SetTextureParameters(GL_LINEAR, mipmapped ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
  } else {
    SetTextureParameters(GL_NEAREST, GL_NEAREST);
  }
  for (size_t level = 0; level < data.levels.size(); ++level) {
    const TTextureLevel& l = data.levels[level];
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA, l.width, l.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, data.LevelTexels(static_cast<int>(level)));
  }
  const bool failed = glGetError() != GL_NO_ERROR;
  BindActiveTexture();
  if (failed) {
    glDeleteTextures(1, &texture);
    throw std::runtime_error("Create texture failed");
  }
  return std::make_shared<TGLImageFrame>(this, texture, current_->generation, flags, data.uscale,
                                         data.vscale);
}

void TGLCanvasDriver::ForgetFrame(const TGLImageFrame* frame, unsigned texture,
                                  std::uint32_t generation) {
  if (activeFrame_ == frame) {
    activeFrame_ = nullptr;
    if (DeviceUsable()) BindActiveTexture();
  }
  if (generation == ContextGeneration()) {
    const GLuint name = texture;
    glDeleteTextures(1, &name);
  }
}

void TGLCanvasDriver::Cls() {
  if (!DeviceUsable() || hidden_) return;
  const std::uint32_t c = colors_.clscolor;
  glClearColor(static_cast<float>(c >> 16 & 0xFF) / 255.0f,
               static_cast<float>(c >> 8 & 0xFF) / 255.0f, static_cast<float>(c & 0xFF) / 255.0f,
               1.0f);
  glClear(GL_COLOR_BUFFER_BIT);  // within the scissor: the viewport
}

void TGLCanvasDriver::SetActiveFrame(const TGLImageFrame* frame) {
  if (frame == activeFrame_) return;
  activeFrame_ = frame;
  ++deviceStateChanges_;
  BindActiveTexture();
  // Filtering is a property of each texture here, set when it was made.
  if (frame != nullptr) activeFrameFlags_ = frame->flags() & kImageFiltered;
}

void TGLCanvasDriver::DrawFan(int count) {
  if (hidden_) return;  // nobody would see it
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(TGLVertex)),
               fanVertices_.data(), GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLE_FAN, 0, count);
}

void TGLCanvasDriver::DrawFrame(const TGLImageFrame& frame, float x0, float y0, float x1, float y1,
                                float tx, float ty, float sx, float sy, float sw, float sh) {
  // A texture of an earlier context has nothing to draw with.
  if (!DeviceUsable() || frame.generation() != current_->generation) return;
  const float u0 = sx * frame.uscale();
  const float v0 = sy * frame.vscale();
  const float u1 = (sx + sw) * frame.uscale();
  const float v1 = (sy + sh) * frame.vscale();
  const std::uint32_t color = TDriverColors::ToRgbaBytes(colors_.drawcolor);
  auto corner = [&](float px, float py, float u, float v) {
    return TGLVertex{px * ix_ + py * iy_ + tx, px * jx_ + py * jy_ + ty, u, v, color};
  };
  fanVertices_.resize(4);
  fanVertices_[0] = corner(x0, y0, u0, v0);
  fanVertices_[1] = corner(x1, y0, u1, v0);
  fanVertices_[2] = corner(x1, y1, u1, v1);
  fanVertices_[3] = corner(x0, y1, u0, v1);
  SetActiveFrame(&frame);
  DrawFan(4);
}

void TGLCanvasDriver::FillUntextured(int count) {
  if (!DeviceUsable()) return;
  const std::uint32_t color = TDriverColors::ToRgbaBytes(colors_.drawcolor);
  for (int i = 0; i < count; ++i) {
    fanVertices_[i].u = 0.5f;
    fanVertices_[i].v = 0.5f;
    fanVertices_[i].color = color;
  }
  SetActiveFrame(nullptr);
  DrawFan(count);
}

void TGLCanvasDriver::FillShape(std::span<const TShapePoint> points, bool /*convex*/) {
  // One triangle fan fills convex and fan-shaped polygons alike.
  fanVertices_.resize(points.size());
  for (size_t i = 0; i < points.size(); ++i) fanVertices_[i] = {points[i].x, points[i].y, 0, 0, 0};
  FillUntextured(static_cast<int>(points.size()));
}

void TGLCanvasDriver::DrawPixmap(const TPixmap& pixmap, int x, int y) {
  if (!DeviceUsable() || pixmap.width <= 0 || pixmap.height <= 0) return;
  const TTextureData data = PrepareTexture(pixmap, 0);
  if (data.width > current_->maxTextureSize || data.height > current_->maxTextureSize) return;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  SetTextureParameters(GL_NEAREST, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, data.width, data.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               data.LevelTexels(0));
  // Copied as it is: solid, white, untransformed; the drawing state is left as it was.
  ApplyBlendState(kBlendSolid);
  const auto left = static_cast<float>(x);
  const auto top = static_cast<float>(y);
  const auto right = static_cast<float>(x + pixmap.width);
  const auto bottom = static_cast<float>(y + pixmap.height);
  const float u1 = static_cast<float>(pixmap.width) * data.uscale;
  const float v1 = static_cast<float>(pixmap.height) * data.vscale;
  fanVertices_.resize(4);
  fanVertices_[0] = {left, top, 0.0f, 0.0f, 0xFFFFFFFFu};
  fanVertices_[1] = {right, top, u1, 0.0f, 0xFFFFFFFFu};
  fanVertices_[2] = {right, bottom, u1, v1, 0xFFFFFFFFu};
  fanVertices_[3] = {left, bottom, 0.0f, v1, 0xFFFFFFFFu};
  DrawFan(4);
  glDeleteTextures(1, &texture);
  ApplyBlendState(activeBlend_);
  BindActiveTexture();
}

std::shared_ptr<TPixmap> TGLCanvasDriver::GrabPixmap(int x, int y, int width, int height) {
  if (!DeviceUsable()) return nullptr;
  auto pixmap = TPixmap::Create(width, height, kPixelFormatRGBA8888);
  if (!pixmap) return nullptr;
  const TGLGraphics& g = *current_;
  // Parts outside the display stay zero.
  const int x0 = std::max(x, 0);
  const int y0 = std::max(y, 0);
  const int x1 = std::min(x + width, g.width);
  const int y1 = std::min(y + height, g.height);
  if (x0 >= x1 || y0 >= y1) return pixmap;
  // The picture is read back at its own size whatever resolution it was drawn at: each of
  // its pixels is the framebuffer pixel under its centre, which a shape covers exactly when
  // it covers that picture pixel (one to one at the picture's own size).
  const int fx0 = FramebufferPixel(x0, g.framebufferWidth, g.width);
  const int fx1 = FramebufferPixel(x1 - 1, g.framebufferWidth, g.width) + 1;
  std::vector<std::uint8_t> row(static_cast<size_t>(fx1 - fx0) * 4);
  for (int py = y0; py < y1; ++py) {
    glReadPixels(fx0, FramebufferPixel(py, g.framebufferHeight, g.height), fx1 - fx0, 1, GL_RGBA,
                 GL_UNSIGNED_BYTE, row.data());
    std::uint8_t* out = pixmap->PixelPtr(x0 - x, py - y);
    for (int px = x0; px < x1; ++px, out += 4) {
      const std::uint8_t* in =
          row.data() +
          static_cast<size_t>(FramebufferPixel(px, g.framebufferWidth, g.width) - fx0) * 4;
      std::copy(in, in + 4, out);
    }
  }
  return pixmap;
}

bool TGLCanvasDriver::CanSyncToDisplay(int hertz) {
  if (!DeviceUsable()) return false;
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(current_->window);
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return false;
  // 59.94 Hz displays report 59 or 60.
  if (mode.refresh_rate == 0 || std::abs(mode.refresh_rate - hertz) > 1) return false;
  if (SDL_GL_SetSwapInterval(1) != 0) return false;
  swapInterval_ = 1;
  return true;
}

bool TGLCanvasDriver::MayDrawOnGpu() {
  return MayHaveGpu();
}

bool TGLCanvasDriver::CanPresentOnBlank() {
  if (!DeviceUsable() || SDL_GL_SetSwapInterval(1) != 0) return false;
  swapInterval_ = 1;
  return true;
}

bool TGLCanvasDriver::DisplayShown() {
  return current_ != nullptr && WindowShown(current_->window);
}

void TGLCanvasDriver::MoveMouse(int x, int y) {
  if (current_ != nullptr)
    MovePointerToPicture(current_->window, current_->width, current_->height, x, y);
}

float TGLCanvasDriver::PixelScale() {
  // The framebuffer is the picture's size in the drawable (FitFramebuffer), the same scale
  // across and down; a drawable smaller than the picture gives less than 1.
  if (!DeviceUsable() || current_->width <= 0 || current_->framebufferWidth <= 0) return 1.0f;
  return static_cast<float>(current_->framebufferWidth) / static_cast<float>(current_->width);
}

std::string TGLCanvasDriver::RendererName() const {
  if (!DeviceUsable()) return {};
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return name != nullptr ? name : "";
}

bool TGLCanvasDriver::IsOpenGLES() const {
  return DeviceUsable() && current_->es;
}

void TGLCanvasDriver::LoseContextForTesting() {
  if (!DeviceUsable()) return;
  SDL_GL_DeleteContext(current_->context);
  current_->context = nullptr;
}

std::shared_ptr<TPixmap> TGLCanvasDriver::GrabWindow() {
  if (!DeviceUsable() || SDL_GL_MakeCurrent(current_->window, current_->context) != 0) {
    return nullptr;
  }
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(current_->window, &width, &height);
  auto pixmap = TPixmap::Create(width, height, kPixelFormatRGBA8888);
  if (!pixmap) return nullptr;
  ComposeFrame();
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  // The window's rows are bottom first.
  for (int row = 0; row < height; ++row) {
    glReadPixels(0, height - 1 - row, width, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixmap->PixelPtr(0, row));
  }
  glBindFramebuffer(GL_FRAMEBUFFER, current_->framebuffer);
  return pixmap;
}

TGLCanvasDriver* GLDriver() {
  // Never destroyed: textures may outlive every other static.
  static auto* driver = new TGLCanvasDriver;
  return driver;
}

TCanvasDriver* GLCanvasDriver() {
  return GLDriver();
}

bool IsCpuRenderer(std::string_view renderer) {
  for (std::string_view name :
       {"llvmpipe", "softpipe", "swrast", "Software Rasterizer", "SWR ", "lavapipe"}) {
    if (renderer.find(name) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace media
