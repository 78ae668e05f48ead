#include "media/draw2d/soft/soft_driver.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/draw2d/display_window.h"
#include "media/draw2d/image.h"
#include "media/draw2d/pixmap.h"
#include "media/draw2d/shape_geometry.h"
#include "media/draw2d/soft/soft_frame_record.h"
#include "media/draw2d/soft/soft_present.h"
#include "media/draw2d/texture_data.h"

namespace media {

// A display of the software driver: the back buffer, and the window it is shown in.
class TSoftGraphics final : public TGraphics {
 public:
  ~TSoftGraphics() override { Close(); }

  void Close() override {
    if (bufferSurface != nullptr) SDL_FreeSurface(bufferSurface);
    bufferSurface = nullptr;
    if (window != nullptr && ownsWindow) SDL_DestroyWindow(window);
    if (window != nullptr) ReleaseVideo();
    window = nullptr;
  }

  // Draws the recorded frame where it changed and, when `compose`, copies the changed part
  // into the window's surface: 1:1 when the surface has the picture's size, otherwise the
  // whole picture scaled into the middle with black bars.
  void EndFrame(bool compose) {
    const std::span<const TRasterRect> changed = record.EndFrame();
    if (window == nullptr || bufferSurface == nullptr) return;
    SDL_Surface* surface = compose ? SDL_GetWindowSurface(window) : nullptr;
    if (surface == nullptr) {
      composedSurface = nullptr;  // the surface misses this frame's changes
      return;
    }
    if (surface->w == width && surface->h == height) {
      // A new surface (the window was resized), or one that missed frames, takes it all.
      const TRasterRect whole{0, 0, width, height};
      CopyToSurface(pixels.data(), width, bufferSurface, surface,
                    surface == composedSurface ? changed : std::span(&whole, 1));
      composedSurface = surface;
    } else {
      SDL_Rect fitted = FitPicture(surface->w, surface->h, width, height);
      SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
      SDL_BlitScaled(bufferSurface, nullptr, surface, &fitted);
      composedSurface = nullptr;
    }
  }
  // Hands the composed surface to the window system. (Not TGraphics::Show: a software
  // display is never refused, so its window shows from the start.)
  void HandToWindow() {
    if (window != nullptr && bufferSurface != nullptr) SDL_UpdateWindowSurface(window);
  }

  std::vector<std::uint32_t> pixels;     // RGBA bytes in memory order, width x height
  SDL_Window* window = nullptr;          // null offscreen
  bool ownsWindow = false;               // false for an attached window
  SDL_Surface* bufferSurface = nullptr;  // SDL's view of `pixels`, for presenting
  TSoftFrameRecord record;               // this frame's drawing, until it ends
  // The window surface that holds every frame up to the last one 1:1, or null.
  SDL_Surface* composedSurface = nullptr;
};

// A texture of the software driver: the prepared texture data, sampled in place.
class TSoftImageFrame final : public TImageFrame {
 public:
  TSoftImageFrame(TSoftCanvasDriver* driver, TTextureData data)
      : driver_(driver), data_(std::move(data)) {}
  ~TSoftImageFrame() override { driver_->ForgetFrame(this); }

