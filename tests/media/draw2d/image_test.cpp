#include "media/draw2d/image.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>

#include "media/draw2d/canvas_driver.h"
#include "media/resources/embedded_files.h"
#include "media/resources/stream_factory.h"
#include "png_test_writer.h"

namespace media {
namespace {

using Rgba = std::array<std::uint8_t, 4>;

Rgba Read(const TPixmap& pixmap, int x, int y) {
  Rgba rgba;
  pixmap.ReadRgba(x, y, rgba.data());
  return rgba;
}

// A 3 x 3 palette picture without transparency: black in the centre and in one corner.
//   red    black  green
//   blue   black  white
//   grey   yellow cyan
std::vector<std::uint8_t> PalettePictureWithBlack() {
  testing::PngPicture picture = testing::Picture(3, 3, PNG_COLOR_TYPE_PALETTE);
  picture.palette = {255, 0,   0,   0,   0,   0,   0,   255, 0, 0, 0,   255,
                     255, 255, 255, 100, 100, 100, 255, 255, 0, 0, 255, 255};
  picture.rows = {{0, 1, 2}, {3, 1, 4}, {5, 6, 7}};
  return testing::EncodePng(picture);
}

std::vector<std::uint8_t> RgbaPictureWithOpaqueBlack() {
  testing::PngPicture picture = testing::Picture(2, 1, PNG_COLOR_TYPE_RGB_ALPHA);
  picture.rows = {testing::RgbaRow({0x000000FF, 0xFF0000FF})};
  return testing::EncodePng(picture);
}

class ImageLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEmbeddedFilesForTesting();
    InitStreams();
    Register(u"gfx/palette.png", palette_);
    Register(u"gfx/rgba.png", rgba_);
    Register(u"gfx/text.png", text_);
  }
  void TearDown() override { ResetEmbeddedFilesForTesting(); }
  static void Register(std::u16string_view name, const std::vector<std::uint8_t>& bytes) {
    RegisterEmbeddedFile(name, bytes.data(), static_cast<std::int32_t>(bytes.size()));
  }

  const std::vector<std::uint8_t> palette_ = PalettePictureWithBlack();
  const std::vector<std::uint8_t> rgba_ = RgbaPictureWithOpaqueBlack();
  const std::vector<std::uint8_t> text_ = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
};

TEST_F(ImageLoading, PalettePictureIsMaskedWithTheNeighboursMeanColour) {
  auto image = LoadImage(u"incbin::gfx/palette.png", -1);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->flags, kDefaultImageFlags);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 3);
  ASSERT_EQ(image->pixmaps.size(), 1u);
  const TPixmap& pixmap = *image->Lock(0, true, false);
  EXPECT_EQ(pixmap.format, kPixelFormatRGBA8888);

  // Centre: its seven non-black neighbours (red, green, blue, white, grey, yellow, cyan).
  EXPECT_EQ(Read(pixmap, 1, 1), (Rgba{(255 + 0 + 0 + 255 + 100 + 255 + 0) / 7,
                                      (0 + 255 + 0 + 255 + 100 + 255 + 255) / 7,
                                      (0 + 0 + 255 + 255 + 100 + 0 + 255) / 7, 0}));
  // Top middle: red, green, blue, white (the centre is black and does not count).
  EXPECT_EQ(Read(pixmap, 1, 0),
            (Rgba{(255 + 0 + 0 + 255) / 4, (0 + 255 + 0 + 255) / 4, (0 + 0 + 255 + 255) / 4, 0}));
  // Everything else keeps its colour, opaque.
  EXPECT_EQ(Read(pixmap, 0, 0), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(Read(pixmap, 2, 2), (Rgba{0, 255, 255, 255}));
  EXPECT_EQ(Read(pixmap, 0, 2), (Rgba{100, 100, 100, 255}));
}

TEST_F(ImageLoading, PictureWithAlphaIsNotMasked) {
  auto image = LoadImage(u"incbin::gfx/rgba.png", -1);
  ASSERT_TRUE(image);
  const TPixmap& pixmap = *image->Lock(0, true, false);
  EXPECT_EQ(Read(pixmap, 0, 0), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(Read(pixmap, 1, 0), (Rgba{255, 0, 0, 255}));
}

TEST_F(ImageLoading, WithoutTheMaskBitThePixmapIsKeptAsItIs) {
  auto image = LoadImage(u"incbin::gfx/palette.png", kImageFiltered);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->flags, kImageFiltered);
  const TPixmap& pixmap = *image->Lock(0, true, false);
  EXPECT_EQ(pixmap.format, kPixelFormatRGB888);
  EXPECT_EQ(Read(pixmap, 1, 1), (Rgba{0, 0, 0, 255}));
}

