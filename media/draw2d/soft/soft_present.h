// Presenting the software driver's back buffer: copying the parts of it that changed into a
// window surface of the same size, in the surface's own pixel format.
// Depends on: SDL2 video (surfaces), soft_frame_record (rectangles).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>

#include "media/draw2d/soft/soft_frame_record.h"

namespace media {

// Copies `rects` of `buffer` (RGBA bytes, also seen by SDL as `bufferSurface`) into `surface`.
// The formats a window surface has on today's desktops (four bytes a pixel, red and blue
// either way round) are converted here, others by SDL.
void CopyToSurface(const std::uint32_t* buffer, int width, SDL_Surface* bufferSurface,
                   SDL_Surface* surface, std::span<const TRasterRect> rects);

}  // namespace media
