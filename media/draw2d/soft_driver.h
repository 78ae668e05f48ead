// The software canvas driver: draws with our own rasteriser (soft_raster.h) into an RGBA
// back buffer of the picture's size and presents it through the SDL window's surface, scaled
// with black bars in full screen; while the window is minimised or hidden it draws nothing.
// The offscreen form opens no window at all: tests and the capture tool read its frames from
// memory.
// Depends on: SDL2 video (window form only), soft_raster, texture_data, pixmap.
#pragma once

#include <cstdint>
#include <memory>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/driver_colors.h"
#include "media/draw2d/soft_raster.h"

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

class TSoftCanvasDriver final : public TCanvasDriver {
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
  void SetBlend(int mode) override;
  void SetAlpha(float alpha) override;
  void SetColor(int r, int g, int b) override;
  void SetClsColor(int r, int g, int b) override;
  void SetViewport(int x, int y, int width, int height) override;
  void SetTransform(float ix, float iy, float jx, float jy) override;
  void SetLineWidth(float width) override;
  void Cls() override;
  void Plot(float x, float y) override;
  void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawPoly(std::span<const float> xy, float handleX, float handleY, float tx,
                float ty) override;
  void DrawPixmap(const TPixmap& pixmap, int x, int y) override;
  std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height) override;
  void SetResolution(float width, float height) override;
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
  // What the device holds now, for tests.
  std::uint32_t DrawColor() const { return colors_.drawcolor; }  // ARGB
  std::uint32_t ClsColor() const { return colors_.clscolor; }    // ARGB
  int ActiveBlend() const { return activeBlend_; }
  // Blend and texture changes that reached the device; cached repeats do not count.
  int DeviceStateChanges() const { return deviceStateChanges_; }
  int PresentCount() const { return presentCount_; }

 private:
  void SetActiveFrame(const TSoftImageFrame* frame);
  TRasterTarget RasterTarget() const;
  // Maps a point through the matrix, the offset and the virtual resolution.
  TRasterPoint Map(float px, float py, float tx, float ty) const;
  TRasterPoint Scale(float x, float y) const;
  void FillUntextured(std::span<const TRasterPoint> points);

  Target target_;
  TSoftGraphics* current_ = nullptr;  // the display being drawn, or null
  TDriverColors colors_;
  float ix_ = 1.0f, iy_ = 0.0f, jx_ = 0.0f, jy_ = 1.0f;  // 2x2 drawing matrix
  float lineWidth_ = 1.0f;
  int viewport_[4] = {0, 0, 0, 0};  // x, y, width, height
  float vresScaleX_ = 1.0f;         // display pixels per drawing unit
  float vresScaleY_ = 1.0f;
  int activeBlend_ = kBlendSolid;
  const TSoftImageFrame* activeFrame_ = nullptr;  // the bound texture, or null
  int activeFrameFlags_ = 0;
  int deviceStateChanges_ = 0;
  int presentCount_ = 0;
  bool hidden_ = false;    // the window was hidden at the last Flip: this frame draws nothing
  bool composed_ = false;  // FinishFrame copied the frame into the window: Flip only shows it
};

// The software driver presenting in an SDL window.
TSoftCanvasDriver* SoftCanvasDriver();
// The software driver without a window.
TSoftCanvasDriver* OffscreenCanvasDriver();

}  // namespace media
