// The driver interface under the drawing front end, the displays drivers open and the
// texture frames they make.
// Backends: gl_driver (OpenGL through SDL, the program's choice), soft_driver (our own
// rasteriser: the fallback without GL, the reference for pixel tests, the capture target),
// recording_driver (draws nothing, keeps the calls: benchmarks and call-level tests).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace media {

class TPixmap;

// A display a driver opened. The driver's own subclass holds the window and device.
class TGraphics {
 public:
  virtual ~TGraphics() = default;
  // Releases the window and device; the object stays but draws nothing afterwards.
  virtual void Close() {}

  int width = 0;  // size of the picture in pixels (800x600 for the program)
  int height = 0;
  int depth = 0;  // 0 = a window, otherwise full screen
  int hertz = 0;
  int flags = 0;  // the Graphics flags with the default flags ORed in
  // Its device rasterises on the CPU (a software GL): the front end may refuse it.
  bool drawsOnCpu = false;

  // Makes the display visible once the front end has accepted it; a refused one never shows.
  virtual void Show() {}
};

struct TGraphicsMode {
  int width = 0;
  int height = 0;
  int depth = 0;
  int hertz = 0;
};

// A driver texture of one image frame.
class TImageFrame {
 public:
  virtual ~TImageFrame() = default;
  // Draws the quad (x0, y0)-(x1, y1) mapped by the current matrix and offset by (tx, ty),
  // textured with the source rectangle (sx, sy, sw, sh) of the image in pixels.
  virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
                    float sw, float sh) = 0;
};

// What a driver's present found out about its device.
enum class FlipResult {
  kPresented,        // as usual (also when the device was not usable and nothing was shown)
  kDeviceRecreated,  // the device was lost and made again: textures of the old one are gone and
                     // the drawing state must be sent again
};

// Blend modes; any other number is remembered by the front end and changes nothing.
enum BlendMode : int {
  kBlendMask = 1,   // draw where source alpha >= 128/255, no blending
  kBlendSolid = 2,  // source replaces destination
  kBlendAlpha = 3,  // src * srcAlpha + dst * (1 - srcAlpha)
  kBlendLight = 4,  // src * srcAlpha + dst
  kBlendShade = 5,  // dst * src
};

class TCanvasDriver {
 public:
  virtual ~TCanvasDriver() = default;

  // The display modes of the main display.
  virtual std::vector<TGraphicsMode> GraphicsModes() = 0;
  // Wraps an existing SDL window (an `SDL_Window*`, not owned) as a display; null on failure.
  virtual std::shared_ptr<TGraphics> AttachGraphics(void* window, int flags) = 0;
  // Opens a display; depth 0 = a window. Null when it cannot open.
  virtual std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth, int hertz,
                                                    int flags) = 0;
  // Makes `graphics` current: resets the device and sets the projection. Null releases it.
  virtual void SetGraphics(TGraphics* graphics) = 0;
  // Presents the back buffer; sync != 0 waits for the vertical blank where the device can.
  virtual FlipResult Flip(int sync) = 0;
  // A texture frame for `pixmap` with image `flags`, or null when the device is not usable.
  virtual std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmap& pixmap, int flags) = 0;
  virtual void SetBlend(int mode) = 0;
  virtual void SetAlpha(float alpha) = 0;
  virtual void SetColor(int r, int g, int b) = 0;
  virtual void SetClsColor(int r, int g, int b) = 0;
  // Clip rectangle in pixels of the display.
  virtual void SetViewport(int x, int y, int width, int height) = 0;
  virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
  virtual void SetLineWidth(float width) = 0;
  // Fills the viewport with the clear colour, alpha 255.
  virtual void Cls() = 0;
  // Untextured shapes in the draw colour and blend mode. Positions go through the matrix
  // and are then offset by (tx, ty); Plot only offsets.
  virtual void Plot(float x, float y) = 0;
  virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  // `xy` holds x, y pairs; the polygon is filled as a fan around its first point, each point
  // first moved by (handleX, handleY).
  virtual void DrawPoly(std::span<const float> xy, float handleX, float handleY, float tx,
                        float ty) = 0;
  // Copies the pixmap's pixels to (x, y) unblended and untransformed.
  virtual void DrawPixmap(const TPixmap& pixmap, int x, int y) = 0;
  // The pixels of a rectangle of the back buffer as an RGBA pixmap (format 6); null when
  // the device is not usable.
  virtual std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height) = 0;
  // Virtual resolution: drawing coordinates 0..width and 0..height span the display.
  virtual void SetResolution(float width, float height) = 0;

  // Beyond the slots.
  // True when the current display can pace `hertz` frames per second by its vertical blank.
  virtual bool CanSyncToDisplay(int /*hertz*/) { return false; }
  // False when this driver's displays could only rasterise on the CPU on this machine,
  // known before opening one.
  virtual bool MayDrawOnGpu() { return true; }
  // True when a present of the current display can wait for its vertical blank at all,
  // whatever its rate.
  virtual bool CanPresentOnBlank() { return false; }
  // False while the display's window is minimised or hidden: nobody sees it, so the driver
  // may skip drawing and presenting, and no present waits for a vertical blank.
  virtual bool DisplayShown() { return true; }
  // Does the drawing of the frame that is still queued, so that the Flip after a paced wait
  // only has to show it. Nothing is drawn between this and that Flip.
  virtual void FinishFrame() {}
  // Moves the mouse pointer to (x, y) of the picture.
  virtual void MoveMouse(int /*x*/, int /*y*/) {}
  // Display pixels per picture pixel as the current display rasterises the picture: 1 for a
  // driver that draws the picture at its own size (and enlarges it afterwards, if at all),
  // more for one that draws it at the display's resolution. Fonts make their glyph images
  // that much finer.
  virtual float PixelScale() { return 1.0f; }
};

// The driver of the current display, or null.
TCanvasDriver* CurrentDriver();
// Changes whenever a display opens or closes; never 0 once a display has opened.
int GraphicsSeq();

}  // namespace media
