// Outlines of the untextured shapes, shared by both drivers so that they fill the same
// polygons: a line as a quad of the line width, an oval as a polygon.
#pragma once

#include <cmath>
#include <numbers>

namespace media {

struct TShapePoint {
  float x = 0.0f;
  float y = 0.0f;
};

constexpr int kOvalPoints = 64;

// The ellipse inscribed in (x0, y0)-(x1, y1).
inline void OvalOutline(float x0, float y0, float x1, float y1, TShapePoint (&out)[kOvalPoints]) {
  const float cx = (x0 + x1) * 0.5f;
  const float cy = (y0 + y1) * 0.5f;
  const float rx = (x1 - x0) * 0.5f;
  const float ry = (y1 - y0) * 0.5f;
  for (int i = 0; i < kOvalPoints; ++i) {
    const double angle = 2.0 * std::numbers::pi * i / kOvalPoints;
    out[i] = {cx + rx * static_cast<float>(std::cos(angle)),
              cy + ry * static_cast<float>(std::sin(angle))};
  }
}

// The quad of a line `width` wide from a to b (display coordinates). Pixel centres are at
// half coordinates, so the line runs through them: a line from (10, 20) to (20, 20) fills
// pixels 10..19 of row 20; the end pixel is left for the next line to start on. False for
// a line of no length.
inline bool LineOutline(float ax, float ay, float bx, float by, float width,
                        TShapePoint (&out)[4]) {
  const float dx = bx - ax;
  const float dy = by - ay;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0.0f)) return false;
  const float nx = -dy / length * width * 0.5f;
  const float ny = dx / length * width * 0.5f;
  ax += 0.5f;
  ay += 0.5f;
  bx += 0.5f;
  by += 0.5f;
  out[0] = {ax + nx, ay + ny};
  out[1] = {bx + nx, by + ny};
  out[2] = {bx - nx, by - ny};
  out[3] = {ax - nx, ay - ny};
  return true;
}

}  // namespace media
