#include "media/draw2d/png_loader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <stdexcept>

#include "media/draw2d/pixmap_loader.h"
#include "media/resources/ram_stream.h"
#include "png_test_writer.h"

namespace media {
namespace {

using testing::EncodePng;
using testing::Picture;
using testing::PngPicture;
using testing::PngWithoutPixels;
using testing::RgbaRow;

std::shared_ptr<TPixmap> Decode(const std::vector<std::uint8_t>& bytes) {
  auto stream = TRamStream::Create(bytes.data(), static_cast<std::int32_t>(bytes.size()), 1);
  return LoadPixmap(*stream);
}

std::vector<std::uint8_t> Rgba(const TPixmap& pixmap, int x, int y) {
  std::uint8_t rgba[4];
  pixmap.ReadRgba(x, y, rgba);
  return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// A 9 x 9 RGBA picture: large enough that every interlace pass carries pixels.
PngPicture Gradient(bool interlaced) {
  PngPicture picture = Picture(9, 9, PNG_COLOR_TYPE_RGB_ALPHA);
  picture.interlaced = interlaced;
  for (int y = 0; y < 9; ++y) {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < 9; ++x) {
      row.insert(row.end(), {static_cast<std::uint8_t>(x * 28), static_cast<std::uint8_t>(y * 28),
                             static_cast<std::uint8_t>(x * y), static_cast<std::uint8_t>(255 - x)});
    }
    picture.rows.push_back(row);
  }
  return picture;
}

TEST(PngLoader, RgbaArrivesAsFormat6WithItsExactPixels) {
  PngPicture picture = Picture(3, 2, PNG_COLOR_TYPE_RGB_ALPHA);
  picture.rows = {RgbaRow({0x11223344, 0x55667788, 0x99AABBCC}),
                  RgbaRow({0x00000000, 0xFFFFFFFF, 0x010203FE})};
  auto pixmap = Decode(EncodePng(picture));
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->format, kPixelFormatRGBA8888);
  EXPECT_EQ(pixmap->width, 3);
  EXPECT_EQ(pixmap->height, 2);
  EXPECT_EQ(Rgba(*pixmap, 0, 0), (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x44}));
  EXPECT_EQ(Rgba(*pixmap, 2, 0), (std::vector<std::uint8_t>{0x99, 0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(Rgba(*pixmap, 1, 1), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Rgba(*pixmap, 2, 1), (std::vector<std::uint8_t>{0x01, 0x02, 0x03, 0xFE}));
}

TEST(PngLoader, InterlacedPictureDecodesToTheSamePixels) {
  auto plain = Decode(EncodePng(Gradient(false)));
  auto interlaced = Decode(EncodePng(Gradient(true)));
  ASSERT_TRUE(plain);
  ASSERT_TRUE(interlaced);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) {
      ASSERT_EQ(Rgba(*plain, x, y), Rgba(*interlaced, x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(Rgba(*interlaced, 8, 7), (std::vector<std::uint8_t>{224, 196, 56, 247}));
}

TEST(PngLoader, GreyAndRgbKeepTheirFormats) {
  PngPicture grey = Picture(2, 1, PNG_COLOR_TYPE_GRAY);
  grey.rows = {{7, 200}};
  auto g = Decode(EncodePng(grey));
  ASSERT_TRUE(g);
  EXPECT_EQ(g->format, kPixelFormatI8);
  EXPECT_EQ(g->PixelPtr(0, 0)[0], 7);
  EXPECT_EQ(g->PixelPtr(1, 0)[0], 200);

  PngPicture rgb = Picture(1, 2, PNG_COLOR_TYPE_RGB);
  rgb.rows = {{1, 2, 3}, {250, 251, 252}};
  auto c = Decode(EncodePng(rgb));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->format, kPixelFormatRGB888);
  EXPECT_EQ(Rgba(*c, 0, 1), (std::vector<std::uint8_t>{250, 251, 252, 255}));
}

TEST(PngLoader, GreyWithAlphaBecomesRgbaWithTheGreyInEveryChannel) {
  PngPicture picture = Picture(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA);
  picture.rows = {{90, 10, 255, 128}};
  auto pixmap = Decode(EncodePng(picture));
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->format, kPixelFormatRGBA8888);
  EXPECT_EQ(Rgba(*pixmap, 0, 0), (std::vector<std::uint8_t>{90, 90, 90, 10}));
  EXPECT_EQ(Rgba(*pixmap, 1, 0), (std::vector<std::uint8_t>{255, 255, 255, 128}));
}

TEST(PngLoader, SmallDepthsAndSixteenBitsComeOutAsEightBits) {
  // Two-bit grey 0..3 widens to 0, 85, 170, 255.
  PngPicture grey2 = Picture(4, 1, PNG_COLOR_TYPE_GRAY, 2);
  grey2.rows = {{0b00011011}};
  auto g = Decode(EncodePng(grey2));
  ASSERT_TRUE(g);
  EXPECT_EQ(g->format, kPixelFormatI8);
  EXPECT_EQ((std::vector<std::uint8_t>(g->pixels, g->pixels + 4)),
            (std::vector<std::uint8_t>{0, 85, 170, 255}));

  // Sixteen-bit samples keep their high byte.
  PngPicture rgb16 = Picture(1, 1, PNG_COLOR_TYPE_RGB, 16);
  rgb16.rows = {{0x12, 0xAB, 0xFE, 0x01, 0x00, 0xFF}};
  auto c = Decode(EncodePng(rgb16));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->format, kPixelFormatRGB888);
  EXPECT_EQ(Rgba(*c, 0, 0), (std::vector<std::uint8_t>{0x12, 0xFE, 0x00, 255}));
}

TEST(PngLoader, PaletteExpandsToRgbAndItsTransparencyToAlpha) {
  PngPicture picture = Picture(3, 1, PNG_COLOR_TYPE_PALETTE, 4);
  picture.palette = {10, 20, 30, 40, 50, 60, 0, 0, 0};
  picture.rows = {{0x01, 0x20}};  // indices 0, 1, 2
  auto opaque = Decode(EncodePng(picture));
  ASSERT_TRUE(opaque);
  EXPECT_EQ(opaque->format, kPixelFormatRGB888);
  EXPECT_EQ(Rgba(*opaque, 0, 0), (std::vector<std::uint8_t>{10, 20, 30, 255}));
  EXPECT_EQ(Rgba(*opaque, 1, 0), (std::vector<std::uint8_t>{40, 50, 60, 255}));
  EXPECT_EQ(Rgba(*opaque, 2, 0), (std::vector<std::uint8_t>{0, 0, 0, 255}));

  picture.trns = {255, 77};  // entry 1 half transparent, entry 2 opaque by default
  auto withAlpha = Decode(EncodePng(picture));
  ASSERT_TRUE(withAlpha);
  EXPECT_EQ(withAlpha->format, kPixelFormatRGBA8888);
  EXPECT_EQ(Rgba(*withAlpha, 0, 0), (std::vector<std::uint8_t>{10, 20, 30, 255}));
  EXPECT_EQ(Rgba(*withAlpha, 1, 0), (std::vector<std::uint8_t>{40, 50, 60, 77}));
  EXPECT_EQ(Rgba(*withAlpha, 2, 0), (std::vector<std::uint8_t>{0, 0, 0, 255}));
}

TEST(PngLoader, GreyWithATransparentColourGetsAlpha) {
  PngPicture picture = Picture(2, 1, PNG_COLOR_TYPE_GRAY);
  picture.rows = {{5, 6}};
  picture.trns = {0, 6};
  auto pixmap = Decode(EncodePng(picture));
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->format, kPixelFormatRGBA8888);
  EXPECT_EQ(Rgba(*pixmap, 0, 0), (std::vector<std::uint8_t>{5, 5, 5, 255}));
  EXPECT_EQ(Rgba(*pixmap, 1, 0), (std::vector<std::uint8_t>{6, 6, 6, 0}));
}

TEST(PngLoader, OnePixelPicture) {
  PngPicture picture = Picture(1, 1, PNG_COLOR_TYPE_RGB_ALPHA);
  picture.rows = {RgbaRow({0xCAFEBABE})};
  auto pixmap = Decode(EncodePng(picture));
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->width, 1);
  EXPECT_EQ(pixmap->height, 1);
  EXPECT_EQ(Rgba(*pixmap, 0, 0), (std::vector<std::uint8_t>{0xCA, 0xFE, 0xBA, 0xBE}));
}

