// Texture preparation: power-of-two sizes, format conversion, smeared edges, mip chain.
#include <gtest/gtest.h>

#include "canvas_test_support.h"
#include "media/draw2d/image.h"
#include "media/draw2d/texture_data.h"

namespace media {
namespace {

using testing::MakePixmap;
using testing::Rgba;

Rgba Unpack(std::uint32_t texel) {
  return {static_cast<int>(texel & 0xFF), static_cast<int>(texel >> 8 & 0xFF),
          static_cast<int>(texel >> 16 & 0xFF), static_cast<int>(texel >> 24)};
}

Rgba Pattern(int x, int y) {
  return {x, y, (x * 3 + y) & 255, 255 - x};
}

TEST(TextureData, SizesAreTheSmallestPowersOfTwo) {
  EXPECT_EQ(NextPowerOfTwo(0), 1);
  EXPECT_EQ(NextPowerOfTwo(1), 1);
  EXPECT_EQ(NextPowerOfTwo(2), 2);
  EXPECT_EQ(NextPowerOfTwo(3), 4);
  EXPECT_EQ(NextPowerOfTwo(145), 256);
  EXPECT_EQ(NextPowerOfTwo(256), 256);
  EXPECT_EQ(NextPowerOfTwo(257), 512);

  const TTextureData t = PrepareTexture(*MakePixmap(145, 125, Pattern), kDefaultImageFlags);
  EXPECT_EQ(t.width, 256);
  EXPECT_EQ(t.height, 128);
  ASSERT_EQ(t.levels.size(), 1u);
  EXPECT_FLOAT_EQ(145 * t.uscale, 145.0f / 256.0f);
  EXPECT_FLOAT_EQ(125 * t.vscale, 125.0f / 128.0f);

  const TTextureData one = PrepareTexture(*MakePixmap(1, 1, Pattern), kImageMipmapped);
  EXPECT_EQ(one.width, 1);
  EXPECT_EQ(one.height, 1);
  EXPECT_EQ(one.levels.size(), 1u);
  EXPECT_EQ(Unpack(one.Texel(0, 0, 0)), Pattern(0, 0));
}

TEST(TextureData, WithoutMipLevelsOnlyOneColumnAndRowAreSmeared) {
  const TTextureData t = PrepareTexture(*MakePixmap(145, 125, Pattern), kDefaultImageFlags);
  EXPECT_EQ(Unpack(t.Texel(0, 0, 0)), Pattern(0, 0));
  EXPECT_EQ(Unpack(t.Texel(0, 144, 124)), Pattern(144, 124));
  for (int y = 0; y < 125; ++y) EXPECT_EQ(Unpack(t.Texel(0, 145, y)), Pattern(144, y));
  for (int x = 0; x < 145; ++x) EXPECT_EQ(Unpack(t.Texel(0, x, 125)), Pattern(x, 124));
  EXPECT_EQ(Unpack(t.Texel(0, 145, 125)), Pattern(144, 124));
  // Beyond that the texture stays empty.
  EXPECT_EQ(t.Texel(0, 146, 0), 0u);
  EXPECT_EQ(t.Texel(0, 0, 126), 0u);
  EXPECT_EQ(t.Texel(0, 255, 127), 0u);
}

TEST(TextureData, MipmappedTexturesSmearToTheEdgeAndMixEachLevelFromTheOneAbove) {
  const TTextureData t =
      PrepareTexture(*MakePixmap(5, 3, Pattern), kImageFiltered | kImageMipmapped);
  EXPECT_EQ(t.width, 8);
  EXPECT_EQ(t.height, 4);
  ASSERT_EQ(t.levels.size(), 4u);  // 8x4, 4x2, 2x1, 1x1
  EXPECT_EQ(t.levels[1].width, 4);
  EXPECT_EQ(t.levels[1].height, 2);
  EXPECT_EQ(t.levels[2].width, 2);
  EXPECT_EQ(t.levels[2].height, 1);
  EXPECT_EQ(t.levels[3].width, 1);
  EXPECT_EQ(t.levels[3].height, 1);
  for (int x = 5; x < 8; ++x) EXPECT_EQ(Unpack(t.Texel(0, x, 1)), Pattern(4, 1));
  EXPECT_EQ(Unpack(t.Texel(0, 7, 3)), Pattern(4, 2));

  for (size_t level = 1; level < t.levels.size(); ++level) {
    const int l = static_cast<int>(level);
    for (int i = 0; i < t.levels[level].height; ++i) {
      for (int j = 0; j < t.levels[level].width; ++j) {
        const int aboveWidth = t.levels[level - 1].width;
        const int aboveHeight = t.levels[level - 1].height;
        auto p = [&](int x, int y) {
          return t.Texel(l - 1, std::min(x, aboveWidth - 1), std::min(y, aboveHeight - 1));
        };
        EXPECT_EQ(t.Texel(l, j, i),
                  MixPixels(MixPixels(p(2 * j, 2 * i), p(2 * j + 1, 2 * i)),
                            MixPixels(p(2 * j, 2 * i + 1), p(2 * j + 1, 2 * i + 1))))
            << "level " << level << " texel " << j << ", " << i;
      }
    }
  }
}

TEST(TextureData, MixHalvesEachByteAndRoundsFromBitThree) {
  EXPECT_EQ(MixPixels(0x00000000u, 0xFFFFFFFFu), 0x80808080u);  // 127 + bit 3 of 127
  EXPECT_EQ(MixPixels(0xFFFFFFFFu, 0xFFFFFFFFu), 0xFFFFFFFFu);  // 254 + 1
  EXPECT_EQ(MixPixels(0x00000000u, 0x80808080u), 0x40404040u);  // 64, bit 3 clear
  EXPECT_EQ(MixPixels(0x10203040u, 0x10203040u), 0x10203040u);
  // Bytes do not carry into each other.
  EXPECT_EQ(MixPixels(0x01FF0001u, 0x01FF0001u), 0x00FF0000u);
}

TEST(TextureData, PicturesAreConvertedToRgba) {
  auto alphaOnly = TPixmap::Create(2, 1, kPixelFormatA8);
  alphaOnly->pixels[0] = 0;
  alphaOnly->pixels[1] = 200;
  const TTextureData glyph = PrepareTexture(*alphaOnly, kImageFiltered | kImageMipmapped);
  EXPECT_EQ(Unpack(glyph.Texel(0, 0, 0)), (Rgba{255, 255, 255, 0}));
  EXPECT_EQ(Unpack(glyph.Texel(0, 1, 0)), (Rgba{255, 255, 255, 200}));

  auto bgr = TPixmap::Create(1, 1, kPixelFormatBGR888);
  bgr->pixels[0] = 1;
  bgr->pixels[1] = 2;
  bgr->pixels[2] = 3;
  EXPECT_EQ(Unpack(PrepareTexture(*bgr, 0).Texel(0, 0, 0)), (Rgba{3, 2, 1, 255}));
}

}  // namespace
}  // namespace media
