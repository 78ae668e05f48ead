// The embedded pictures and fonts drawn through the software driver. Pictures are checked
// against their own decoded pixels blended over the clear colour; text against small
// reference images. A failing comparison writes the drawn picture beside the reference as
// NAME.actual.png.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "media/draw2d/canvas.h"
#include "media/draw2d/default_font.h"
#include "media/draw2d/image_font.h"
#include "media/draw2d/soft/soft_driver.h"
#include "media/resources/embedded_files.h"
#include "media/resources/stream_factory.h"
#include "media/resources/utf16.h"
#include "png_test_writer.h"
#include "test_files.h"

namespace media {
namespace {

constexpr int kClsRed = 177, kClsGreen = 142, kClsBlue = 130;

// The asset files, read once and kept: the resource store only points at them.
const std::vector<std::uint8_t>& AssetBytes(const std::string& name) {
  static std::map<std::string, std::vector<std::uint8_t>> files;
  auto [it, added] = files.try_emplace(name);
  if (added) it->second = testing::ReadFileBytes(testing::AssetPath(name));
  return it->second;
}

struct Rgb {
  int r, g, b;
};

Rgb DrawnPixel(int x, int y) {
  const TPixelView view = OffscreenCanvasDriver()->Pixels();
  const std::uint8_t* p = view.rgba + y * view.pitch + x * 4;
  return {p[0], p[1], p[2]};
}

int Difference(Rgb a, Rgb b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// The drawn display as a PNG file.
void WriteDrawn(const std::string& path) {
  const TPixelView view = OffscreenCanvasDriver()->Pixels();
  testing::PngPicture picture = testing::Picture(view.width, view.height, PNG_COLOR_TYPE_RGB);
  for (int y = 0; y < view.height; ++y) {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < view.width; ++x) {
      const Rgb p = DrawnPixel(x, y);
      row.insert(row.end(), {static_cast<std::uint8_t>(p.r), static_cast<std::uint8_t>(p.g),
                             static_cast<std::uint8_t>(p.b)});
    }
    picture.rows.push_back(row);
  }
  const std::vector<std::uint8_t> bytes = testing::EncodePng(picture);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

class PicturePixels : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasForTesting();
    ResetEmbeddedFilesForTesting();
    InitStreams();
    for (const char* name :
         {"gfx/v.png", "gfx/o.png", "gfx/k.png", "gfx/scrollborders.png", "gfx/logo.png",
          "gfx/infopad.png", "fonts/HoboStd.otf", "fonts/Erika_Ormig.ttf"}) {
      const std::vector<std::uint8_t>& bytes = AssetBytes(name);
      ASSERT_FALSE(bytes.empty()) << name;
      RegisterEmbeddedFile(Utf8ToUtf16(name), bytes.data(),
                           static_cast<std::int32_t>(bytes.size()));
    }
    SetGraphicsDriver(OffscreenCanvasDriver(), kGraphicsBackBuffer);
  }
  void TearDown() override {
    ResetCanvasForTesting();
    ResetEmbeddedFilesForTesting();
  }

  // Opens a display, clears it and sets the blending the program draws with.
  void Open(int width, int height, Rgb clear) {
    ASSERT_TRUE(Graphics(width, height, 0, 0, 0));
    SetClsColor(clear.r, clear.g, clear.b);
    Cls();
    SetBlend(kBlendAlpha);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
  }

  // Checks the display against `image` drawn at (x, y) over the clear colour. Drawn
  // untransformed at whole pixels, each texel lands on one pixel, so the only error is the
  // rounding of the blend: 1.
  void ExpectPictureAt(const TImage& image, int x0, int y0, const std::string& name) {
    const TPixmap& pixmap = *const_cast<TImage&>(image).Lock(0, true, false);
    const TPixelView view = OffscreenCanvasDriver()->Pixels();
    int wrong = 0;
    for (int y = 0; y < view.height; ++y) {
      for (int x = 0; x < view.width; ++x) {
        Rgb expected = {kClsRed, kClsGreen, kClsBlue};
        if (x >= x0 && y >= y0 && x < x0 + image.width && y < y0 + image.height) {
          std::uint8_t rgba[4];
          pixmap.ReadRgba(x - x0, y - y0, rgba);
          const float a = rgba[3] / 255.0f;
          expected = {static_cast<int>(rgba[0] * a + kClsRed * (1 - a) + 0.5f),
                      static_cast<int>(rgba[1] * a + kClsGreen * (1 - a) + 0.5f),
                      static_cast<int>(rgba[2] * a + kClsBlue * (1 - a) + 0.5f)};
        }
        if (Difference(DrawnPixel(x, y), expected) > 1 && wrong++ < 5) {
          ADD_FAILURE() << name << " differs at " << x << "," << y;
        }
      }
    }
    if (wrong != 0) WriteDrawn(name + ".actual.png");
    EXPECT_EQ(wrong, 0) << name;
  }

