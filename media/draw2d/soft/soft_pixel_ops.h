// Pixel arithmetic of the software rasteriser (the formulas are in soft_raster.h), one
// pixel at a time and, for rows of consecutive texels, four at a time with SSE2 where the
// machine has it. Both give the same bytes.
#pragma once

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace media::soft {

static_assert(std::endian::native == std::endian::little,
              "pixels are RGBA bytes read as little-endian words: red is the lowest byte");

constexpr std::uint32_t kLaneMask = 0x00FF00FFu;  // red and blue, or green and alpha >> 8

// round(x / 255) for 0 <= x <= 65025.
inline std::uint32_t Div255(std::uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

// Div255 on two 16-bit lanes at once.
inline std::uint32_t Div255Lanes(std::uint32_t x) {
  x += 0x00800080u;
  return ((x + ((x >> 8) & kLaneMask)) >> 8) & kLaneMask;
}

// min(lane, 255) for two lanes holding 0..510.
inline std::uint32_t SaturateLanes(std::uint32_t x) {
  const std::uint32_t over = (x >> 8) & 0x00010001u;
  return (x | over * 0xFFu) & kLaneMask;
}

inline std::uint32_t Channel(std::uint32_t rgba, int index) {
  return rgba >> (8 * index) & 0xFFu;
}

template <int Blend>
inline void BlendPixel(std::uint32_t& dst, std::uint32_t c) {
  const std::uint32_t a = c >> 24;
  if constexpr (Blend == 1) {
    if (a >= 128) dst = c;
  } else if constexpr (Blend == 2) {
    dst = c;
  } else if constexpr (Blend == 3) {
    if (a == 0) return;
    if (a == 255) {
      dst = c;
      return;
    }
    const std::uint32_t na = 255 - a;
    const std::uint32_t d = dst;
    const std::uint32_t rb = (c & kLaneMask) * a + (d & kLaneMask) * na;
    const std::uint32_t ga = (c >> 8 & kLaneMask) * a + (d >> 8 & kLaneMask) * na;
    dst = Div255Lanes(rb) | Div255Lanes(ga) << 8;
  } else if constexpr (Blend == 4) {
    if (a == 0) return;
    const std::uint32_t d = dst;
    const std::uint32_t rb = Div255Lanes((c & kLaneMask) * a) + (d & kLaneMask);
    const std::uint32_t ga = Div255Lanes((c >> 8 & kLaneMask) * a) + (d >> 8 & kLaneMask);
    dst = SaturateLanes(rb) | SaturateLanes(ga) << 8;
  } else {
    static_assert(Blend == 5);
    const std::uint32_t d = dst;
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k) out |= Div255(Channel(d, k) * Channel(c, k)) << (8 * k);
    dst = out;
  }
}

enum class Modulate { kNone, kAlpha, kFull };

template <Modulate M>
inline std::uint32_t ModulateTexel(std::uint32_t texel, std::uint32_t color) {
  if constexpr (M == Modulate::kNone) {
    return texel;
  } else if constexpr (M == Modulate::kAlpha) {
    return (texel & 0x00FFFFFFu) | Div255((texel >> 24) * (color >> 24)) << 24;
  } else {
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k) out |= Div255(Channel(texel, k) * Channel(color, k)) << (8 * k);
    return out;
  }
}

// Texels of one texture row, one per pixel, blended into `dst`: an unscaled picture at
// whole pixels.
template <int Blend, Modulate M>
void CopyRow(std::uint32_t* dst, const std::uint32_t* src, int count, std::uint32_t color);

// Like CopyRow, but each pixel mixes texel k and k + 1 by the same fraction fu / 256: an
// unscaled, filtered picture at a fractional x and a whole y.
template <int Blend, Modulate M>
void LerpRow(std::uint32_t* dst, const std::uint32_t* src, int count, int fu, std::uint32_t color);

// Texel k and k + 1 mixed by fu / 256, rounded: what bilinear filtering gives on a texel row.
inline std::uint32_t LerpTexels(std::uint32_t t0, std::uint32_t t1, int fu) {
  const auto w0 = static_cast<std::uint32_t>(256 - fu);
  const auto w1 = static_cast<std::uint32_t>(fu);
  const std::uint32_t rb = ((t0 & kLaneMask) * w0 + (t1 & kLaneMask) * w1 + 0x00800080u) >> 8;
  const std::uint32_t ga =
      ((t0 >> 8 & kLaneMask) * w0 + (t1 >> 8 & kLaneMask) * w1 + 0x00800080u) >> 8;
  return (rb & kLaneMask) | (ga & kLaneMask) << 8;
}

