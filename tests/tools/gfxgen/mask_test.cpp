#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/gfxgen/mask.h"

namespace gfxgen {
namespace {

// Columns left of `edge` covered, the pixel holding the edge partly.
Mask leftOf(double edge, int width, int height) {
  Mask m(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) m.at(x, y) = float(std::clamp(edge - x, 0.0, 1.0));
  }
  return m;
}

TEST(Dilate, MovesAStraightEdgeOutByTheRadiusToTheSubPixel) {
  const Mask grown = dilate(leftOf(10.3, 24, 12), 4.0);
  const int y = 6;
  EXPECT_FLOAT_EQ(grown.at(13, y), 1.0f);
  EXPECT_NEAR(grown.at(14, y), 0.3, 1e-6);  // the edge now lies at 14.3
  EXPECT_FLOAT_EQ(grown.at(15, y), 0.0f);
  EXPECT_FLOAT_EQ(grown.at(2, y), 1.0f);
}

TEST(Dilate, GrowsADiscIntoALargerDisc) {
  const Mask disc = fill(Path::ellipse({30, 30}, 10, 10), 60, 60);
  const Mask grown = dilate(disc, 4.0);
  const double expected = std::numbers::pi * 14.0 * 14.0;
  EXPECT_NEAR(grown.area(), expected, 0.02 * expected);
  const Mask ring = subtract(grown, disc);
  EXPECT_FLOAT_EQ(ring.at(30, 30), 0.0f);        // centre stays the shape's own
  EXPECT_NEAR(ring.at(30 + 12, 30), 1.0, 1e-6);  // inside the ring
  EXPECT_FLOAT_EQ(ring.at(30 + 16, 30), 0.0f);   // beyond it
  EXPECT_DOUBLE_EQ(dilate(Mask(20, 20), 5.0).area(), 0.0);
}

TEST(Blur, SpreadsAPointButKeepsItsMass) {
  Mask point(21, 21);
  point.at(10, 10) = 1.0f;
  const Mask soft = blur(point, 2.0);
  EXPECT_NEAR(soft.area(), 1.0, 1e-5);
  EXPECT_LT(soft.at(10, 10), 0.1f);
  EXPECT_GT(soft.at(10, 10), soft.at(12, 10));
  EXPECT_FLOAT_EQ(soft.at(12, 10), soft.at(8, 10));
  EXPECT_FLOAT_EQ(soft.at(12, 10), soft.at(10, 12));
  EXPECT_EQ(blur(point, 0.0).value, point.value);
}

TEST(MaskOps, ShiftAndCombine) {
  Mask a(4, 3);
  a.at(0, 0) = 1.0f;
  a.at(1, 1) = 0.5f;
  const Mask moved = shifted(a, 2, 1);
  EXPECT_FLOAT_EQ(moved.at(2, 1), 1.0f);
  EXPECT_FLOAT_EQ(moved.at(3, 2), 0.5f);
  EXPECT_FLOAT_EQ(moved.at(0, 0), 0.0f);
  EXPECT_DOUBLE_EQ(moved.area(), 1.5);
  EXPECT_DOUBLE_EQ(shifted(a, -2, 0).area(), 0.0) << "what leaves the mask is lost";

  Mask b(4, 3);
  b.at(1, 1) = 0.5f;
  b.at(2, 2) = 1.0f;
  EXPECT_FLOAT_EQ(unite(a, b).at(2, 2), 1.0f);
  EXPECT_FLOAT_EQ(unite(a, b).at(1, 1), 0.5f);
  EXPECT_FLOAT_EQ(intersect(a, b).at(1, 1), 0.25f);
  EXPECT_FLOAT_EQ(intersect(a, b).at(0, 0), 0.0f);
  EXPECT_FLOAT_EQ(subtract(a, b).at(1, 1), 0.25f);
  EXPECT_FLOAT_EQ(subtract(a, b).at(0, 0), 1.0f);
  EXPECT_THROW(unite(a, Mask(3, 4)), std::invalid_argument);
}

}  // namespace
}  // namespace gfxgen
