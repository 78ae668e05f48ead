#include "media/draw2d/device_driver.h"

namespace media {

void TDeviceDriver::ResetDrawingState(int width, int height) {
  viewport_[0] = 0;
  viewport_[1] = 0;
  viewport_[2] = width;
  viewport_[3] = height;
  vresWidth_ = static_cast<float>(width);
  vresHeight_ = static_cast<float>(height);
  activeBlend_ = kBlendSolid;
  hidden_ = false;
  composed_ = false;
}

void TDeviceDriver::SetBlend(int mode) {
  if (mode == activeBlend_ || mode < kBlendMask || mode > kBlendShade) return;
  if (!AcceptsDeviceState()) return;
  activeBlend_ = mode;
  ++deviceStateChanges_;
  ApplyBlend(mode);
}

void TDeviceDriver::SetAlpha(float alpha) {
  colors_.SetAlpha(alpha);
}

void TDeviceDriver::SetColor(int r, int g, int b) {
  colors_.SetColor(r, g, b);
}

void TDeviceDriver::SetClsColor(int r, int g, int b) {
  colors_.SetClsColor(r, g, b);
}

void TDeviceDriver::SetViewport(int x, int y, int width, int height) {
  viewport_[0] = x;
  viewport_[1] = y;
  viewport_[2] = width;
  viewport_[3] = height;
  if (AcceptsDeviceState()) ApplyViewport();
}

void TDeviceDriver::SetTransform(float ix, float iy, float jx, float jy) {
  ix_ = ix;
  iy_ = iy;
  jx_ = jx;
  jy_ = jy;
}

void TDeviceDriver::SetLineWidth(float width) {
  lineWidth_ = width;
}

void TDeviceDriver::SetResolution(float width, float height) {
  if (!(width > 0.0f) || !(height > 0.0f)) return;
  vresWidth_ = width;
  vresHeight_ = height;
  if (AcceptsDeviceState()) ApplyResolution();
}

void TDeviceDriver::Plot(float x, float y) {
  // A point is the pixel right of and below it, moved by nothing but its own position.
  const TShapePoint square[4] = {{x, y}, {x + 1.0f, y}, {x + 1.0f, y + 1.0f}, {x, y + 1.0f}};
  FillShape(square, true);
}

void TDeviceDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
  const TShapePoint a = Map(x0, y0, tx, ty);
  const TShapePoint b = Map(x1, y1, tx, ty);
  TShapePoint quad[4];
  if (LineOutline(a.x, a.y, b.x, b.y, lineWidth_, quad)) FillShape(quad, true);
}

void TDeviceDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
  const TShapePoint corners[4] = {Map(x0, y0, tx, ty), Map(x1, y0, tx, ty), Map(x1, y1, tx, ty),
                                  Map(x0, y1, tx, ty)};
  FillShape(corners, true);
}

void TDeviceDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
  TShapePoint outline[kOvalPoints];
  OvalOutline(x0, y0, x1, y1, outline);
  for (TShapePoint& p : outline) p = Map(p.x, p.y, tx, ty);
  FillShape(outline, true);
}

void TDeviceDriver::DrawPoly(std::span<const float> xy, float handleX, float handleY, float tx,
                             float ty) {
  const size_t count = xy.size() / 2;
  if (count < 3) return;
  polygon_.resize(count);
  for (size_t i = 0; i < count; ++i)
    polygon_[i] = Map(xy[2 * i] + handleX, xy[2 * i + 1] + handleY, tx, ty);
  FillShape(polygon_, false);
}

}  // namespace media
