// The drawing state of the open display. The front end keeps it so that it survives device
// resets and display changes: every setter writes its field here first and then tells the
// driver, and a fresh device gets the whole record again.
// Depends on: canvas_driver.h, image_font.h.
#pragma once

#include <cstdint>
#include <memory>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/image_font.h"

namespace media {

struct TCanvasGraphics {
  std::int32_t color_red = 255;  // draw colour, 0..255 once the driver has clamped it
  std::int32_t color_green = 255;
  std::int32_t color_blue = 255;
  float color_alpha = 1.0f;       // draw alpha, 0..1 once clamped
  std::int32_t clscolor_red = 0;  // clear colour
  std::int32_t clscolor_green = 0;
  std::int32_t clscolor_blue = 0;
  float line_width = 1.0f;
  float tform_rot = 0.0f;  // degrees
  float tform_scale_x = 1.0f;
  float tform_scale_y = 1.0f;
  float tform_ix = 1.0f;  // 2x2 drawing matrix, recomputed from rotation and scale
  float tform_iy = 0.0f;
  float tform_jx = 0.0f;
  float tform_jy = 1.0f;
  std::int32_t viewport_x = 0;  // clip rectangle
  std::int32_t viewport_y = 0;
  std::int32_t viewport_w = 0;
  std::int32_t viewport_h = 0;
  float origin_x = 0.0f;  // added to every drawing position
  float origin_y = 0.0f;
  float handle_x = 0.0f;  // text handle, stored negated
  float handle_y = 0.0f;
  std::shared_ptr<TImageFont> image_font;  // current font for text; the built-in one at first
  std::int32_t blend_mode = kBlendMask;
  float vres_width = 0.0f;  // virtual resolution
  float vres_height = 0.0f;
  float vres_mousexscale = 1.0f;
  float vres_mouseyscale = 1.0f;
  std::int32_t g_width = 0;  // physical size
  std::int32_t g_height = 0;
  std::shared_ptr<TGraphics> _graphics;  // the display, null when none is open
  TCanvasDriver* _driver = nullptr;      // its driver
  std::int32_t _setup = 0;               // 1 after the first make-current

  // The record of a newly opened width x height display.
  static TCanvasGraphics ForDisplay(std::shared_ptr<TGraphics> graphics, TCanvasDriver* driver);

  // Recomputes the matrix from rotation and scale: ix = cos * sx, iy = -sin * sy,
  // jx = sin * sx, jy = cos * sy.
  void UpdateTransform();
  // Sends the whole record to the driver of a fresh device, in the order it needs: virtual
  // resolution, blend, colour, alpha, clear colour, line width, matrix, viewport.
  void ApplyToDriver();
};

// The drawing state every global operation works on: the open display's, or the values a
// display would start with when none is open.
TCanvasGraphics& CurrentCanvasGraphics();

}  // namespace media
