#include "media/draw2d/soft/soft_raster.h"

#include <algorithm>
#include <cmath>

#include "media/draw2d/soft/soft_pixel_ops.h"

namespace media {

namespace {

using namespace soft;

// Texture coordinates in 16.16 fixed point.
inline std::int64_t ToFixed(double value) {
  return static_cast<std::int64_t>(std::llround(std::clamp(value, -1e9, 1e9) * 65536.0));
}

struct SpanParams {
  const TRasterTexture* texture = nullptr;
  std::int64_t du = 0;  // texel steps per pixel, 16.16
  std::int64_t dv = 0;
  std::uint32_t color = 0;
};

// Every span function draws pixels xs..xe-1 of `row`; (u, v) is the texture position, 16.16,
// at the centre of pixel xs.
template <int Blend>
void SolidSpan(std::uint32_t* row, int xs, int xe, std::int64_t /*u*/, std::int64_t /*v*/,
               const SpanParams& p) {
  if constexpr (Blend == 2) {
    std::fill(row + xs, row + xe, p.color);
  } else {
    for (int x = xs; x < xe; ++x) BlendPixel<Blend>(row[x], p.color);
  }
}

// Nearest texels from the fixed-point position (u, v); the texel is (u >> 16, v >> 16).
template <int Blend, Modulate M>
void NearestLoop(std::uint32_t* row, int xs, int xe, std::int64_t u, std::int64_t v,
                 const SpanParams& p) {
  const TRasterTexture& t = *p.texture;
  const int maxI = t.width - 1;
  const int maxJ = t.height - 1;
  // An unscaled, unturned picture: the span reads consecutive texels of one row.
  if (p.du == 65536 && p.dv == 0) {
    const std::int64_t i = u >> 16;
    const std::int64_t j = v >> 16;
    if (i >= 0 && i + (xe - xs) <= t.width && j >= 0 && j <= maxJ) {
      CopyRow<Blend, M>(row + xs, t.texels + j * t.width + i, xe - xs, p.color);
      return;
    }
  }
  for (int x = xs; x < xe; ++x) {
    const int i = static_cast<int>(std::clamp<std::int64_t>(u >> 16, 0, maxI));
    const int j = static_cast<int>(std::clamp<std::int64_t>(v >> 16, 0, maxJ));
    BlendPixel<Blend>(row[x], ModulateTexel<M>(t.texels[j * t.width + i], p.color));
    u += p.du;
    v += p.dv;
  }
}

template <int Blend, Modulate M>
void NearestSpan(std::uint32_t* row, int xs, int xe, std::int64_t u, std::int64_t v,
                 const SpanParams& p) {
  NearestLoop<Blend, M>(row, xs, xe, u, v, p);
}

inline std::uint32_t BilinearTexel(const TRasterTexture& t, std::int64_t u, std::int64_t v) {
  const int fu = static_cast<int>(u >> 8 & 0xFF);
  const int fv = static_cast<int>(v >> 8 & 0xFF);
  const int i0 = static_cast<int>(std::clamp<std::int64_t>(u >> 16, 0, t.width - 1));
  const int j0 = static_cast<int>(std::clamp<std::int64_t>(v >> 16, 0, t.height - 1));
  const int i1 = static_cast<int>(std::clamp<std::int64_t>((u >> 16) + 1, 0, t.width - 1));
  const int j1 = static_cast<int>(std::clamp<std::int64_t>((v >> 16) + 1, 0, t.height - 1));
  return BilerpTexels(t.texels[j0 * t.width + i0], t.texels[j0 * t.width + i1],
                      t.texels[j1 * t.width + i0], t.texels[j1 * t.width + i1], fu, fv);
}

template <int Blend, Modulate M>
void BilinearSpan(std::uint32_t* row, int xs, int xe, std::int64_t u, std::int64_t v,
                  const SpanParams& p) {
  const TRasterTexture& t = *p.texture;
  // Bilinear weights are taken around texel centres.
  u -= 32768;
  v -= 32768;
  // When every sample of the span sits on a texel centre (an unscaled picture at whole
  // pixels), the weights are 256 and 0: the result is that texel alone.
  if (((p.du | p.dv) & 0xFFFF) == 0 && ((u | v) & 0xFF00) == 0) {
    NearestLoop<Blend, M>(row, xs, xe, u, v, p);
    return;
  }
  // An unscaled, unturned picture at a fractional position: every pixel of the span mixes
  // the same 2x2 neighbourhood shape of two texture rows by the same fractions. The pixels
  // whose columns are both inside the texture take a row kernel; those at the ends are
  // clamped below. Rows are clamped as BilinearTexel clamps them.
  if (p.du == 65536 && p.dv == 0) {
    const std::int64_t firstI = u >> 16;  // left texel of the span's first pixel
    const int inFrom = static_cast<int>(std::clamp<std::int64_t>(xs - firstI, xs, xe));
    const int inTo =
        static_cast<int>(std::clamp<std::int64_t>(xs + (t.width - 1 - firstI), inFrom, xe));
    const int fu = static_cast<int>(u >> 8 & 0xFF);
    const int fv = static_cast<int>(v >> 8 & 0xFF);
    const std::int64_t j0 = std::clamp<std::int64_t>(v >> 16, 0, t.height - 1);
    const std::int64_t j1 = std::clamp<std::int64_t>((v >> 16) + 1, 0, t.height - 1);
    const std::uint32_t* row0 = t.texels + j0 * t.width + firstI + (inFrom - xs);
    const std::uint32_t* row1 = t.texels + j1 * t.width + firstI + (inFrom - xs);
    for (int x = xs; x < inFrom; ++x, u += p.du) {
      BlendPixel<Blend>(row[x], ModulateTexel<M>(BilinearTexel(t, u, v), p.color));
    }
    // With fv = 0 the lower row weighs nothing: one row is enough.
    if (fv == 0) {
      LerpRow<Blend, M>(row + inFrom, row0, inTo - inFrom, fu, p.color);
    } else {
      BilerpRow<Blend, M>(row + inFrom, row0, row1, inTo - inFrom, fu, fv, p.color);
    }
    u += p.du * (inTo - inFrom);
    for (int x = inTo; x < xe; ++x, u += p.du) {
      BlendPixel<Blend>(row[x], ModulateTexel<M>(BilinearTexel(t, u, v), p.color));
    }
    return;
  }
  for (int x = xs; x < xe; ++x) {
    BlendPixel<Blend>(row[x], ModulateTexel<M>(BilinearTexel(t, u, v), p.color));
    u += p.du;
    v += p.dv;
  }
}

using SpanFunction = void (*)(std::uint32_t* row, int xs, int xe, std::int64_t u, std::int64_t v,
                              const SpanParams& p);

template <int Blend>
SpanFunction TexturedSpan(bool bilinear, Modulate modulate) {
  switch (modulate) {
    case Modulate::kNone:
      return bilinear ? BilinearSpan<Blend, Modulate::kNone> : NearestSpan<Blend, Modulate::kNone>;
    case Modulate::kAlpha:
      return bilinear ? BilinearSpan<Blend, Modulate::kAlpha>
                      : NearestSpan<Blend, Modulate::kAlpha>;
    case Modulate::kFull:
      break;
  }
  return bilinear ? BilinearSpan<Blend, Modulate::kFull> : NearestSpan<Blend, Modulate::kFull>;
}

SpanFunction ChooseSpan(int blend, const TRasterTexture* texture, std::uint32_t color) {
  if (texture == nullptr) {
    switch (blend) {
      case 1:
        return SolidSpan<1>;
      case 2:
        return SolidSpan<2>;
      case 3:
        return SolidSpan<3>;
      case 4:
        return SolidSpan<4>;
      case 5:
        return SolidSpan<5>;
      default:
        return nullptr;
    }
  }
  // A white vertex colour leaves texels as they are; white with alpha touches alpha only.
  const Modulate modulate = color == 0xFFFFFFFFu                   ? Modulate::kNone
                            : (color & 0x00FFFFFFu) == 0x00FFFFFFu ? Modulate::kAlpha
                                                                   : Modulate::kFull;
  const bool bilinear = texture->bilinear;
  switch (blend) {
    case 1:
      return TexturedSpan<1>(bilinear, modulate);
    case 2:
      return TexturedSpan<2>(bilinear, modulate);
    case 3:
      return TexturedSpan<3>(bilinear, modulate);
    case 4:
      return TexturedSpan<4>(bilinear, modulate);
    case 5:
      return TexturedSpan<5>(bilinear, modulate);
    default:
      return nullptr;
  }
}

// First pixel whose centre is at or right of (below) `edge`: ceil(edge - 0.5), kept within
// [low, high] so that far-away coordinates cannot overflow.
inline int FirstCentreAtOrAfter(double edge, int low, int high) {
  const double first = std::ceil(edge - 0.5);
  if (!(first > low)) return low;  // also NaN
  if (first > high) return high;
  return static_cast<int>(first);
}

}  // namespace

void FillConvexPolygon(const TRasterTarget& target, std::span<const TRasterPoint> points,
                       const TRasterTexture* texture, std::uint32_t color, int blend) {
  const size_t n = points.size();
  if (n < 3) return;
  const SpanFunction span = ChooseSpan(blend, texture, color);
  if (span == nullptr) return;
  if (texture != nullptr && (texture->width <= 0 || texture->height <= 0)) return;

  double minY = points[0].y;
  double maxY = points[0].y;
  for (const TRasterPoint& p : points) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int y0 = FirstCentreAtOrAfter(minY, target.clipY0, target.clipY1);
  const int y1 = FirstCentreAtOrAfter(maxY, target.clipY0, target.clipY1);

  SpanParams params;
  params.texture = texture;
  params.color = color;
  if (texture != nullptr) {
    params.du = ToFixed(texture->dudx);
    params.dv = ToFixed(texture->dvdx);
  }

  // Rows and columns outside the scissor are skipped; texture positions still start from
  // the clip, so a pixel comes out the same whatever part of the polygon is drawn.
  const int rowFrom = std::max(y0, target.scissorY0);
  const int rowTo = std::min(y1, target.scissorY1);
  for (int y = rowFrom; y < rowTo; ++y) {
    const double yc = y + 0.5;
    // Each edge covers the rows whose centre is in [top, bottom): a centre on a top edge
    // belongs to the polygon below it, one on a bottom edge does not.
    double left = HUGE_VAL;
    double right = -HUGE_VAL;
    for (size_t i = 0; i < n; ++i) {
      const TRasterPoint& a = points[i];
      const TRasterPoint& b = points[(i + 1) % n];
      if (a.y == b.y) continue;
      const bool down = a.y < b.y;
      const double top = down ? a.y : b.y;
      const double bottom = down ? b.y : a.y;
      if (!(yc >= top && yc < bottom)) continue;
      const double x = a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
    if (!(left < right)) continue;
    // A centre on the left edge is inside, one on the right edge is not.
    const int xs = FirstCentreAtOrAfter(left, target.clipX0, target.clipX1);
    const int xe = FirstCentreAtOrAfter(right, target.clipX0, target.clipX1);
    const int drawFrom = std::max(xs, target.scissorX0);
    const int drawTo = std::min(xe, target.scissorX1);
    if (drawFrom >= drawTo) continue;
    std::int64_t u = 0;
    std::int64_t v = 0;
    if (texture != nullptr) {
      const double cx = xs + 0.5;
      u = ToFixed(texture->u0 + cx * texture->dudx + yc * texture->dudy) +
          params.du * (drawFrom - xs);
      v = ToFixed(texture->v0 + cx * texture->dvdx + yc * texture->dvdy) +
          params.dv * (drawFrom - xs);
    }
    span(target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitch, drawFrom, drawTo, u, v,
         params);
  }
}

void FillClip(const TRasterTarget& target, std::uint32_t color) {
  const int x0 = std::max(target.clipX0, target.scissorX0);
  const int x1 = std::min(target.clipX1, target.scissorX1);
  if (x0 >= x1) return;
  const int y1 = std::min(target.clipY1, target.scissorY1);
  for (int y = std::max(target.clipY0, target.scissorY0); y < y1; ++y) {
    std::uint32_t* row = target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitch;
    std::fill(row + x0, row + x1, color);
  }
}

}  // namespace media
