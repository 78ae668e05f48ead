// Vector geometry for the picture generator: points, affine maps and paths made of closed
// polygons. Curves are flattened when they are added, in the coordinates the caller gives,
// so a path is built directly in pixel space and then only filled.
// Depends on: nothing.
#pragma once

#include <vector>

namespace gfxgen {

struct Vec2 {
  double x = 0.0;
  double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, double s) {
  return {a.x * s, a.y * s};
}

// x' = xx*x + xy*y + tx, y' = yx*x + yy*y + ty.
struct Affine {
  double xx = 1.0, xy = 0.0, tx = 0.0;
  double yx = 0.0, yy = 1.0, ty = 0.0;

  Vec2 apply(Vec2 p) const { return {xx * p.x + xy * p.y + tx, yx * p.x + yy * p.y + ty}; }

  static Affine translate(double dx, double dy);
  static Affine scale(double sx, double sy);
  static Affine rotateDegrees(double degrees);
};

// The map that applies `second` after `first`.
Affine then(const Affine& first, const Affine& second);

struct Bounds {
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
  double width() const { return maxX - minX; }
  double height() const { return maxY - minY; }
};

// A set of closed polygons. Every contour is closed implicitly (last point back to first).
class Path {
 public:
  // Largest distance, in path units, between a curve and its flattened polygon.
  static constexpr double kFlatness = 0.02;

  void moveTo(Vec2 p);
  void lineTo(Vec2 p);
  void quadTo(Vec2 control, Vec2 p);
  void cubicTo(Vec2 control1, Vec2 control2, Vec2 p);
  void close();

  // Appends all contours of `other`.
  void append(const Path& other);

  Path transformed(const Affine& map) const;
  bool empty() const { return contours_.empty(); }
  // Throws std::logic_error for an empty path.
  Bounds bounds() const;
  const std::vector<std::vector<Vec2>>& contours() const { return contours_; }

  static Path ellipse(Vec2 centre, double radiusX, double radiusY);
  static Path roundedRect(double x, double y, double width, double height, double radius);

 private:
  Vec2 current() const;

  std::vector<std::vector<Vec2>> contours_;
  bool open_ = false;  // the last contour still takes points
};

}  // namespace gfxgen
