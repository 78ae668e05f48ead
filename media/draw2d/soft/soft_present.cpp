#include "media/draw2d/soft/soft_present.h"

#include <algorithm>

namespace media {

namespace {

// Red and blue change places; green and the fourth byte (alpha, or padding the window
// system ignores) stay.
void SwapRedAndBlue(const std::uint32_t* from, std::uint32_t* to, int count) {
  for (int k = 0; k < count; ++k) {
    const std::uint32_t p = from[k];
    to[k] = (p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);
  }
}

}  // namespace

void CopyToSurface(const std::uint32_t* buffer, int width, SDL_Surface* bufferSurface,
                   SDL_Surface* surface, std::span<const TRasterRect> rects) {
  const Uint32 format = surface->format->format;
  // Our bytes are R, G, B, A in memory: ABGR8888 (XBGR8888) on a little-endian machine.
  const bool same = format == SDL_PIXELFORMAT_ABGR8888 || format == SDL_PIXELFORMAT_XBGR8888;
  const bool swapped = format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
  if (!same && !swapped) {
    for (const TRasterRect& r : rects) {
      SDL_Rect rect{r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0};
      SDL_BlitSurface(bufferSurface, &rect, surface, &rect);
    }
    return;
  }
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  for (const TRasterRect& r : rects) {
    for (int y = r.y0; y < r.y1; ++y) {
      const std::uint32_t* from = buffer + static_cast<std::ptrdiff_t>(y) * width + r.x0;
      auto* to = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * surface->pitch) +
                 r.x0;
      if (same) {
        std::copy(from, from + (r.x1 - r.x0), to);
      } else {
        SwapRedAndBlue(from, to, r.x1 - r.x0);
      }
    }
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

}  // namespace media