TEST_F(ImageLoading, NothingToLoadGivesNull) {
  EXPECT_FALSE(LoadImage(u"incbin::gfx/missing.png", -1));
  EXPECT_FALSE(LoadImage(u"incbin::gfx/text.png", -1));
  EXPECT_FALSE(LoadImage(u"", -1));
  EXPECT_FALSE(TImage::Load(std::shared_ptr<TPixmap>(), -1, 0, 0, 0));
}

TEST(ImageMask, OtherMaskColoursGreyPixmapsAndLonelyPixels) {
  // Magenta mask on an RGB pixmap whose masked pixel has no unmasked neighbour.
  auto rgb = TPixmap::Create(2, 1, kPixelFormatRGB888);
  const Rgba magenta = {255, 0, 255, 255};
  rgb->WriteRgba(0, 0, magenta.data());
  rgb->WriteRgba(1, 0, magenta.data());
  auto image = TImage::Load(rgb, kImageMasked, 255, 0, 255);
  EXPECT_EQ(Read(*image->Lock(0, true, false), 0, 0), (Rgba{0, 0, 0, 0}));

  // A grey pixmap is masked too: grey 0 reads as black.
  auto grey = TPixmap::Create(2, 1, kPixelFormatI8);
  grey->pixels[1] = 90;
  auto greyImage = TImage::Load(grey, kImageMasked, 0, 0, 0);
  const TPixmap& masked = *greyImage->Lock(0, true, false);
  EXPECT_EQ(masked.format, kPixelFormatRGBA8888);
  EXPECT_EQ(Read(masked, 0, 0), (Rgba{90, 90, 90, 0}));
  EXPECT_EQ(Read(masked, 1, 0), (Rgba{90, 90, 90, 255}));

  // An alpha-only pixmap already has alpha: untouched, even where it is "black".
  auto alpha = TPixmap::Create(1, 1, kPixelFormatA8);
  auto alphaImage = TImage::Load(alpha, kImageMasked, 255, 255, 255);
  EXPECT_EQ(alphaImage->Lock(0, true, false), alpha);
}

class StubFrame : public TImageFrame {
 public:
  void Draw(float, float, float, float, float, float, float, float, float, float) override {}
};

TEST(ImageFrames, TexturesAreDroppedWhenThePixelsChange) {
  auto image = TImage::Load(TPixmap::Create(4, 4, kPixelFormatRGBA8888), 0, 0, 0, 0);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Frame(1), nullptr);
  EXPECT_EQ(image->Frame(-1), nullptr);
  EXPECT_EQ(image->Lock(1, true, true), nullptr);

  // A texture made for the current display is used as it is.
  auto frame = std::make_shared<StubFrame>();
  image->frames[0] = frame;
  image->seqs[0] = GraphicsSeq();
  EXPECT_EQ(image->Frame(0), frame.get());

  image->Lock(0, true, false);  // reading keeps it
  EXPECT_EQ(image->frames[0], frame);
  image->Lock(0, true, true);  // writing drops it
  EXPECT_EQ(image->frames[0], nullptr);
  EXPECT_EQ(image->seqs[0], 0);

  image->frames[0] = frame;
  image->seqs[0] = GraphicsSeq();
  image->SetPixmap(0, TPixmap::Create(4, 4, kPixelFormatRGBA8888));
  EXPECT_EQ(image->frames[0], nullptr);
  EXPECT_EQ(image->seqs[0], 0);
}

TEST(ImageFrames, CreatedImageHasBlankFramesOfItsSize) {
  auto image = TImage::Create(5, 3, 2, kDefaultImageFlags, 1, 2, 3);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->mask_r, 1);
  EXPECT_EQ(image->mask_b, 3);
  ASSERT_EQ(image->seqs.size(), 2u);
  auto pixmap = image->Lock(1, true, true);
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->width, 5);
  EXPECT_EQ(pixmap->height, 3);
  EXPECT_EQ(Read(*pixmap, 4, 2), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(image->Lock(1, true, false), pixmap);
}

}  // namespace
}  // namespace media
