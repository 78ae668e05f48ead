#include "media/draw2d/pixmap.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace media {
namespace {

using Rgba = std::array<std::uint8_t, 4>;

Rgba Read(const TPixmap& pixmap, int x, int y) {
  Rgba rgba;
  pixmap.ReadRgba(x, y, rgba.data());
  return rgba;
}

TEST(Pixmap, CreateAlignsRowsAndZeroesThePixels) {
  auto pixmap = TPixmap::Create(3, 2, kPixelFormatRGB888);
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->pitch, 12);  // 9 bytes rounded up to 4
  EXPECT_EQ(pixmap->capacity, 24);
  for (int i = 0; i < pixmap->capacity; ++i) EXPECT_EQ(pixmap->pixels[i], 0);
  EXPECT_EQ(pixmap->PixelPtr(2, 1), pixmap->pixels + 12 + 6);

  EXPECT_EQ(TPixmap::Create(3, 2, kPixelFormatRGB888, 1)->pitch, 9);
  EXPECT_EQ(TPixmap::Create(5, 1, kPixelFormatA8, 8)->pitch, 8);
}

TEST(Pixmap, CreateRefusesWhatItCannotHold) {
  EXPECT_FALSE(TPixmap::Create(-1, 4, kPixelFormatRGBA8888));
  EXPECT_FALSE(TPixmap::Create(4, -1, kPixelFormatRGBA8888));
  EXPECT_FALSE(TPixmap::Create(4, 4, 0));
  EXPECT_FALSE(TPixmap::Create(4, 4, 7));
  EXPECT_FALSE(TPixmap::Create(1 << 20, 1 << 20, kPixelFormatRGBA8888));  // 4 TiB
  EXPECT_FALSE(TPixmap::Create(INT_MAX, 1, kPixelFormatRGBA8888));        // the pitch alone
  auto empty = TPixmap::Create(0, 0, kPixelFormatI8);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->capacity, 0);
}

TEST(Pixmap, EveryFormatReadsAndWritesThroughTheRgbaTable) {
  struct Case {
    int format;
    std::vector<std::uint8_t> bytes;  // one pixel as stored
    Rgba rgba;                        // the same pixel as RGBA
  };
  const Case cases[] = {
      {kPixelFormatI8, {77}, {77, 77, 77, 255}},
      {kPixelFormatA8, {77}, {255, 255, 255, 77}},
      {kPixelFormatBGR888, {1, 2, 3}, {3, 2, 1, 255}},
      {kPixelFormatRGB888, {1, 2, 3}, {1, 2, 3, 255}},
      {kPixelFormatBGRA8888, {1, 2, 3, 4}, {3, 2, 1, 4}},
      {kPixelFormatRGBA8888, {1, 2, 3, 4}, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(BytesPerPixel(c.format), static_cast<int>(c.bytes.size()));
    EXPECT_EQ(FormatHasAlpha(c.format), c.rgba[3] != 255);
    auto pixmap = TPixmap::Create(2, 2, c.format);
    std::copy(c.bytes.begin(), c.bytes.end(), pixmap->PixelPtr(1, 1));
    EXPECT_EQ(Read(*pixmap, 1, 1), c.rgba);

    auto written = TPixmap::Create(2, 2, c.format);
    written->WriteRgba(1, 1, c.rgba.data());
    EXPECT_EQ(std::vector<std::uint8_t>(written->PixelPtr(1, 1),
                                        written->PixelPtr(1, 1) + c.bytes.size()),
              c.bytes);
  }
  // Grey from colour is the plain mean; alpha-only keeps just the alpha.
  auto grey = TPixmap::Create(1, 1, kPixelFormatI8);
  const Rgba colour = {30, 60, 91, 9};
  grey->WriteRgba(0, 0, colour.data());
  EXPECT_EQ(grey->pixels[0], 60);
}

TEST(Pixmap, PasteConvertsAndDropsWhatFallsOutside) {
  auto source = TPixmap::Create(2, 2, kPixelFormatBGRA8888);
  const Rgba colours[4] = {
      {10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}, {130, 140, 150, 160}};
  for (int i = 0; i < 4; ++i) source->WriteRgba(i % 2, i / 2, colours[i].data());

  auto target = TPixmap::Create(3, 3, kPixelFormatRGBA8888);
  target->Paste(*source, 2, -1);  // only source pixel (0, 1) lands, at (2, 0)
  EXPECT_EQ(Read(*target, 2, 0), colours[2]);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      if (x == 2 && y == 0) continue;
      EXPECT_EQ(Read(*target, x, y), (Rgba{0, 0, 0, 0})) << x << "," << y;
    }
  }
  target->Paste(*source, 5, 5);  // entirely outside: nothing happens
  target->Paste(*source, 0, 1);
  EXPECT_EQ(Read(*target, 1, 2), colours[3]);

  auto rgb = source->Convert(kPixelFormatRGB888);
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->format, kPixelFormatRGB888);
  EXPECT_EQ(Read(*rgb, 1, 0), (Rgba{50, 60, 70, 255}));
}

TEST(Pixmap, CopyOwnsItsPixelsWhileStaticBorrowsThem) {
  std::uint8_t memory[2 * 5] = {1, 2, 0, 0, 0, 3, 4, 0, 0, 0};  // pitch 5 with padding
  auto view = TPixmap::CreateStatic(memory, 2, 2, 5, kPixelFormatI8);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->capacity, -1);
  EXPECT_EQ(view->PixelPtr(1, 1)[0], 4);
  memory[6] = 9;
  EXPECT_EQ(view->PixelPtr(1, 1)[0], 9);

  auto copy = view->Copy();
  ASSERT_TRUE(copy);
  EXPECT_NE(copy->pixels, view->pixels);
  EXPECT_GE(copy->capacity, 4);
  EXPECT_EQ(copy->PixelPtr(0, 1)[0], 3);
  memory[5] = 200;
  EXPECT_EQ(copy->PixelPtr(0, 1)[0], 3);
}

}  // namespace
}  // namespace media