// Texels (i, j), (i + 1, j), (i, j + 1), (i + 1, j + 1) mixed by fu / 256 across and fv / 256
// down, each weight the product of the two, the sum rounded once: the bilinear sample.
inline std::uint32_t BilerpTexels(std::uint32_t t00, std::uint32_t t01, std::uint32_t t10,
                                  std::uint32_t t11, int fu, int fv) {
  const std::uint32_t texels[4] = {t00, t01, t10, t11};
  const std::uint64_t weights[4] = {
      static_cast<std::uint64_t>((256 - fu) * (256 - fv)),
      static_cast<std::uint64_t>(fu * (256 - fv)),
      static_cast<std::uint64_t>((256 - fu) * fv),
      static_cast<std::uint64_t>(fu * fv),
  };
  // Red and blue (green and alpha) 32 bits apart, so one multiply weighs two channels.
  auto spread = [](std::uint32_t pair) {
    return (pair & 0xFFu) | static_cast<std::uint64_t>(pair & 0xFF0000u) << 16;
  };
  std::uint64_t rb = 0x0000800000008000ull;  // rounds each lane's sum / 65536
  std::uint64_t ga = 0x0000800000008000ull;
  for (int k = 0; k < 4; ++k) {
    rb += spread(texels[k]) * weights[k];
    ga += spread(texels[k] >> 8) * weights[k];
  }
  return static_cast<std::uint32_t>((rb >> 16 & 0xFF) | (ga >> 16 & 0xFF) << 8 |
                                    (rb >> 48 & 0xFF) << 16 | (ga >> 48 & 0xFF) << 24);
}

// Like LerpRow, over two texture rows mixed by fv / 256: an unscaled, filtered picture at a
// fractional x and y.
template <int Blend, Modulate M>
void BilerpRow(std::uint32_t* dst, const std::uint32_t* src0, const std::uint32_t* src1, int count,
               int fu, int fv, std::uint32_t color);

#if defined(__SSE2__)

// round(x / 255) on eight 16-bit lanes holding 0..65025.
inline __m128i Div255Lanes16(__m128i x) {
  x = _mm_add_epi16(x, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Two pixels in 16-bit lanes (r, g, b, a, r, g, b, a): texel `t` over `d`.
template <int Blend, Modulate M>
inline __m128i BlendTwo(__m128i t, __m128i d, __m128i color) {
  __m128i c = t;
  if constexpr (M != Modulate::kNone) c = Div255Lanes16(_mm_mullo_epi16(t, color));
  if constexpr (Blend == 2) {
    return c;
  } else {
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(c, 0xFF), 0xFF);
    if constexpr (Blend == 1) {
      const __m128i drawn = _mm_cmpgt_epi16(a, _mm_set1_epi16(127));
      return _mm_or_si128(_mm_and_si128(drawn, c), _mm_andnot_si128(drawn, d));
    } else {
      static_assert(Blend == 3);
      const __m128i na = _mm_sub_epi16(_mm_set1_epi16(255), a);
      return Div255Lanes16(_mm_add_epi16(_mm_mullo_epi16(c, a), _mm_mullo_epi16(d, na)));
    }
  }
}

// Four texels (already in 16-bit lanes, low and high pair) blended into dst[0..3].
template <int Blend, Modulate M>
inline void BlendFour(std::uint32_t* dst, __m128i texelsLow, __m128i texelsHigh, __m128i color) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
  const __m128i low = BlendTwo<Blend, M>(texelsLow, _mm_unpacklo_epi8(d, zero), color);
  const __m128i high = BlendTwo<Blend, M>(texelsHigh, _mm_unpackhi_epi8(d, zero), color);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(low, high));
}

inline __m128i ColorLanes(std::uint32_t color) {
  return _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), _mm_setzero_si128());
}

#endif

template <int Blend, Modulate M>
void CopyRow(std::uint32_t* dst, const std::uint32_t* src, int count, std::uint32_t color) {
  int k = 0;
#if defined(__SSE2__)
  if constexpr (Blend <= 3) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lanes = ColorLanes(color);
    for (; k + 4 <= count; k += 4) {
      const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k));
      BlendFour<Blend, M>(dst + k, _mm_unpacklo_epi8(s, zero), _mm_unpackhi_epi8(s, zero), lanes);
    }
  }
