// The software driver's rasteriser: fills convex polygons into an RGBA buffer with the
// top-left rule, textured (nearest or bilinear, clamped) or plain, modulated by the vertex
// colour and blended with the five blend modes.
//
// Pixel (x, y) is covered when its centre (x + 0.5, y + 0.5) lies inside the polygon; a
// centre exactly on a left or top edge counts, one on a right or bottom edge does not, so
// polygons that share an edge never both draw a pixel and a rectangle with integer corners
// (x0, y0)-(x1, y1) covers exactly x0..x1-1 and y0..y1-1.
//
// Arithmetic, all on bytes (r, g, b, a), rounding x / 255 to nearest:
//   texel       nearest: the texel holding the sample point; bilinear: the four texels
//               around it weighted by the point's fraction in 1/256 steps, rounded
//   source      c = texel * vertex colour / 255 per channel (alpha likewise)
//   mask  (1)   dst = c where c.a >= 128, untouched elsewhere
//   solid (2)   dst = c
//   alpha (3)   dst = (c * c.a + dst * (255 - c.a)) / 255
//   light (4)   dst = min(255, dst + c * c.a / 255)
//   shade (5)   dst = dst * c / 255
// The same formulas apply to the alpha channel with c.a in place of the colour.
#pragma once

#include <climits>
#include <cstdint>
#include <span>

namespace media {

struct TRasterTarget {
  std::uint32_t* pixels = nullptr;  // RGBA bytes in memory order, rows top first
  int pitch = 0;                    // pixels per row
  int clipX0 = 0, clipY0 = 0;       // pixels drawn: clipX0 <= x < clipX1, clipY0 <= y < clipY1
  int clipX1 = 0, clipY1 = 0;
  // Pixels drawn are further limited to the scissor, which leaves every pixel's value as it
  // is: texture positions are reckoned from the clip, not from the scissor.
  int scissorX0 = INT_MIN, scissorY0 = INT_MIN;
  int scissorX1 = INT_MAX, scissorY1 = INT_MAX;
};

// One level of a texture and how the polygon maps onto it.
struct TRasterTexture {
  const std::uint32_t* texels = nullptr;  // RGBA bytes in memory order
  int width = 0;                          // texels per row
  int height = 0;
  bool bilinear = false;
  // Texel coordinates at the screen point (X, Y): U = u0 + X * dudx + Y * dudy, V likewise.
  // Texel (i, j) spans U in [i, i + 1) and V in [j, j + 1); its centre is (i + 0.5, j + 0.5).
  double u0 = 0.0, dudx = 0.0, dudy = 0.0;
  double v0 = 0.0, dvdx = 0.0, dvdy = 0.0;
};

struct TRasterPoint {
  double x = 0.0;
  double y = 0.0;
};

// Fills the convex polygon `points` (either winding). `texture` null fills with `color`
// alone. `color` is RGBA bytes in memory order; `blend` one of the modes 1..5 (others draw
// nothing).
void FillConvexPolygon(const TRasterTarget& target, std::span<const TRasterPoint> points,
                       const TRasterTexture* texture, std::uint32_t color, int blend);

// Fills the clip rectangle with `color` (RGBA bytes in memory order).
void FillClip(const TRasterTarget& target, std::uint32_t color);

}  // namespace media
