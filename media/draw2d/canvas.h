// The drawing front end: opens the display, keeps the drawing state (canvas_graphics.h),
// forwards it to the driver of the display and presents frames at the chosen pacing
// (frame_pacing.h).
// Depends on: media/platform (clock, polled input, process end), the canvas drivers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/display_drivers.h"
#include "media/draw2d/image.h"
#include "media/draw2d/image_font.h"

namespace media {

// The default flags the program gives its drivers (display_drivers.h): render into a back
// buffer.
constexpr int kGraphicsBackBuffer = 2;

// The OpenGL driver.
TCanvasDriver* GLCanvasDriver();

// Opens the display: depth 0 = a window, otherwise full screen, with the first of the
// drivers (display_drivers.h) that gives one it accepts. Null when no display can be had at
// all.
std::shared_ptr<TGraphics> Graphics(int width, int height, int depth, int hertz, int flags);
// Closes the display Graphics opened, if any.
void CloseGraphics();
// Display pixels per picture pixel of the open display (1.8 for the picture full screen on a
// 1920 x 1080 desktop, 2 in a HiDPI window, 1 for the software driver); 1 without a display.
float DisplayPixelScale();

// Fills the viewport with the clear colour.
void Cls();
void SetClsColor(int r, int g, int b);
// Presents the frame; sync -1 = the pacing chosen by Graphics. Runs the flip hook first.
void Flip(int sync);
void SetColor(int r, int g, int b);
void SetAlpha(float alpha);
void SetBlend(int mode);
void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int frame);
// Draws `text` in the current image font with its pen starting at (x, y).
void DrawText(std::u16string_view text, float x, float y);

// A rectangle in the draw colour, through the matrix like a picture.
void DrawRect(float x, float y, float width, float height);

// The rest of the drawing state (the program leaves it at its initial values).
void SetLineWidth(float width);
void SetRotation(float degrees);
void SetScale(float x, float y);
void SetViewport(int x, int y, int width, int height);
void SetOrigin(float x, float y);
// The point of the text that lands on DrawText's (x, y).
void SetHandle(float x, float y);
void SetVirtualResolution(float width, float height);

// The pixels of a rectangle of the back buffer (RGBA, format 6), or null without a display.
std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height);

// Flip hook: callbacks run at the start of every Flip, lower priority first (equal
// priorities in the order they were added). A callback may add or remove hooks.
using FlipHookFunction = void (*)(void* context);
void AddFlipHook(FlipHookFunction function, void* context, int priority);
void RemoveFlipHook(FlipHookFunction function, void* context);

// One picture or text the front end was asked to draw, with the drawing state in force.
// Tests watch whole frames of the program through it, whatever the driver.
struct DrawCall {
  enum class Kind { kImage, kText };
  Kind kind = Kind::kImage;
  const TImage* image = nullptr;  // kImage (null when asked to draw no picture)
  std::u16string_view text;       // kText; valid during the call only
  float x = 0.0f;
  float y = 0.0f;
  int red = 0, green = 0, blue = 0;
  float alpha = 0.0f;
  int blend = 0;
  const TImageFont* font = nullptr;  // the current font
};
using DrawObserver = std::function<void(const DrawCall& call)>;
// Installs `observer` (an empty one removes it): tests check what was drawn, the capture tool
// whether a frame drew anything.
void SetDrawObserver(DrawObserver observer);

// Closes the display and returns the front end to its state at start (GL driver selected,
// back-buffer default flags). Flip hooks stay. For tests only.
void ResetCanvasForTesting();

}  // namespace media