  // Checks the display against reference/NAME.png; a tolerance of 2 covers rounding in the
  // filtering and blending of the soft glyph edges.
  void ExpectReference(const std::string& name) {
    const std::string path = testing::TestDataPath("reference/" + name + ".png");
    auto reference = LoadPixmap(Utf8ToUtf16(path));
    const TPixelView view = OffscreenCanvasDriver()->Pixels();
    int wrong = 0;
    if (!reference || reference->width != view.width || reference->height != view.height) {
      ADD_FAILURE() << "no reference of the drawn size for " << name;
      wrong = 1;
    } else {
      for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
          std::uint8_t rgba[4];
          reference->ReadRgba(x, y, rgba);
          if (Difference(DrawnPixel(x, y), {rgba[0], rgba[1], rgba[2]}) > 2 && wrong++ < 5) {
            ADD_FAILURE() << name << " differs at " << x << "," << y;
          }
        }
      }
    }
    if (wrong != 0) WriteDrawn(testing::TestDataPath("reference/" + name + ".actual.png"));
    EXPECT_EQ(wrong, 0) << name;
  }
};

TEST_F(PicturePixels, EmbeddedPicturesLandTexelForPixel) {
  for (const char* name : {"v", "o", "k", "scrollborders", "logo", "infopad"}) {
    SCOPED_TRACE(name);
    auto image = LoadImage(u"incbin::gfx/" + Utf8ToUtf16(name) + u".png", -1);
    ASSERT_TRUE(image);
    Open(image->width + 5, image->height + 3, {kClsRed, kClsGreen, kClsBlue});
    DrawImage(image, 2, 1, 0);
    ExpectPictureAt(*image, 2, 1, name);
  }
}

TEST_F(PicturePixels, PictureIsDrawnAgainAfterTheDisplayChanges) {
  auto image = LoadImage(u"incbin::gfx/k.png", -1);
  ASSERT_TRUE(image);
  Open(160, 140, {kClsRed, kClsGreen, kClsBlue});
  DrawImage(image, 10, 10, 0);
  const int firstSeq = image->seqs[0];
  EXPECT_NE(firstSeq, 0);

  // A new display: the old texture belongs to the old one and is made again on first draw.
  Open(150, 130, {kClsRed, kClsGreen, kClsBlue});
  DrawImage(image, 3, 4, 0);
  EXPECT_NE(image->seqs[0], firstSeq);
  ExpectPictureAt(*image, 3, 4, "k-again");
}

struct TextCase {
  const char16_t* url;  // null for the built-in font
  int size;             // pixels
  std::u16string text;
  std::string reference;
};

TEST_F(PicturePixels, TextInTheEmbeddedAndBuiltInFonts) {
  const TextCase cases[] = {
      {u"incbin::fonts/HoboStd.otf", 24, u"Music Collection #1 \u00c5\u00f8", "hobo24"},
      {u"incbin::fonts/Erika_Ormig.ttf", 82, u"g\u00c5", "erika82"},
      {u"incbin::fonts/Erika_Ormig.ttf", 40, u"Loading... \u00d8", "erika40"},
      {nullptr, 0, u"Hello, World! {0123~}", "default16"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.reference);
    std::shared_ptr<TImageFont> font = DefaultImageFont();
    if (c.url != nullptr) {
      font = LoadImageFont(c.url, c.size, kFontSmooth);
      ASSERT_TRUE(font);
    }
    // The display is the text's size with a margin of 4. The font is selected once the
    // display is open: opening one starts from the built-in font.
    Open(font->TextWidth(c.text) + 8, font->Height() + 8, {0, 0, 0});
    SetImageFont(font);
    DrawText(c.text, 4, 4);
    ExpectReference(c.reference);
  }
}

}  // namespace
}  // namespace media
