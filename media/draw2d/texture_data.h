// Texture contents as both drivers use them: the picture pasted into an RGBA texture of
// power-of-two size, its right and bottom edges smeared so that filtering never reads the
// empty part, and the mip chain when the image asks for one.
// Depends on: pixmap.h (format conversion), image.h (image flags).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

class TPixmap;

struct TTextureLevel {
  int width = 0;
  int height = 0;
  std::size_t offset = 0;  // index of the level's first texel in TTextureData::texels
};

struct TTextureData {
  int imageWidth = 0;  // the picture's size
  int imageHeight = 0;
  int width = 0;  // the texture's size: powers of two
  int height = 0;
  int flags = 0;                      // image flags (filtered, mipmapped)
  float uscale = 0.0f;                // 1 / width
  float vscale = 0.0f;                // 1 / height
  std::vector<TTextureLevel> levels;  // level 0 first; one level without the mipmapped flag
  // Texels of all levels one after another, rows top first: R, G, B, A bytes in memory
  // order, so red is the lowest byte of each value on a little-endian machine.
  std::vector<std::uint32_t> texels;

  const std::uint32_t* LevelTexels(int level) const { return texels.data() + levels[level].offset; }
  std::uint32_t* LevelTexels(int level) { return texels.data() + levels[level].offset; }
  std::uint32_t Texel(int level, int x, int y) const {
    return LevelTexels(level)[y * levels[level].width + x];
  }
};

// The smallest power of two >= n (1 for n <= 1; at most 2^30).
int NextPowerOfTwo(int n);

// Averages two packed pixels byte by byte, as the mip chain is built: halves summed, plus a
// rounding bit taken from bit 3 of each sum.
inline std::uint32_t MixPixels(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t s = ((a >> 1) & 0x7F7F7F7Fu) + ((b >> 1) & 0x7F7F7F7Fu);
  return s + ((s >> 3) & 0x01010101u);
}

// The texture for `pixmap` with image `flags`.
TTextureData PrepareTexture(const TPixmap& pixmap, int flags);

}  // namespace media
