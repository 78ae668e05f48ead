// The drawing front end: opens the 800x600 display, keeps the drawing state (colours,
// alpha, blend mode, clear colour, current font) and presents frames at the chosen pacing.
// Depends on: media/platform (window events, clock), the selected canvas driver.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/image.h"
#include "media/draw2d/image_font.h"

namespace media {

class TCanvasDriver;
class TGraphics;

// The OpenGL driver: the one the program selects.
TCanvasDriver* GLCanvasDriver();
// Selects the driver for later Graphics calls; `defaultFlags` is ORed into their flags.
void SetGraphicsDriver(TCanvasDriver* driver, int defaultFlags);

// Opens the display: depth 0 = a window, otherwise full screen. Null when it cannot open.
std::shared_ptr<TGraphics> Graphics(int width, int height, int depth, int hertz, int flags);
// Closes the display Graphics opened, if any.
void CloseGraphics();

void Cls();
void SetClsColor(int r, int g, int b);
// Presents the frame; sync -1 = the pacing chosen by Graphics. Runs the flip hook first.
void Flip(int sync);
void SetColor(int r, int g, int b);
void SetAlpha(float alpha);
void SetBlend(int mode);
void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int frame);
void DrawText(std::u16string_view text, float x, float y);

// Flip hook: callbacks run at the start of every Flip, lower priority first.
using FlipHookFunction = void (*)(void* context);
void AddFlipHook(FlipHookFunction function, void* context, int priority);
void RemoveFlipHook(FlipHookFunction function, void* context);

}  // namespace media
