#include "tools/gfxgen/canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace gfxgen {
namespace {

std::uint8_t toByte(double unit) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(unit, 0.0, 1.0) * 255.0));
}

}  // namespace

Colour mix(const Colour& a, const Colour& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.alpha + (b.alpha - a.alpha) * t};
}

Shader solid(Colour colour) {
  return [colour](Vec2) { return colour; };
}

Shader linearGradient(Vec2 from, Vec2 to, std::vector<GradientStop> stops) {
  if (stops.empty()) throw std::invalid_argument("gradient without stops");
  const Vec2 axis = to - from;
  const double lengthSquared = axis.x * axis.x + axis.y * axis.y;
  if (lengthSquared == 0.0) throw std::invalid_argument("gradient of zero length");
  return [from, axis, lengthSquared, stops = std::move(stops)](Vec2 p) {
    const Vec2 d = p - from;
    const double t = (d.x * axis.x + d.y * axis.y) / lengthSquared;
    if (t <= stops.front().position) return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
      if (t < stops[i].position) {
        const double span = stops[i].position - stops[i - 1].position;
        return mix(stops[i - 1].colour, stops[i].colour, (t - stops[i - 1].position) / span);
      }
    }
    return stops.back().colour;
  };
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), premultiplied_(std::size_t(width) * height * 4, 0.0) {}

void Canvas::paint(const Mask& coverage, const Shader& shader, double opacity) {
  if (coverage.width != width_ || coverage.height != height_) {
    throw std::invalid_argument("mask and canvas differ in size");
  }
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const double cover = coverage.at(x, y) * opacity;
      if (cover <= 0.0) continue;
      const Colour c = shader({x + 0.5, y + 0.5});
      const double a = std::clamp(c.alpha * cover, 0.0, 1.0);
      double* dst = &premultiplied_[(std::size_t(y) * width_ + x) * 4];
      const double keep = 1.0 - a;
      dst[0] = c.r / 255.0 * a + dst[0] * keep;
      dst[1] = c.g / 255.0 * a + dst[1] * keep;
      dst[2] = c.b / 255.0 * a + dst[2] * keep;
      dst[3] = a + dst[3] * keep;
    }
  }
}

Image Canvas::toImage(Colour matte) const {
  Image image(width_, height_);
  const Rgb matteBytes{toByte(matte.r / 255.0), toByte(matte.g / 255.0), toByte(matte.b / 255.0)};
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const double* src = &premultiplied_[(std::size_t(y) * width_ + x) * 4];
      std::uint8_t* dst = image.pixel(x, y);
      dst[3] = toByte(src[3]);
      if (dst[3] == 0) {
        dst[0] = matteBytes.r;
        dst[1] = matteBytes.g;
        dst[2] = matteBytes.b;
        continue;
      }
      for (int i = 0; i < 3; ++i) dst[i] = toByte(src[i] / src[3]);
    }
  }
  return image;
}

}  // namespace gfxgen
