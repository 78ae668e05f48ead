#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/gfxgen/geometry.h"
#include "tools/gfxgen/mask.h"

namespace gfxgen {
namespace {

Path rect(double x0, double y0, double x1, double y1, bool clockwise = true) {
  Path p;
  p.moveTo({x0, y0});
  if (clockwise) {
    p.lineTo({x1, y0});
    p.lineTo({x1, y1});
    p.lineTo({x0, y1});
  } else {
    p.lineTo({x0, y1});
    p.lineTo({x1, y1});
    p.lineTo({x1, y0});
  }
  p.close();
  return p;
}

TEST(Fill, PixelAlignedSquareCoversWholePixelsOnly) {
  const Mask m = fill(rect(2, 2, 6, 6), 8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
      EXPECT_FLOAT_EQ(m.at(x, y), inside ? 1.0f : 0.0f) << x << "," << y;
    }
  }
  EXPECT_DOUBLE_EQ(m.area(), 16.0);
}

TEST(Fill, EdgesThroughPixelMiddlesGiveHalfCoverage) {
  const Mask m = fill(rect(1.5, 1.5, 4.5, 3.0), 6, 4);
  EXPECT_FLOAT_EQ(m.at(1, 2), 0.5f);   // left edge
  EXPECT_FLOAT_EQ(m.at(4, 2), 0.5f);   // right edge
  EXPECT_FLOAT_EQ(m.at(2, 1), 0.5f);   // top edge
  EXPECT_FLOAT_EQ(m.at(1, 1), 0.25f);  // corner
  EXPECT_FLOAT_EQ(m.at(3, 2), 1.0f);
  EXPECT_FLOAT_EQ(m.at(5, 2), 0.0f);
  EXPECT_NEAR(m.area(), 3.0 * 1.5, 1e-9);
}

TEST(Fill, CircleHasItsAreaAndSoftEdges) {
  const double r = 20.0;
  const Mask m = fill(Path::ellipse({25, 25}, r, r), 50, 50);
  EXPECT_NEAR(m.area(), std::numbers::pi * r * r, 0.002 * std::numbers::pi * r * r);
  int partial = 0;
  for (float v : m.value) partial += (v > 0.02f && v < 0.98f) ? 1 : 0;
  EXPECT_GT(partial, 80) << "the edge is not anti-aliased";
  EXPECT_FLOAT_EQ(m.at(25, 25), 1.0f);
  EXPECT_FLOAT_EQ(m.at(1, 1), 0.0f);
}

TEST(Fill, NonZeroWindingUnitesOverlapsAndCutsReversedHoles) {
  Path overlapping = rect(0, 0, 6, 6);
  overlapping.append(rect(3, 3, 9, 9));
  const Mask united = fill(overlapping, 10, 10);
  EXPECT_FLOAT_EQ(united.at(4, 4), 1.0f) << "overlap must not count twice";
  EXPECT_DOUBLE_EQ(united.area(), 36.0 + 36.0 - 9.0);

  Path ring = rect(0, 0, 9, 9, true);
  ring.append(rect(3, 3, 6, 6, false));
  const Mask holed = fill(ring, 10, 10);
  EXPECT_FLOAT_EQ(holed.at(4, 4), 0.0f);
  EXPECT_FLOAT_EQ(holed.at(1, 1), 1.0f);
  EXPECT_DOUBLE_EQ(holed.area(), 81.0 - 9.0);
}

TEST(Fill, ContourDirectionDoesNotChangeASimpleShape) {
  Path clockwise;
  clockwise.moveTo({1.2, 0.7});
  clockwise.lineTo({9.6, 3.1});
  clockwise.lineTo({4.4, 8.9});
  clockwise.close();
  Path counter;
  counter.moveTo({1.2, 0.7});
  counter.lineTo({4.4, 8.9});
  counter.lineTo({9.6, 3.1});
  counter.close();
  EXPECT_EQ(fill(clockwise, 11, 10).value, fill(counter, 11, 10).value);
}

TEST(Fill, ShapesReachingPastTheCanvasAreClipped) {
  const Mask m = fill(rect(-5, -5, 3, 3), 6, 6);
  EXPECT_DOUBLE_EQ(m.area(), 9.0);
  EXPECT_FLOAT_EQ(m.at(0, 0), 1.0f);
  EXPECT_DOUBLE_EQ(fill(rect(-9, 1, -2, 4), 6, 6).area(), 0.0);
  EXPECT_DOUBLE_EQ(fill(rect(1, 7, 4, 12), 6, 6).area(), 0.0);
}

TEST(Path, FlattenedCurvesStayWithinTheFlatness) {
  const Vec2 p0{0, 0}, c{60, 140}, p1{120, 0};
  Path path;
  path.moveTo(p0);
  path.quadTo(c, p1);
  const auto& polygon = path.contours().front();
  ASSERT_GT(polygon.size(), 10u);
  auto curve = [&](double t) {
    return p0 * ((1 - t) * (1 - t)) + c * (2 * (1 - t) * t) + p1 * (t * t);
  };
  for (std::size_t i = 0; i + 1 < polygon.size(); ++i) {
    const Vec2 mid = (polygon[i] + polygon[i + 1]) * 0.5;
    double nearest = 1e9;
    for (int k = 0; k <= 20000; ++k) {
      const Vec2 d = curve(k / 20000.0) - mid;
      nearest = std::min(nearest, std::hypot(d.x, d.y));
    }
    EXPECT_LE(nearest, Path::kFlatness * 1.05) << "segment " << i;
  }
  EXPECT_LT(polygon.size(), 200u) << "flattening is far finer than needed";
}

TEST(Affine, ThenAppliesTheFirstMapFirst) {
  const Affine moveThenScale = then(Affine::translate(3, -1), Affine::scale(2, 10));
  const Vec2 p = moveThenScale.apply({1, 1});
  EXPECT_DOUBLE_EQ(p.x, 8.0);
  EXPECT_DOUBLE_EQ(p.y, 0.0);
  // With y pointing down, a positive angle turns clockwise on screen.
  const Vec2 q = Affine::rotateDegrees(90).apply({1, 0});
  EXPECT_NEAR(q.x, 0.0, 1e-12);
  EXPECT_NEAR(q.y, 1.0, 1e-12);
}

}  // namespace
}  // namespace gfxgen
