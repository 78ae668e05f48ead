#include "media/draw2d/soft_raster.h"

#include <algorithm>
#include <cmath>

#include "media/draw2d/soft_pixel_ops.h"

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

template <int Blend>
void SolidSpan(std::uint32_t* row, int xs, int xe, int /*y*/, const SpanParams& p) {
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

inline void StartPosition(const TRasterTexture& t, int x, int y, std::int64_t& u, std::int64_t& v) {
  const double cx = x + 0.5;
  const double cy = y + 0.5;
  u = ToFixed(t.u0 + cx * t.dudx + cy * t.dudy);
  v = ToFixed(t.v0 + cx * t.dvdx + cy * t.dvdy);
}

template <int Blend, Modulate M>
void NearestSpan(std::uint32_t* row, int xs, int xe, int y, const SpanParams& p) {
  std::int64_t u, v;
  StartPosition(*p.texture, xs, y, u, v);
  NearestLoop<Blend, M>(row, xs, xe, u, v, p);
}

// The lanes of a texel for bilinear sums: red and blue (or green and alpha) 32 bits apart.
inline std::uint64_t SpreadLanes(std::uint32_t pair) {
  return (pair & 0xFFu) | static_cast<std::uint64_t>(pair & 0xFF0000u) << 16;
}

inline std::uint32_t BilinearTexel(const TRasterTexture& t, std::int64_t u, std::int64_t v) {
  const int fu = static_cast<int>(u >> 8 & 0xFF);
  const int fv = static_cast<int>(v >> 8 & 0xFF);
  const int i0 = static_cast<int>(std::clamp<std::int64_t>(u >> 16, 0, t.width - 1));
  const int j0 = static_cast<int>(std::clamp<std::int64_t>(v >> 16, 0, t.height - 1));
  const int i1 = static_cast<int>(std::clamp<std::int64_t>((u >> 16) + 1, 0, t.width - 1));
  const int j1 = static_cast<int>(std::clamp<std::int64_t>((v >> 16) + 1, 0, t.height - 1));
  const std::uint32_t texels[4] = {t.texels[j0 * t.width + i0], t.texels[j0 * t.width + i1],
                                   t.texels[j1 * t.width + i0], t.texels[j1 * t.width + i1]};
  const std::uint64_t weights[4] = {
      static_cast<std::uint64_t>((256 - fu) * (256 - fv)),
      static_cast<std::uint64_t>(fu * (256 - fv)),
      static_cast<std::uint64_t>((256 - fu) * fv),
      static_cast<std::uint64_t>(fu * fv),
  };
  std::uint64_t rb = 0x0000800000008000ull;  // rounds each lane's sum / 65536
  std::uint64_t ga = 0x0000800000008000ull;
  for (int k = 0; k < 4; ++k) {
    rb += SpreadLanes(texels[k]) * weights[k];
    ga += SpreadLanes(texels[k] >> 8) * weights[k];
  }
  return static_cast<std::uint32_t>((rb >> 16 & 0xFF) | (ga >> 16 & 0xFF) << 8 |
                                    (rb >> 48 & 0xFF) << 16 | (ga >> 48 & 0xFF) << 24);
}

template <int Blend, Modulate M>
void BilinearSpan(std::uint32_t* row, int xs, int xe, int y, const SpanParams& p) {
  const TRasterTexture& t = *p.texture;
  std::int64_t u, v;
  StartPosition(t, xs, y, u, v);
  // Bilinear weights are taken around texel centres.
  u -= 32768;
  v -= 32768;
  // When every sample of the span sits on a texel centre (an unscaled picture at whole
  // pixels), the weights are 256 and 0: the result is that texel alone.
  if (((p.du | p.dv) & 0xFFFF) == 0 && ((u | v) & 0xFF00) == 0) {
    NearestLoop<Blend, M>(row, xs, xe, u, v, p);
    return;
  }
  // An unscaled picture at a fractional x and a whole y: each pixel mixes two neighbouring
  // texels of one row by the same fraction. The pixels whose two texels are both inside the
  // texture take the row kernel; the ones at the ends are clamped below.
  if (p.du == 65536 && p.dv == 0 && (v & 0xFF00) == 0 && (v >> 16) >= 0 && (v >> 16) < t.height) {
    const std::int64_t firstI = u >> 16;  // left texel of the span's first pixel
    const int inFrom = static_cast<int>(std::clamp<std::int64_t>(xs - firstI, xs, xe));
    const int inTo =
        static_cast<int>(std::clamp<std::int64_t>(xs + (t.width - 1 - firstI), inFrom, xe));
    const std::uint32_t* texRow = t.texels + (v >> 16) * t.width;
    for (int x = xs; x < inFrom; ++x, u += p.du) {
      BlendPixel<Blend>(row[x], ModulateTexel<M>(BilinearTexel(t, u, v), p.color));
    }
    LerpRow<Blend, M>(row + inFrom, texRow + firstI + (inFrom - xs), inTo - inFrom,
                      static_cast<int>(u >> 8 & 0xFF), p.color);
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

using SpanFunction = void (*)(std::uint32_t* row, int xs, int xe, int y, const SpanParams& p);

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

  for (int y = y0; y < y1; ++y) {
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
    if (xs < xe)
      span(target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitch, xs, xe, y, params);
  }
}

void FillClip(const TRasterTarget& target, std::uint32_t color) {
  if (target.clipX0 >= target.clipX1) return;
  for (int y = target.clipY0; y < target.clipY1; ++y) {
    std::uint32_t* row = target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitch;
    std::fill(row + target.clipX0, row + target.clipX1, color);
  }
}

}  // namespace media
