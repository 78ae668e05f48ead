#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "png_test_reader.h"
#include "tools/gfxgen/pictures.h"

namespace gfxgen {
namespace {

using test::decodePng;

const std::filesystem::path kFont = std::filesystem::path(GFXGEN_FONT_DIR) / "HoboStd.otf";

struct Pixel {
  int r, g, b, a;
};

Pixel at(const Image& image, int x, int y) {
  const std::uint8_t* p = image.pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

bool isRed(Pixel p) {
  return p.r > 150 && p.g < 90 && p.b < 90;
}
bool isNearBlack(Pixel p) {
  return p.r < 40 && p.g < 40 && p.b < 40;
}

// The loader treats pure black as see-through, so no picture may use it, not even under
// alpha 0.
void expectNoPureBlack(const Image& image) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Pixel p = at(image, x, y);
      ASSERT_FALSE(p.r == 0 && p.g == 0 && p.b == 0) << "pure black at " << x << "," << y;
    }
  }
}

void expectTransparentCorners(const Image& image) {
  EXPECT_EQ(at(image, 0, 0).a, 0);
  EXPECT_EQ(at(image, image.width - 1, 0).a, 0);
  EXPECT_EQ(at(image, 0, image.height - 1).a, 0);
  EXPECT_EQ(at(image, image.width - 1, image.height - 1).a, 0);
}

// The font is read once for the whole suite.
class PicturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { font = std::make_unique<FontFace>(kFont); }
  static void TearDownTestSuite() { font.reset(); }
  static inline std::unique_ptr<FontFace> font;
};

TEST_F(PicturesTest, LettersAreNearBlackShapesInsideAClosedRedOutline) {
  for (char32_t letter : {U'V', U'O', U'K'}) {
    SCOPED_TRACE(char(letter));
    const Image image = drawLetter(*font, letter);
    ASSERT_EQ(image.width, kLetterWidth);
    ASSERT_EQ(image.height, kLetterHeight);
    expectTransparentCorners(image);
    expectNoPureBlack(image);

    int top = image.height, bottom = -1, left = image.width, right = -1, black = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const Pixel p = at(image, x, y);
        if (p.a == 0) continue;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        left = std::min(left, x);
        right = std::max(right, x);
        if (p.a == 255 && isNearBlack(p)) ++black;
        // Every visible pixel next to the transparent ground belongs to the red outline.
        const bool onRim = x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1 ||
                           at(image, x - 1, y).a == 0 || at(image, x + 1, y).a == 0 ||
                           at(image, x, y - 1).a == 0 || at(image, x, y + 1).a == 0;
        if (onRim) {
          ASSERT_TRUE(isRed(p)) << "non-red rim pixel at " << x << "," << y;
        }
      }
    }
    EXPECT_GT(bottom - top + 1, image.height * 85 / 100) << "the letter does not fill the frame";
    EXPECT_GT(top, 0) << "the outline touches the frame";
    EXPECT_LT(bottom, image.height - 1);
    EXPECT_GT(left, 0);
    EXPECT_LT(right, image.width - 1);
    EXPECT_GT(black, image.width * image.height / 5) << "too little near-black body";
  }
}

TEST_F(PicturesTest, ScrollBandIsAnOpaqueInterlacedSalmonPaletteStrip) {
  const IndexedImage band = drawScrollBorders();
  const auto decoded = decodePng(encodePng(band, true, kBandMaxColours));
  ASSERT_EQ(decoded.pixels.width, kBandWidth);
  ASSERT_EQ(decoded.pixels.height, kBandHeight);
  EXPECT_EQ(decoded.colourType, 3);
  EXPECT_TRUE(decoded.interlaced);
  EXPECT_LE(decoded.palette.size(), kBandMaxColours);
  EXPECT_EQ(std::count(decoded.chunks.begin(), decoded.chunks.end(), "tRNS"), 0);
  for (const Rgb& c : decoded.palette) EXPECT_FALSE(c == (Rgb{0, 0, 0}));

  const Image& px = decoded.pixels;
  auto brightness = [&](int y) {
    const Pixel p = at(px, 400, y);
    return p.r + p.g + p.b;
  };
  const Pixel body = at(px, 400, kBandHeight / 2);
  EXPECT_EQ(body.r, 226);
  EXPECT_EQ(body.g, 179);
  EXPECT_EQ(body.b, 163);
  EXPECT_GT(brightness(0), brightness(kBandHeight / 2));
  EXPECT_GT(brightness(1), brightness(kBandHeight / 2));
  const Pixel bottom = at(px, 400, kBandHeight - 1);
  EXPECT_LT(bottom.r + bottom.g + bottom.b, 250) << "bottom row is not dark";
  EXPECT_GT(bottom.r, bottom.g);
  EXPECT_GT(bottom.g, bottom.b - 1);
  for (int y = 0; y < kBandHeight; ++y) {
    for (int x = 0; x < kBandWidth; ++x) {
      const Pixel p = at(px, x, y);
      ASSERT_EQ(p.a, 255);
      ASSERT_EQ(p.r, at(px, 0, y).r) << "row " << y << " is not uniform";
    }
  }
}

