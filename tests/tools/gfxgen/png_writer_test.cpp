#include <gtest/gtest.h>

#include "png_test_reader.h"
#include "tools/gfxgen/png_writer.h"

namespace gfxgen {
namespace {

using test::decodePng;

// Odd sizes leave some Adam7 passes short or empty.
Image noisyImage(int width, int height) {
  Image image(width, height);
  std::uint32_t state = 12345;
  for (auto& byte : image.rgba) {
    state = state * 1664525u + 1013904223u;
    byte = std::uint8_t(state >> 24);
  }
  return image;
}

IndexedImage stripes(std::size_t colours, int width, int height) {
  IndexedImage image{width, height, {}, {}};
  for (std::size_t i = 0; i < colours; ++i) {
    image.palette.push_back({std::uint8_t(20 + i * 20), std::uint8_t(200 - i * 15), 90});
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.index.push_back(std::uint8_t((x + 2 * y) % colours));
  }
  return image;
}

TEST(PngWriter, RgbaRoundTripsExactlyPlainAndInterlaced) {
  const Image image = noisyImage(13, 7);
  for (bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "interlaced" : "plain");
    const auto decoded = decodePng(encodePng(image, interlaced));
    EXPECT_EQ(decoded.colourType, 6);  // RGBA
    EXPECT_EQ(decoded.bitDepth, 8);
    EXPECT_EQ(decoded.interlaced, interlaced);
    EXPECT_EQ(decoded.pixels.width, 13);
    EXPECT_EQ(decoded.pixels.height, 7);
    EXPECT_EQ(decoded.pixels.rgba, image.rgba);
    EXPECT_EQ(decoded.chunks.front(), "IHDR");
    EXPECT_EQ(decoded.chunks.back(), "IEND");
    for (const std::string& chunk : decoded.chunks) {
      EXPECT_TRUE(chunk == "IHDR" || chunk == "IDAT" || chunk == "IEND") << chunk;
    }
  }
}

TEST(PngWriter, PaletteRoundTripsWithoutTransparencyChunk) {
  const IndexedImage image = stripes(10, 9, 5);
  const auto decoded = decodePng(encodePng(image, true, 10));
  EXPECT_EQ(decoded.colourType, 3);  // palette
  EXPECT_EQ(decoded.bitDepth, 4);    // ten colours pack into four bits
  EXPECT_TRUE(decoded.interlaced);
  EXPECT_EQ(decoded.palette, image.palette);
  EXPECT_EQ(decoded.chunks, (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& want = image.palette[image.index[std::size_t(y) * image.width + x]];
      const std::uint8_t* got = decoded.pixels.pixel(x, y);
      ASSERT_EQ((Rgb{got[0], got[1], got[2]}), want) << x << "," << y;
      ASSERT_EQ(got[3], 255);
    }
  }
  EXPECT_EQ(decodePng(encodePng(stripes(3, 5, 5), false, 10)).bitDepth, 2);
  EXPECT_EQ(decodePng(encodePng(stripes(40, 50, 5), false, 256)).bitDepth, 8);
}

TEST(PngWriter, PaletteRulesAreEnforced) {
  IndexedImage withBlack = stripes(4, 4, 4);
  withBlack.palette[2] = {0, 0, 0};
  EXPECT_THROW(encodePng(withBlack, false, 10), std::invalid_argument);

  IndexedImage nearBlack = stripes(4, 4, 4);
  nearBlack.palette[2] = {1, 0, 0};
  EXPECT_NO_THROW(encodePng(nearBlack, false, 10));

  EXPECT_THROW(encodePng(stripes(11, 12, 2), false, 10), std::invalid_argument);
  EXPECT_NO_THROW(encodePng(stripes(10, 12, 2), false, 10));

  IndexedImage badIndex = stripes(4, 4, 4);
  badIndex.index[5] = 4;
  EXPECT_THROW(encodePng(badIndex, false, 10), std::invalid_argument);

  IndexedImage empty{2, 2, {0, 0, 0, 0}, {}};
  EXPECT_THROW(encodePng(empty, false, 10), std::invalid_argument);
}

TEST(PngWriter, EqualPicturesGiveEqualBytes) {
  const Image image = noisyImage(31, 17);
  EXPECT_EQ(encodePng(image, true), encodePng(image, true));
  EXPECT_NE(encodePng(image, true), encodePng(image, false));
}

TEST(ToIndexed, ListsColoursInFirstSeenOrderAndKeepsTheLimit) {
  Image image(3, 2);
  const std::uint8_t pixels[6][4] = {{9, 9, 9, 255}, {5, 6, 7, 255}, {9, 9, 9, 255},
                                     {1, 2, 3, 255}, {5, 6, 7, 255}, {1, 2, 3, 255}};
  for (int i = 0; i < 6; ++i) std::copy(pixels[i], pixels[i] + 4, image.pixel(i % 3, i / 3));
  const IndexedImage indexed = toIndexed(image, 3);
  EXPECT_EQ(indexed.palette, (std::vector<Rgb>{{9, 9, 9}, {5, 6, 7}, {1, 2, 3}}));
  EXPECT_EQ(indexed.index, (std::vector<std::uint8_t>{0, 1, 0, 2, 1, 2}));
  EXPECT_THROW(toIndexed(image, 2), std::invalid_argument);
  image.pixel(1, 1)[3] = 254;
  EXPECT_THROW(toIndexed(image, 3), std::invalid_argument);
}

}  // namespace
}  // namespace gfxgen
