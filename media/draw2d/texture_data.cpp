#include "media/draw2d/texture_data.h"

#include <algorithm>
#include <cstring>

#include "media/draw2d/image.h"
#include "media/draw2d/pixmap.h"

namespace media {

namespace {

// Copies the picture's last column to the right and its last row downwards: only the first
// column and row beyond the picture, which is all bilinear filtering reaches at 1:1, or
// everything up to the texture's edge when smaller mip levels average it in.
void SmearEdges(TTextureData& texture, bool all) {
  const int w = texture.imageWidth;
  const int h = texture.imageHeight;
  if (w == 0 || h == 0) return;
  std::uint32_t* texels = texture.LevelTexels(0);
  const int pitch = texture.width;
  if (texture.width > w) {
    const int lastColumn = all ? texture.width - 1 : w;
    for (int y = 0; y < h; ++y) {
      std::uint32_t* row = texels + y * pitch;
      std::fill(row + w, row + lastColumn + 1, row[w - 1]);
    }
  }
  if (texture.height > h) {
    const int lastRow = all ? texture.height - 1 : h;
    const std::uint32_t* edge = texels + (h - 1) * pitch;
    for (int y = h; y <= lastRow; ++y) std::copy(edge, edge + pitch, texels + y * pitch);
  }
}

// Fills each level from the one above, 2x2 texels to one. Where the level above is only one
// texel wide or high, its last column or row stands in for the missing one.
void BuildMipMaps(TTextureData& texture) {
  for (size_t level = 1; level < texture.levels.size(); ++level) {
    const TTextureLevel& above = texture.levels[level - 1];
    const TTextureLevel& below = texture.levels[level];
    const std::uint32_t* src = texture.LevelTexels(static_cast<int>(level - 1));
    std::uint32_t* dst = texture.LevelTexels(static_cast<int>(level));
    for (int i = 0; i < below.height; ++i) {
      const std::uint32_t* row0 = src + std::min(2 * i, above.height - 1) * above.width;
      const std::uint32_t* row1 = src + std::min(2 * i + 1, above.height - 1) * above.width;
      for (int j = 0; j < below.width; ++j) {
        const int x0 = std::min(2 * j, above.width - 1);
        const int x1 = std::min(2 * j + 1, above.width - 1);
        dst[i * below.width + j] =
            MixPixels(MixPixels(row0[x0], row0[x1]), MixPixels(row1[x0], row1[x1]));
      }
    }
  }
}

}  // namespace

int NextPowerOfTwo(int n) {
  int size = 1;
  while (size < n && size < (1 << 30)) size *= 2;
  return size;
}

TTextureData PrepareTexture(const TPixmap& pixmap, int flags) {
  TTextureData texture;
  texture.imageWidth = std::max(pixmap.width, 0);
  texture.imageHeight = std::max(pixmap.height, 0);
  texture.width = NextPowerOfTwo(texture.imageWidth);
  texture.height = NextPowerOfTwo(texture.imageHeight);
  texture.flags = flags;
  texture.uscale = 1.0f / static_cast<float>(texture.width);
  texture.vscale = 1.0f / static_cast<float>(texture.height);

  const bool mipmapped = (flags & kImageMipmapped) != 0;
  std::size_t count = 0;
  int w = texture.width;
  int h = texture.height;
  for (;;) {
    texture.levels.push_back({w, h, count});
    count += static_cast<std::size_t>(w) * h;
    if (!mipmapped || (w == 1 && h == 1)) break;
    w = std::max(w / 2, 1);
    h = std::max(h / 2, 1);
  }
  texture.texels.assign(count, 0);

  if (texture.imageWidth > 0 && texture.imageHeight > 0) {
    auto level0 = TPixmap::CreateStatic(texture.LevelTexels(0), texture.width, texture.height,
                                        texture.width * 4, kPixelFormatRGBA8888);
    level0->Paste(pixmap, 0, 0);
  }
  SmearEdges(texture, mipmapped);
  if (mipmapped) BuildMipMaps(texture);
  return texture;
}

}  // namespace media
