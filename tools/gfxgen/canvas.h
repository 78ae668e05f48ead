// A floating-point drawing surface: masks are painted onto it with a colour or a gradient,
// source over, and the result is rounded once into an 8-bit picture.
// Depends on: geometry.h, mask.h, image.h.
#pragma once

#include <functional>
#include <vector>

#include "tools/gfxgen/geometry.h"
#include "tools/gfxgen/image.h"
#include "tools/gfxgen/mask.h"

namespace gfxgen {

// Red, green and blue on the 0..255 scale, alpha 0..1 (straight).
struct Colour {
  double r = 0.0, g = 0.0, b = 0.0;
  double alpha = 1.0;
};

Colour mix(const Colour& a, const Colour& b, double t);

// The colour to paint at a pixel centre.
using Shader = std::function<Colour(Vec2)>;

struct GradientStop {
  double position;  // 0 at `from`, 1 at `to`
  Colour colour;
};

Shader solid(Colour colour);
// Colours along the line from `from` to `to`, constant beyond both ends. Stops must be given in
// increasing position.
Shader linearGradient(Vec2 from, Vec2 to, std::vector<GradientStop> stops);

class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Source-over painting of `shader` through `coverage` (same size as the canvas) at `opacity`.
  void paint(const Mask& coverage, const Shader& shader, double opacity = 1.0);

  // Rounds to 8 bits. Fully transparent pixels take the matte's red, green and blue, so that a
  // filtered edge blends towards the picture's own edge colour and not towards black.
  Image toImage(Colour matte) const;

 private:
  int width_;
  int height_;
  std::vector<double> premultiplied_;  // r, g, b, alpha per pixel, all 0..1
};

}  // namespace gfxgen
