// The OpenGL canvas driver: an SDL window with an OpenGL 2.1 (or OpenGL ES 2.0) context.
// Every frame is drawn at the window's real resolution (HiDPI, full screen on the desktop's
// own mode): into a framebuffer object of the size the picture takes in the drawable, with
// the picture's coordinates mapped onto it, so shapes, text and images are rasterised at
// full resolution rather than enlarged; the present copies it texel for pixel into the
// middle of the window between black bars. While the window is minimised or hidden nothing
// is drawn or presented. A display whose GL rasterises on the CPU says so (drawsOnCpu): the
// front end decides whether to keep it.
// Depends on: SDL2 video, libepoxy, texture_data, display_window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/draw2d/device_driver.h"

namespace media {

class TGLGraphics;
class TGLImageFrame;

// One corner as the vertex shader reads it.
struct TGLVertex {
  float x, y;           // drawing coordinates
  float u, v;           // texture coordinates
  std::uint32_t color;  // RGBA bytes in memory order
};

class TGLCanvasDriver final : public TDeviceDriver {
 public:
  TGLCanvasDriver();

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
  bool CanSyncToDisplay(int hertz) override;
  bool CanPresentOnBlank() override;
  // False on a machine without any GPU device (MayHaveGpu).
  bool MayDrawOnGpu() override;
  bool DisplayShown() override;
  void FinishFrame() override;
  void MoveMouse(int x, int y) override;
  // The framebuffer's width over the picture's: 1.8 full screen on a 1920 x 1080 desktop.
  float PixelScale() override;

  // The quad drawing of a texture frame (TImageFrame::Draw lands here).
  void DrawFrame(const TGLImageFrame& frame, float x0, float y0, float x1, float y1, float tx,
                 float ty, float sx, float sy, float sw, float sh);
  // A texture being destroyed: unbinds it and frees it while its context lives.
  void ForgetFrame(const TGLImageFrame* frame, unsigned texture, std::uint32_t generation);

  // True while there is a display with a working context.
  bool DeviceUsable() const;
  // Which context textures belong to; changes whenever a context is made.
  std::uint32_t ContextGeneration() const;

  // The renderer's name, and whether the context is OpenGL ES.
  std::string RendererName() const;
  bool IsOpenGLES() const;
  // Drops the context as a driver reset would; the next Flip makes a new one.
  void LoseContextForTesting();
  // What the window shows at the next Flip, at the drawable's size (bars included): the frame
  // composed into the window's back buffer and read back. Null without a usable device.
  std::shared_ptr<TPixmap> GrabWindow();

 private:
  bool MakeContext(TGLGraphics& graphics);
  void ResetDevice();
  void ApplyBlendState(int mode);
  void ApplyProjection();
  void ApplyScissor();
  // Sizes the framebuffer to the picture's place in the drawable as it is now, and points
  // the viewport and scissor at it: the next frame is drawn at that resolution.
  void FitFramebuffer();
  void BindActiveTexture();
  void SetActiveFrame(const TGLImageFrame* frame);
  // Draws the first `count` of fanVertices_ as one triangle fan.
  void DrawFan(int count);
  // Fills the polygon (x, y pairs in fanVertices_) untextured in the draw colour.
  void FillUntextured(int count);
  bool AcceptsDeviceState() const override { return DeviceUsable(); }
  void ApplyBlend(int mode) override { ApplyBlendState(mode); }
  void ApplyViewport() override { ApplyScissor(); }
  void ApplyResolution() override { ApplyProjection(); }
  void FillShape(std::span<const TShapePoint> points, bool convex) override;
  // Draws the framebuffer into the window's back buffer, between black bars.
  void ComposeFrame();
  bool ContextWasReset() const;

  TGLGraphics* current_ = nullptr;
  std::uint32_t generationCounter_ = 0;
  const TGLImageFrame* activeFrame_ = nullptr;  // the bound texture, or null
  int activeFrameFlags_ = 0;
  int swapInterval_ = -1;  // as last set on the context; -1 = unknown
  int refusedWidth_ = 0;   // a framebuffer size the device could not make: not tried again
  int refusedHeight_ = 0;
  std::vector<TGLVertex> fanVertices_;  // the shape being drawn; reused, not reallocated
};

// True for the GL_RENDERER names of GL implementations that rasterise on the CPU (Mesa's
// llvmpipe, softpipe and swrast, and the like).
bool IsCpuRenderer(std::string_view renderer);

// The GL driver (GLCanvasDriver) as what it is.
TGLCanvasDriver* GLDriver();

}  // namespace media
