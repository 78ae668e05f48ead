// The software canvas driver: draws with our own rasteriser (soft_raster.h) into an RGBA
// back buffer of the picture's size and presents it through the SDL window's surface, scaled
// with black bars in full screen; while the window is minimised or hidden it draws nothing.
// The offscreen form opens no window at all: tests and the capture tool read its frames from
// memory.
// Depends on: SDL2 video (window form only), soft_raster, texture_data, pixmap.
#pragma once

#include <cstdint>
#include <memory>

#include "media/draw2d/device_driver.h"
#include "media/draw2d/soft/soft_raster.h"

namespace media {

class TSoftGraphics;
class TSoftImageFrame;

// The back buffer: RGBA bytes, rows top first.
struct TPixelView {
  const std::uint8_t* rgba = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;  // bytes per row
};

class TSoftCanvasDriver final : public TDeviceDriver {
 public:
  enum class Target {
    kWindow,     // an SDL window
    kOffscreen,  // memory only
  };
  explicit TSoftCanvasDriver(Target target) : target_(target) {}

  std::vector<TGraphicsMode> GraphicsModes() override;
  std::shared_ptr<TGraphics> AttachGraphics(void* window, int flags) override;
  std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth, int hertz,
                                            int flags) override;
  void SetGraphics(TGraphics* graphics) override;
  FlipResult Flip(int sync) override;
  std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmap& pixmap, int flags) override;
  void Cls() override;
  void DrawPixmap(const TPixmap& pixmap, int x, int y) override;
  std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height) override;
  bool DisplayShown() override;
  void FinishFrame() override;
  void MoveMouse(int x, int y) override;

  // The quad drawing of a texture frame (TImageFrame::Draw lands here).
  void DrawFrame(const TSoftImageFrame& frame, float x0, float y0, float x1, float y1, float tx,
                 float ty, float sx, float sy, float sw, float sh);
  // A frame being destroyed is no longer the bound one.
  void ForgetFrame(const TSoftImageFrame* frame);

  // The current display's back buffer; empty without one. The capture tool reads it.
  TPixelView Pixels() const;
  int PresentCount() const { return presentCount_; }

 private:
  void SetActiveFrame(const TSoftImageFrame* frame);
  TRasterTarget RasterTarget() const;
  // Maps a point through the matrix, the offset and the virtual resolution.
  TRasterPoint MapToPixels(float px, float py, float tx, float ty) const;
  TRasterPoint Scale(float x, float y) const;
  void ApplyResolution() override;
  void FillShape(std::span<const TShapePoint> points, bool convex) override;
  void FillUntextured(std::span<const TRasterPoint> points);

  Target target_;
  TSoftGraphics* current_ = nullptr;  // the display being drawn, or null
  float vresScaleX_ = 1.0f;           // display pixels per drawing unit
  float vresScaleY_ = 1.0f;
  const TSoftImageFrame* activeFrame_ = nullptr;  // the bound texture, or null
  int activeFrameFlags_ = 0;
  int presentCount_ = 0;
};

// The software driver presenting in an SDL window.
TSoftCanvasDriver* SoftCanvasDriver();
// The software driver without a window.
TSoftCanvasDriver* OffscreenCanvasDriver();

}  // namespace media
