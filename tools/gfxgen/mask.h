// Coverage masks: one float per pixel, 0 (outside) to 1 (inside), and the shape operations
// the pictures are built from: filling a path, growing a shape into an outline, softening
// it into a shadow, moving it and combining two of them.
// Depends on: geometry.h.
#pragma once

#include <vector>

#include "tools/gfxgen/geometry.h"

namespace gfxgen {

struct Mask {
  Mask() = default;
  Mask(int width, int height) : width(width), height(height), value(std::size_t(width) * height) {}

  float at(int x, int y) const { return value[std::size_t(y) * width + x]; }
  float& at(int x, int y) { return value[std::size_t(y) * width + x]; }
  // Sum of all coverage: the shape's area in pixels.
  double area() const;

  int width = 0;
  int height = 0;
  std::vector<float> value;  // row by row, top row first
};

// Vertical samples per pixel row; horizontal coverage is computed exactly.
inline constexpr int kSubRows = 32;

// Anti-aliased fill with the non-zero winding rule, pixel (x, y) covering [x, x+1) x [y, y+1).
Mask fill(const Path& path, int width, int height);

// Grows the shape by `radius` pixels in every direction with a round brush: a pixel's value is
// the largest coverage within `radius` of it, the brush edge anti-aliased over one pixel.
Mask dilate(const Mask& mask, double radius);

// Gaussian blur with standard deviation `sigma` pixels; coverage that spreads past the edge
// is lost.
Mask blur(const Mask& mask, double sigma);

// The mask moved by whole pixels; what moves in from outside is empty.
Mask shifted(const Mask& mask, int dx, int dy);

// Pointwise combinations of two masks of equal size (std::invalid_argument otherwise).
Mask unite(const Mask& a, const Mask& b);      // max(a, b)
Mask intersect(const Mask& a, const Mask& b);  // a * b
Mask subtract(const Mask& a, const Mask& b);   // a * (1 - b)

}  // namespace gfxgen