TEST(PngLoader, DataThatIsNotPngGivesNothing) {
  EXPECT_FALSE(Decode({}));
  EXPECT_FALSE(Decode({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A}));  // seven bytes
  EXPECT_FALSE(Decode({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0}));
  EXPECT_FALSE(Decode({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));  // a signature only

  // Asked directly, the loader itself says "not mine" without an error.
  const std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
  auto stream = TRamStream::Create(text.data(), static_cast<std::int32_t>(text.size()), 1);
  EXPECT_FALSE(PngPixmapLoader().LoadPixmap(*stream));
}

TEST(PngLoader, TruncatedPictureGivesNothingAtEveryLength) {
  const std::vector<std::uint8_t> whole = EncodePng(Gradient(true));
  ASSERT_TRUE(Decode(whole));
  for (size_t length = 0; length < whole.size(); ++length) {
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + length);
    EXPECT_FALSE(Decode(cut)) << "cut at " << length;
  }
}

TEST(PngLoader, CorruptPictureGivesNothing) {
  std::vector<std::uint8_t> bytes = EncodePng(Gradient(false));
  // Flip a byte in the middle of the compressed pixels: the chunk's CRC no longer matches.
  std::vector<std::uint8_t> flipped = bytes;
  flipped[flipped.size() / 2] ^= 0x5A;
  EXPECT_FALSE(Decode(flipped));

  // A header field out of range (there is no bit depth 3), and a header with no pixels.
  EXPECT_FALSE(Decode(PngWithoutPixels(4, 4, 3, PNG_COLOR_TYPE_GRAY)));
  EXPECT_FALSE(Decode(PngWithoutPixels(4, 4, 8, PNG_COLOR_TYPE_GRAY)));
}

TEST(PngLoader, HugeClaimedSizeGivesNothingInsteadOfExhaustingMemory) {
  // Over the side limit, at libpng's own default limit, and within the side limit but beyond
  // the byte limit.
  EXPECT_FALSE(Decode(PngWithoutPixels(kMaxPngSide + 1, 1, 8, PNG_COLOR_TYPE_GRAY)));
  EXPECT_FALSE(Decode(PngWithoutPixels(1000000, 1000000, 8, PNG_COLOR_TYPE_RGB_ALPHA)));
  EXPECT_FALSE(Decode(PngWithoutPixels(0x7FFFFFFF, 0x7FFFFFFF, 16, PNG_COLOR_TYPE_RGB_ALPHA)));
  EXPECT_FALSE(Decode(PngWithoutPixels(16000, 16000, 8, PNG_COLOR_TYPE_RGB_ALPHA)));
}

}  // namespace
}  // namespace media