  void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
            float sw, float sh) override {
    driver_->DrawFrame(*this, x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
  }

  const TTextureData& data() const { return data_; }

 private:
  TSoftCanvasDriver* driver_;
  TTextureData data_;
};

namespace {

// Makes a display: the back buffer, and SDL's view of it when it has a window.
std::shared_ptr<TSoftGraphics> MakeGraphics(SDL_Window* window, bool ownsWindow, int width,
                                            int height) {
  auto graphics = std::make_shared<TSoftGraphics>();
  graphics->width = width;
  graphics->height = height;
  graphics->pixels.assign(static_cast<size_t>(width) * height, 0xFF000000u);
  graphics->record.Start(width, height);
  graphics->window = window;
  graphics->ownsWindow = ownsWindow;
  if (window != nullptr) {
    graphics->bufferSurface = SDL_CreateRGBSurfaceWithFormatFrom(
        graphics->pixels.data(), width, height, 32, width * 4, SDL_PIXELFORMAT_RGBA32);
    if (graphics->bufferSurface == nullptr) return nullptr;
    SDL_SetSurfaceBlendMode(graphics->bufferSurface, SDL_BLENDMODE_NONE);
  }
  return graphics;
}

// The mip level a filtered, mipmapped texture is sampled from, as for linear filtering
// with the nearest mip level: level 0 while magnified, otherwise the level nearest to the
// scale. `rho` is the larger texel step per pixel along x or y.
int MipLevel(double rho, int levelCount) {
  if (!(rho > 1.0)) return 0;
  const double lambda = std::log2(rho);
  const int level = lambda <= 0.5 ? 0 : static_cast<int>(std::ceil(lambda + 0.5)) - 1;
  return std::min(level, levelCount - 1);
}

}  // namespace

void TSoftCanvasDriver::ForgetFrame(const TSoftImageFrame* frame) {
  if (activeFrame_ == frame) activeFrame_ = nullptr;
  // The frame's drawing may still wait for its texels, and a later texture may get them.
  if (current_ != nullptr) {
    current_->record.DrawPending();
    current_->record.Forget();
  }
}

std::vector<TGraphicsMode> TSoftCanvasDriver::GraphicsModes() {
  if (target_ == Target::kOffscreen) return {};
  return DesktopDisplayModes();
}

std::shared_ptr<TGraphics> TSoftCanvasDriver::AttachGraphics(void* window, int flags) {
  if (target_ == Target::kOffscreen || window == nullptr || !AcquireVideo()) return nullptr;
  auto* sdlWindow = static_cast<SDL_Window*>(window);
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(sdlWindow, &width, &height);
  auto graphics = MakeGraphics(sdlWindow, false, width, height);
  if (!graphics) {
    ReleaseVideo();
    return nullptr;
  }
  graphics->flags = flags;
  return graphics;
}

std::shared_ptr<TGraphics> TSoftCanvasDriver::CreateGraphics(int width, int height, int depth,
                                                             int hertz, int flags) {
  if (width <= 0 || height <= 0) return nullptr;
  SDL_Window* window = nullptr;
  if (target_ == Target::kWindow) {
    if (!AcquireVideo()) return nullptr;
    // The finished frame goes to the window system as it is (X11: shared memory). SDL would
    // otherwise present window surfaces through a GL texture, and this driver runs where GL
    // is missing or draws on the CPU itself: that doubles the work. The environment can
    // still decide otherwise.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    window = CreateDisplayWindow(width, height, depth, 0);
    if (window == nullptr) {
      ReleaseVideo();
      return nullptr;
    }
  }
  auto graphics = MakeGraphics(window, true, width, height);
  if (!graphics) {
    if (window != nullptr) {
      SDL_DestroyWindow(window);
      ReleaseVideo();
    }
    return nullptr;
  }
  graphics->depth = depth;
  graphics->hertz = hertz;
  graphics->flags = flags;
  return graphics;
}

void TSoftCanvasDriver::SetGraphics(TGraphics* graphics) {
  if (current_ != nullptr) current_->record.DrawPending();
  current_ = static_cast<TSoftGraphics*>(graphics);
  if (current_ != nullptr) current_->record.Start(current_->width, current_->height);
  // Device reset: whole viewport, nothing bound, solid drawing.
  ResetDrawingState(current_ != nullptr ? current_->width : 0,
                    current_ != nullptr ? current_->height : 0);
  activeFrame_ = nullptr;
  activeFrameFlags_ = 0;
  vresScaleX_ = 1.0f;
  vresScaleY_ = 1.0f;
}

FlipResult TSoftCanvasDriver::Flip(int /*sync*/) {
  // No vertical blank to wait for here: the front end paces frames by the clock.
  if (current_ == nullptr) return FlipResult::kPresented;
  // As in the GL driver: a frame drawn while hidden is empty, one for a hidden window unseen.
  const bool shown = DisplayShown();
  if (!composed_) current_->EndFrame(shown && !hidden_);
  if (shown && !hidden_) current_->HandToWindow();
  composed_ = false;
  hidden_ = !shown;
  ++presentCount_;
  return FlipResult::kPresented;
}

void TSoftCanvasDriver::FinishFrame() {
  // Paced frames are composed before the wait, so that what follows it, the hand-over to the
  // window system, takes the same short time every frame.
  if (current_ == nullptr || hidden_ || !DisplayShown()) return;
  current_->EndFrame(true);
  composed_ = true;
}

bool TSoftCanvasDriver::DisplayShown() {
  if (current_ == nullptr) return false;
  if (current_->window == nullptr) return true;  // offscreen: always read back
  return WindowShown(current_->window);
}

std::shared_ptr<TImageFrame> TSoftCanvasDriver::CreateFrameFromPixmap(const TPixmap& pixmap,
                                                                      int flags) {
  return std::make_shared<TSoftImageFrame>(this, PrepareTexture(pixmap, flags));
}

void TSoftCanvasDriver::ApplyResolution() {
  if (current_ == nullptr) return;
  vresScaleX_ = static_cast<float>(current_->width) / vresWidth_;
  vresScaleY_ = static_cast<float>(current_->height) / vresHeight_;
}

TRasterTarget TSoftCanvasDriver::RasterTarget() const {
  TRasterTarget target;
  // Clipped to nothing while the window is hidden: rasterising for nobody costs the most.
  if (current_ == nullptr || hidden_) return target;
  target.pixels = current_->pixels.data();
  target.pitch = current_->width;
  // The viewport, kept inside the buffer.
  const long long x0 = std::max(viewport_[0], 0);
  const long long y0 = std::max(viewport_[1], 0);
  const long long x1 =
      std::min<long long>(static_cast<long long>(viewport_[0]) + viewport_[2], current_->width);
  const long long y1 =
      std::min<long long>(static_cast<long long>(viewport_[1]) + viewport_[3], current_->height);
  if (x0 >= x1 || y0 >= y1) return target;
  target.clipX0 = static_cast<int>(x0);
  target.clipY0 = static_cast<int>(y0);
  target.clipX1 = static_cast<int>(x1);
  target.clipY1 = static_cast<int>(y1);
  return target;
}

void TSoftCanvasDriver::Cls() {
  if (current_ == nullptr) return;
  current_->record.Clear(RasterTarget(), TDriverColors::ToRgbaBytes(colors_.clscolor));
}

TRasterPoint TSoftCanvasDriver::Scale(float x, float y) const {
  return {static_cast<double>(x) * vresScaleX_, static_cast<double>(y) * vresScaleY_};
}

TRasterPoint TSoftCanvasDriver::MapToPixels(float px, float py, float tx, float ty) const {
  return Scale(px * ix_ + py * iy_ + tx, px * jx_ + py * jy_ + ty);
}

void TSoftCanvasDriver::SetActiveFrame(const TSoftImageFrame* frame) {
  if (frame == activeFrame_) return;
  activeFrame_ = frame;
  ++deviceStateChanges_;
  if (frame == nullptr) return;
  const int filtered = frame->data().flags & kImageFiltered;
  if (filtered != activeFrameFlags_) activeFrameFlags_ = filtered;
}

void TSoftCanvasDriver::FillUntextured(std::span<const TRasterPoint> points) {
  if (current_ == nullptr) return;
  SetActiveFrame(nullptr);
  current_->record.Fill(RasterTarget(), points, nullptr,
                        TDriverColors::ToRgbaBytes(colors_.drawcolor), activeBlend_);
}

void TSoftCanvasDriver::DrawFrame(const TSoftImageFrame& frame, float x0, float y0, float x1,
                                  float y1, float tx, float ty, float sx, float sy, float sw,
                                  float sh) {
  if (current_ == nullptr) return;
  const TTextureData& data = frame.data();
  const double u0 = static_cast<double>(sx) * data.uscale;
  const double v0 = static_cast<double>(sy) * data.vscale;
  const double u1 = (static_cast<double>(sx) + sw) * data.uscale;
  const double v1 = (static_cast<double>(sy) + sh) * data.vscale;
  const TRasterPoint corners[4] = {MapToPixels(x0, y0, tx, ty), MapToPixels(x1, y0, tx, ty),
                                   MapToPixels(x1, y1, tx, ty), MapToPixels(x0, y1, tx, ty)};
  SetActiveFrame(&frame);

  // The quad is a parallelogram, so texture coordinates are an affine function of the
  // screen position: solve corner0 + a * edge1 + b * edge2 = point for a and b.
  const double e1x = corners[1].x - corners[0].x;
  const double e1y = corners[1].y - corners[0].y;
  const double e2x = corners[3].x - corners[0].x;
  const double e2y = corners[3].y - corners[0].y;
  const double det = e1x * e2y - e1y * e2x;
  if (det == 0.0 || !std::isfinite(det)) return;
  const double dadx = e2y / det, dady = -e2x / det;
  const double dbdx = -e1y / det, dbdy = e1x / det;
  // Level-0 texel steps per pixel, which choose the mip level.
  const double du = (u1 - u0) * data.width;
  const double dv = (v1 - v0) * data.height;
  const bool filtered = (data.flags & kImageFiltered) != 0;
  int level = 0;
  if (filtered && data.levels.size() > 1) {
    const double rho = std::max(std::hypot(du * dadx, dv * dbdx), std::hypot(du * dady, dv * dbdy));
    level = MipLevel(rho, static_cast<int>(data.levels.size()));
  }

  const TTextureLevel& l = data.levels[level];
  TRasterTexture texture;
  texture.texels = data.LevelTexels(level);
  texture.width = l.width;
  texture.height = l.height;
  texture.bilinear = filtered;
  const double uLevel = (u1 - u0) * l.width;
  const double vLevel = (v1 - v0) * l.height;
  texture.dudx = uLevel * dadx;
  texture.dudy = uLevel * dady;
  texture.dvdx = vLevel * dbdx;
  texture.dvdy = vLevel * dbdy;
  texture.u0 = u0 * l.width - corners[0].x * texture.dudx - corners[0].y * texture.dudy;
  texture.v0 = v0 * l.height - corners[0].x * texture.dvdx - corners[0].y * texture.dvdy;
  current_->record.Fill(RasterTarget(), corners, &texture,
                        TDriverColors::ToRgbaBytes(colors_.drawcolor), activeBlend_);
}

void TSoftCanvasDriver::FillShape(std::span<const TShapePoint> points, bool convex) {
  if (convex) {
    TRasterPoint corners[kOvalPoints];
    const size_t count = std::min(points.size(), std::size(corners));
    for (size_t i = 0; i < count; ++i) corners[i] = Scale(points[i].x, points[i].y);
    FillUntextured({corners, count});
    return;
  }
  // A fan of triangles around the first point, as a display device fills it.
  const TRasterPoint first = Scale(points[0].x, points[0].y);
  TRasterPoint previous = Scale(points[1].x, points[1].y);
  for (size_t i = 2; i < points.size(); ++i) {
    const TRasterPoint next = Scale(points[i].x, points[i].y);
    const TRasterPoint triangle[3] = {first, previous, next};
    FillUntextured(triangle);
    previous = next;
  }
}

void TSoftCanvasDriver::DrawPixmap(const TPixmap& pixmap, int x, int y) {
  if (current_ == nullptr) return;
  // Pasted over what the frame drew so far, and outside its record.
  current_->record.DrawPending();
  current_->record.Forget();
  const TRasterTarget target = RasterTarget();
  std::uint8_t rgba[4];
  for (int py = std::max(target.clipY0 - y, 0); py < pixmap.height && y + py < target.clipY1;
       ++py) {
    std::uint32_t* row = current_->pixels.data() + static_cast<size_t>(y + py) * current_->width;
    for (int px = std::max(target.clipX0 - x, 0); px < pixmap.width && x + px < target.clipX1;
         ++px) {
      pixmap.ReadRgba(px, py, rgba);
      row[x + px] = static_cast<std::uint32_t>(rgba[0]) | static_cast<std::uint32_t>(rgba[1]) << 8 |
                    static_cast<std::uint32_t>(rgba[2]) << 16 |
                    static_cast<std::uint32_t>(rgba[3]) << 24;
    }
  }
}

std::shared_ptr<TPixmap> TSoftCanvasDriver::GrabPixmap(int x, int y, int width, int height) {
  if (current_ == nullptr) return nullptr;
  current_->record.DrawPending();
  auto pixmap = TPixmap::Create(width, height, kPixelFormatRGBA8888);
  if (!pixmap) return nullptr;
  // Parts outside the display stay zero.
  for (int py = 0; py < height; ++py) {
    const int sy = y + py;
    if (sy < 0 || sy >= current_->height) continue;
    const int first = std::max(0, -x);
    const int last = std::min(width, current_->width - x);
    if (first >= last) continue;
    const std::uint32_t* src = current_->pixels.data() + static_cast<size_t>(sy) * current_->width;
    std::copy(reinterpret_cast<const std::uint8_t*>(src + x + first),
              reinterpret_cast<const std::uint8_t*>(src + x + last), pixmap->PixelPtr(first, py));
  }
  return pixmap;
}

void TSoftCanvasDriver::MoveMouse(int x, int y) {
  if (current_ != nullptr)
    MovePointerToPicture(current_->window, current_->width, current_->height, x, y);
}

TPixelView TSoftCanvasDriver::Pixels() const {
  if (current_ == nullptr) return {};
  current_->record.DrawPending();  // a read in the middle of a frame sees what it drew
  return {reinterpret_cast<const std::uint8_t*>(current_->pixels.data()), current_->width,
          current_->height, current_->width * 4};
}

TSoftCanvasDriver* SoftCanvasDriver() {
  // Never destroyed: textures may outlive every other static.
  static auto* driver = new TSoftCanvasDriver(TSoftCanvasDriver::Target::kWindow);
  return driver;
}

TSoftCanvasDriver* OffscreenCanvasDriver() {
  static auto* driver = new TSoftCanvasDriver(TSoftCanvasDriver::Target::kOffscreen);
  return driver;
}

}  // namespace media