#endif
  for (; k < count; ++k) BlendPixel<Blend>(dst[k], ModulateTexel<M>(src[k], color));
}

template <int Blend, Modulate M>
void LerpRow(std::uint32_t* dst, const std::uint32_t* src, int count, int fu, std::uint32_t color) {
  int k = 0;
#if defined(__SSE2__)
  if constexpr (Blend <= 3) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lanes = ColorLanes(color);
    const __m128i w0 = _mm_set1_epi16(static_cast<short>(256 - fu));
    const __m128i w1 = _mm_set1_epi16(static_cast<short>(fu));
    const __m128i half = _mm_set1_epi16(128);
    auto lerp = [&](__m128i a, __m128i b) {
      return _mm_srli_epi16(
          _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(a, w0), _mm_mullo_epi16(b, w1)), half), 8);
    };
    for (; k + 4 <= count; k += 4) {
      const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k));
      const __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k + 1));
      BlendFour<Blend, M>(dst + k, lerp(_mm_unpacklo_epi8(s0, zero), _mm_unpacklo_epi8(s1, zero)),
                          lerp(_mm_unpackhi_epi8(s0, zero), _mm_unpackhi_epi8(s1, zero)), lanes);
    }
  }
#endif
  for (; k < count; ++k) {
    BlendPixel<Blend>(dst[k], ModulateTexel<M>(LerpTexels(src[k], src[k + 1], fu), color));
  }
}

template <int Blend, Modulate M>
void BilerpRow(std::uint32_t* dst, const std::uint32_t* src0, const std::uint32_t* src1, int count,
               int fu, int fv, std::uint32_t color) {
  int k = 0;
#if defined(__SSE2__)
  if constexpr (Blend <= 3) {
    // The sum of four weighted texels needs 24 bits; in 16-bit lanes it is taken as
    //   A = (256 - fu) * t00 + fu * t01 and B likewise for the lower row (each <= 65280),
    //   H = (256 - fv) * (A >> 8) + fv * (B >> 8), L = (256 - fv) * (A & 255) + fv * (B & 255),
    // so that 256 * H + L is the full sum S, and (S + 32768) >> 16 is exactly
    // (H + (L >> 8) + 128) >> 8, which stays below 65536.
    const __m128i zero = _mm_setzero_si128();
    const __m128i lanes = ColorLanes(color);
    const __m128i wu0 = _mm_set1_epi16(static_cast<short>(256 - fu));
    const __m128i wu1 = _mm_set1_epi16(static_cast<short>(fu));
    const __m128i wv0 = _mm_set1_epi16(static_cast<short>(256 - fv));
    const __m128i wv1 = _mm_set1_epi16(static_cast<short>(fv));
    const __m128i low8 = _mm_set1_epi16(0xFF);
    const __m128i half = _mm_set1_epi16(128);
    auto across = [&](__m128i a, __m128i b) {
      return _mm_add_epi16(_mm_mullo_epi16(a, wu0), _mm_mullo_epi16(b, wu1));
    };
    auto down = [&](__m128i a, __m128i b) {
      const __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(a, 8), wv0),
                                         _mm_mullo_epi16(_mm_srli_epi16(b, 8), wv1));
      const __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(a, low8), wv0),
                                        _mm_mullo_epi16(_mm_and_si128(b, low8), wv1));
      return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(high, _mm_srli_epi16(low, 8)), half), 8);
    };
    for (; k + 4 <= count; k += 4) {
      const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src0 + k));
      const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src0 + k + 1));
      const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src1 + k));
      const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src1 + k + 1));
      const __m128i lowPair =
          down(across(_mm_unpacklo_epi8(a0, zero), _mm_unpacklo_epi8(a1, zero)),
               across(_mm_unpacklo_epi8(b0, zero), _mm_unpacklo_epi8(b1, zero)));
      const __m128i highPair =
          down(across(_mm_unpackhi_epi8(a0, zero), _mm_unpackhi_epi8(a1, zero)),
               across(_mm_unpackhi_epi8(b0, zero), _mm_unpackhi_epi8(b1, zero)));
      BlendFour<Blend, M>(dst + k, lowPair, highPair, lanes);
    }
  }
#endif
  for (; k < count; ++k) {
    const std::uint32_t texel = BilerpTexels(src0[k], src0[k + 1], src1[k], src1[k + 1], fu, fv);
    BlendPixel<Blend>(dst[k], ModulateTexel<M>(texel, color));
  }
}

}  // namespace media::soft
