#include "media/draw2d/canvas_graphics.h"

#include <cmath>
#include <numbers>

namespace media {

TCanvasGraphics TCanvasGraphics::ForDisplay(std::shared_ptr<TGraphics> graphics,
                                            TCanvasDriver* driver) {
  TCanvasGraphics record;
  record.viewport_w = graphics->width;
  record.viewport_h = graphics->height;
  record.vres_width = static_cast<float>(graphics->width);
  record.vres_height = static_cast<float>(graphics->height);
  record.g_width = graphics->width;
  record.g_height = graphics->height;
  record._graphics = std::move(graphics);
  record._driver = driver;
  return record;
}

void TCanvasGraphics::UpdateTransform() {
  const double radians = static_cast<double>(tform_rot) * std::numbers::pi / 180.0;
  const auto c = static_cast<float>(std::cos(radians));
  const auto s = static_cast<float>(std::sin(radians));
  tform_ix = c * tform_scale_x;
  tform_iy = -s * tform_scale_y;
  tform_jx = s * tform_scale_x;
  tform_jy = c * tform_scale_y;
}

void TCanvasGraphics::ApplyToDriver() {
  if (_driver == nullptr) return;
  _driver->SetResolution(vres_width, vres_height);
  _driver->SetBlend(blend_mode);
  _driver->SetColor(color_red, color_green, color_blue);
  _driver->SetAlpha(color_alpha);
  _driver->SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
  _driver->SetLineWidth(line_width);
  // Rotation and scale both end in the matrix.
  UpdateTransform();
  _driver->SetTransform(tform_ix, tform_iy, tform_jx, tform_jy);
  _driver->SetViewport(viewport_x, viewport_y, viewport_w, viewport_h);
  // Origin, handle and font live in this record only.
}

TCanvasGraphics& CurrentCanvasGraphics() {
  static TCanvasGraphics record;
  return record;
}

}  // namespace media
