#include "tools/gfxgen/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace gfxgen {
namespace {

double length(Vec2 v) {
  return std::hypot(v.x, v.y);
}

// Segments needed so that a curve whose second difference is `secondDifference` stays within
// kFlatness of its polygon (the error of n chords is at most that difference / n^2, scaled).
int segmentCount(double secondDifference, double errorFactor) {
  double n = std::ceil(std::sqrt(errorFactor * secondDifference / Path::kFlatness));
  return std::clamp(static_cast<int>(n), 1, 256);
}

}  // namespace

Affine Affine::translate(double dx, double dy) {
  Affine m;
  m.tx = dx;
  m.ty = dy;
  return m;
}

Affine Affine::scale(double sx, double sy) {
  Affine m;
  m.xx = sx;
  m.yy = sy;
  return m;
}

Affine Affine::rotateDegrees(double degrees) {
  double radians = degrees * std::numbers::pi / 180.0;
  double c = std::cos(radians);
  double s = std::sin(radians);
  Affine m;
  m.xx = c;
  m.xy = -s;
  m.yx = s;
  m.yy = c;
  return m;
}

Affine then(const Affine& first, const Affine& second) {
  Affine m;
  m.xx = second.xx * first.xx + second.xy * first.yx;
  m.xy = second.xx * first.xy + second.xy * first.yy;
  m.tx = second.xx * first.tx + second.xy * first.ty + second.tx;
  m.yx = second.yx * first.xx + second.yy * first.yx;
  m.yy = second.yx * first.xy + second.yy * first.yy;
  m.ty = second.yx * first.tx + second.yy * first.ty + second.ty;
  return m;
}

void Path::moveTo(Vec2 p) {
  contours_.push_back({p});
  open_ = true;
}

void Path::lineTo(Vec2 p) {
  if (!open_) {
    moveTo(p);
    return;
  }
  contours_.back().push_back(p);
}

void Path::quadTo(Vec2 control, Vec2 p) {
  Vec2 p0 = current();
  int n = segmentCount(length(p0 - control * 2.0 + p), 0.25);
  for (int i = 1; i <= n; ++i) {
    double t = static_cast<double>(i) / n;
    double u = 1.0 - t;
    lineTo(p0 * (u * u) + control * (2.0 * u * t) + p * (t * t));
  }
}

void Path::cubicTo(Vec2 control1, Vec2 control2, Vec2 p) {
  Vec2 p0 = current();
  double dd =
      std::max(length(p0 - control1 * 2.0 + control2), length(control1 - control2 * 2.0 + p));
  int n = segmentCount(dd, 0.75);
  for (int i = 1; i <= n; ++i) {
    double t = static_cast<double>(i) / n;
    double u = 1.0 - t;
    lineTo(p0 * (u * u * u) + control1 * (3.0 * u * u * t) + control2 * (3.0 * u * t * t) +
           p * (t * t * t));
  }
}

void Path::close() {
  open_ = false;
}

void Path::append(const Path& other) {
  contours_.insert(contours_.end(), other.contours_.begin(), other.contours_.end());
  open_ = false;
}

Path Path::transformed(const Affine& map) const {
  Path out = *this;
  for (auto& contour : out.contours_) {
    for (auto& point : contour) point = map.apply(point);
  }
  return out;
}

Bounds Path::bounds() const {
  if (contours_.empty()) throw std::logic_error("bounds of an empty path");
  const Vec2 first = contours_.front().front();
  Bounds b{first.x, first.y, first.x, first.y};
  for (const auto& contour : contours_) {
    for (Vec2 p : contour) {
      b.minX = std::min(b.minX, p.x);
      b.minY = std::min(b.minY, p.y);
      b.maxX = std::max(b.maxX, p.x);
      b.maxY = std::max(b.maxY, p.y);
    }
  }
  return b;
}

Vec2 Path::current() const {
  if (!open_) throw std::logic_error("curve without a current point");
  return contours_.back().back();
}

Path Path::ellipse(Vec2 centre, double radiusX, double radiusY) {
  // Four cubic quarter arcs; the control distance 0.5523 keeps the radial error below 0.03 %.
  const double k = 0.5522847498;
  const double kx = radiusX * k;
  const double ky = radiusY * k;
  const double cx = centre.x;
  const double cy = centre.y;
  Path path;
  path.moveTo({cx + radiusX, cy});
  path.cubicTo({cx + radiusX, cy + ky}, {cx + kx, cy + radiusY}, {cx, cy + radiusY});
  path.cubicTo({cx - kx, cy + radiusY}, {cx - radiusX, cy + ky}, {cx - radiusX, cy});
  path.cubicTo({cx - radiusX, cy - ky}, {cx - kx, cy - radiusY}, {cx, cy - radiusY});
  path.cubicTo({cx + kx, cy - radiusY}, {cx + radiusX, cy - ky}, {cx + radiusX, cy});
  path.close();
  return path;
}

Path Path::roundedRect(double x, double y, double width, double height, double radius) {
  const double r = std::min({radius, width / 2.0, height / 2.0});
  const double k = r * (1.0 - 0.5522847498);
  const double right = x + width;
  const double bottom = y + height;
  Path path;
  path.moveTo({x + r, y});
  path.lineTo({right - r, y});
  path.cubicTo({right - k, y}, {right, y + k}, {right, y + r});
  path.lineTo({right, bottom - r});
  path.cubicTo({right, bottom - k}, {right - k, bottom}, {right - r, bottom});
  path.lineTo({x + r, bottom});
  path.cubicTo({x + k, bottom}, {x, bottom - k}, {x, bottom - r});
  path.lineTo({x, y + r});
  path.cubicTo({x, y + k}, {x + k, y}, {x + r, y});
  path.close();
  return path;
}

}  // namespace gfxgen
