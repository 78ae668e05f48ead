// Draw and clear colours as both drivers keep them: clamped, then packed as ARGB (alpha in
// bits 24..31, red 16..23, green 8..15, blue 0..7). Every quad carries the draw colour.
#pragma once

#include <algorithm>
#include <cstdint>

namespace media {

struct TDriverColors {
  std::uint32_t drawcolor = 0xFFFFFFFFu;  // ARGB of every following quad
  std::uint32_t clscolor = 0xFF000000u;   // ARGB, alpha always 255

  static std::uint32_t PackRgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(std::clamp(r, 0, 255)) << 16 |
           static_cast<std::uint32_t>(std::clamp(g, 0, 255)) << 8 |
           static_cast<std::uint32_t>(std::clamp(b, 0, 255));
  }
  // 0.1 gives 25: the byte is truncated, not rounded. NaN counts as 0.
  static std::uint32_t AlphaByte(float alpha) {
    const double clamped = alpha > 0.0f ? std::min(static_cast<double>(alpha), 1.0) : 0.0;
    return static_cast<std::uint32_t>(clamped * 255.0);
  }

  void SetColor(int r, int g, int b) { drawcolor = (drawcolor & 0xFF000000u) | PackRgb(r, g, b); }
  void SetAlpha(float alpha) { drawcolor = (drawcolor & 0x00FFFFFFu) | AlphaByte(alpha) << 24; }
  void SetClsColor(int r, int g, int b) { clscolor = 0xFF000000u | PackRgb(r, g, b); }

  // The same colours with red in the lowest byte: the byte order of RGBA pixels in memory.
  static std::uint32_t ToRgbaBytes(std::uint32_t argb) {
    return (argb & 0xFF00FF00u) | (argb >> 16 & 0xFFu) | (argb & 0xFFu) << 16;
  }
};

}  // namespace media
