// What every driver with a drawing device keeps alike: the draw and clear colours, alpha,
// blend mode, viewport, drawing matrix, line width and virtual resolution, with their clamps
// and the cache that keeps repeated blend changes off the device; and the untextured shapes,
// which become polygons here so that every device fills the same outlines. A backend
// (gl_driver, soft_driver, recording_driver) adds only what differs: displays, clearing,
// textured quads, filling a polygon, presenting.
// Depends on: canvas_driver, driver_colors, shape_geometry.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/driver_colors.h"
#include "media/draw2d/shape_geometry.h"

namespace media {

class TDeviceDriver : public TCanvasDriver {
 public:
  void SetBlend(int mode) final;
  void SetAlpha(float alpha) final;
  void SetColor(int r, int g, int b) final;
  void SetClsColor(int r, int g, int b) final;
  void SetViewport(int x, int y, int width, int height) final;
  void SetTransform(float ix, float iy, float jx, float jy) final;
  void SetLineWidth(float width) final;
  void SetResolution(float width, float height) final;
  void Plot(float x, float y) final;
  void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) final;
  void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) final;
  void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) final;
  void DrawPoly(std::span<const float> xy, float handleX, float handleY, float tx, float ty) final;

  // What the device holds now, for tests.
  std::uint32_t DrawColor() const { return colors_.drawcolor; }  // ARGB
  std::uint32_t ClsColor() const { return colors_.clscolor; }    // ARGB
  int ActiveBlend() const { return activeBlend_; }
  // Blend and texture changes that reached the device; cached repeats do not count.
  int DeviceStateChanges() const { return deviceStateChanges_; }

 protected:
  // A fresh display's state: the whole display as viewport and virtual resolution, solid
  // drawing, nothing composed or hidden. Colours, matrix and line width carry over: the
  // front end sends its own after every display change.
  void ResetDrawingState(int width, int height);

  // False while the device cannot take state (no display or a lost context): blend changes
  // are then not remembered, so that the first one after a reset reaches the device.
  virtual bool AcceptsDeviceState() const { return true; }
  // The device hooks, called after the state above has changed and only while it accepts.
  // Viewport and resolution are kept either way: a device reset applies them again.
  virtual void ApplyBlend(int /*mode*/) {}
  virtual void ApplyViewport() {}
  virtual void ApplyResolution() {}
  // Fills the polygon `points` (drawing coordinates: after the matrix and offset, before the
  // virtual resolution) in the draw colour and blend mode. A polygon that is not `convex` is
  // filled as a fan of triangles around its first point, as display devices fill it.
  virtual void FillShape(std::span<const TShapePoint> points, bool convex) = 0;

  TShapePoint Map(float px, float py, float tx, float ty) const {
    return {px * ix_ + py * iy_ + tx, px * jx_ + py * jy_ + ty};
  }

  TDriverColors colors_;
  float ix_ = 1.0f, iy_ = 0.0f, jx_ = 0.0f, jy_ = 1.0f;  // 2x2 drawing matrix
  float lineWidth_ = 1.0f;
  int viewport_[4] = {0, 0, 0, 0};  // x, y, width, height
  float vresWidth_ = 0.0f;          // drawing coordinates across the display
  float vresHeight_ = 0.0f;
  int activeBlend_ = kBlendSolid;
  int deviceStateChanges_ = 0;
  bool hidden_ = false;    // the window was hidden at the last Flip: this frame draws nothing
  bool composed_ = false;  // FinishFrame prepared the frame for the window: Flip only shows it

 private:
  std::vector<TShapePoint> polygon_;  // DrawPoly's points; reused, not reallocated
};

}  // namespace media