TEST_F(PicturesTest, InfoPadIsQuarterOpaqueSalmonWithADarkerLowerEdge) {
  const Image pad = drawInfoPad();
  ASSERT_EQ(pad.width, kPadWidth);
  ASSERT_EQ(pad.height, kPadHeight);
  expectNoPureBlack(pad);
  for (int y : {0, 1, 200, kPadHeight - 6}) {
    const Pixel p = at(pad, 245, y);
    EXPECT_EQ(p.r, 226);
    EXPECT_EQ(p.g, 179);
    EXPECT_EQ(p.b, 163);
    EXPECT_EQ(p.a, 64);
  }
  int previous = 226 + 179 + 163;
  for (int y = kPadHeight - 4; y < kPadHeight; ++y) {
    const Pixel p = at(pad, 245, y);
    EXPECT_LT(p.r + p.g + p.b, previous) << "row " << y << " does not darken";
    EXPECT_GT(p.a, 64);
    previous = p.r + p.g + p.b;
  }
}

TEST_F(PicturesTest, LogoAndIconAreLetteringOnTransparentGround) {
  const Image logo = drawLogo(*font);
  ASSERT_EQ(logo.width, kLogoWidth);
  ASSERT_EQ(logo.height, kLogoHeight);
  const Image icon = drawIcon(*font);
  ASSERT_EQ(icon.width, kIconSize);
  ASSERT_EQ(icon.height, kIconSize);
  for (const Image* image : {&logo, &icon}) {
    expectTransparentCorners(*image);
    expectNoPureBlack(*image);
    int opaque = 0, red = 0;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x) {
        const Pixel p = at(*image, x, y);
        opaque += p.a == 255;
        red += p.a == 255 && isRed(p);
      }
    }
    EXPECT_GT(opaque, image->width * image->height / 4);
    EXPECT_GT(red, image->width * image->height / 10) << "no red lettering";
  }
  // Nothing of the logo is cut off by its frame.
  for (int x = 0; x < logo.width; ++x) {
    ASSERT_EQ(at(logo, x, 0).a, 0);
    ASSERT_EQ(at(logo, x, logo.height - 1).a, 0);
  }
  for (int y = 0; y < logo.height; ++y) {
    ASSERT_EQ(at(logo, 0, y).a, 0);
    ASSERT_EQ(at(logo, logo.width - 1, y).a, 0);
  }
}

TEST_F(PicturesTest, AllPicturesHaveTheirSizesFormatsAndOneInterlacedRgbaFile) {
  struct Expected {
    int width, height, colourType;
    bool interlaced;
  };
  const std::map<std::string, Expected> expected{
      {"v.png", {145, 125, 6, false}},    {"o.png", {145, 125, 6, true}},
      {"k.png", {145, 125, 6, false}},    {"scrollborders.png", {800, 74, 3, true}},
      {"logo.png", {746, 216, 6, false}}, {"infopad.png", {491, 465, 6, false}},
      {"icon.png", {256, 256, 6, false}},
  };
  const std::vector<PictureFile> first = makeAllPictures(*font);
  ASSERT_EQ(first.size(), expected.size());
  for (const PictureFile& file : first) {
    SCOPED_TRACE(file.name);
    ASSERT_EQ(expected.count(file.name), 1u);
    const Expected& want = expected.at(file.name);
    const auto decoded = decodePng(file.png);
    EXPECT_EQ(decoded.pixels.width, want.width);
    EXPECT_EQ(decoded.pixels.height, want.height);
    EXPECT_EQ(decoded.colourType, want.colourType);
    if (want.colourType == 6) {
      EXPECT_EQ(decoded.bitDepth, 8);
    }
    EXPECT_EQ(decoded.interlaced, want.interlaced);
    EXPECT_EQ(std::count(decoded.chunks.begin(), decoded.chunks.end(), "tIME"), 0);
  }

  // Same font, same bytes.
  const std::vector<PictureFile> second = makeAllPictures(*font);
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].png, second[i].png) << first[i].name << " differs between runs";
  }
}

}  // namespace
}  // namespace gfxgen
