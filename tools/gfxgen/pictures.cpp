#include "tools/gfxgen/pictures.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "tools/gfxgen/mask.h"

namespace gfxgen {
namespace {

using namespace palette;

constexpr std::u32string_view kTag = U"VOK";

// ---- Background letters -------------------------------------------------------------------

constexpr double kLetterOutline = 4.0;  // pixels of red around the near-black shape

// One scale for all three letters, the largest at which each fits its frame with its outline.
double letterScale(const FontFace& font) {
  const double margin = kLetterOutline + 2.0;
  double scale = 1e9;
  for (char32_t c : kTag) {
    const Bounds b = font.glyph(c, Affine{}).bounds();
    scale = std::min({scale, (kLetterWidth - 2 * margin) / b.width(),
                      (kLetterHeight - 2 * margin) / b.height()});
  }
  return scale;
}

// ---- Lettering shared by the logo and the icon ------------------------------------------------

struct TagLayout {
  double tilt;   // degrees, clockwise on screen
  double raise;  // fraction of the cap height, upwards
};

// A little bounce in the word: each letter leans and sits at its own height.
constexpr std::array<TagLayout, 3> kTagLayout{{{-7.0, 0.02}, {4.0, -0.04}, {-4.0, 0.03}}};

Path unionOf(const std::vector<Path>& paths) {
  Path all;
  for (const Path& p : paths) all.append(p);
  return all;
}

// The tag's letters in pixel space, laid out side by side with overlapping outlines and fitted,
// centred, into the box.
std::vector<Path> layoutTag(const FontFace& font, const Bounds& box, double overlap) {
  const double capHeight = font.glyph(U'V', Affine{}).bounds().height();
  const double scale = 200.0 / capHeight;  // lay out at 200 px, then fit
  std::vector<Path> letters;
  double cursor = 0.0;
  for (std::size_t i = 0; i < kTag.size(); ++i) {
    const Bounds units = font.glyph(kTag[i], Affine{}).bounds();
    Affine centred =
        then(Affine::translate(-(units.minX + units.maxX) / 2, -(units.minY + units.maxY) / 2),
             Affine::scale(scale, -scale));
    centred = then(centred, Affine::rotateDegrees(kTagLayout[i].tilt));
    Path letter = font.glyph(kTag[i], centred);
    const Bounds b = letter.bounds();
    letter = letter.transformed(Affine::translate(cursor - b.minX, -kTagLayout[i].raise * 200.0));
    cursor += b.width() - overlap * 200.0;
    letters.push_back(std::move(letter));
  }
  const Bounds b = unionOf(letters).bounds();
  const double fit = std::min(box.width() / b.width(), box.height() / b.height());
  const Affine place =
      then(Affine::translate(-(b.minX + b.maxX) / 2, -(b.minY + b.maxY) / 2),
           then(Affine::scale(fit, fit),
                Affine::translate((box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2)));
  for (Path& p : letters) p = p.transformed(place);
  return letters;
}

// Pixels of `shape` whose pixel at (x - dx, y - dy) lies outside it: the rim along the edges
// that face against (dx, dy), so (0, n) gives the rims lit from above.
Mask rim(const Mask& shape, int dx, int dy) {
  return subtract(shape, shifted(shape, dx, dy));
}

struct LetteringStyle {
  double outer;  // dark outline, pixels
  double inner;  // light inline between outline and fill
  int shadowDx, shadowDy;
  double shadowBlur;
  int bevel;  // depth of the lit top and shaded bottom rims
};

// Stickers: a shared dark outline and drop shadow, then each letter with its own light inline,
// a red gradient body and bevelled rims, later letters overlapping earlier ones.
void paintLettering(Canvas& canvas, const std::vector<Path>& letters, const LetteringStyle& style) {
  const int w = canvas.width();
  const int h = canvas.height();
  const Mask all = fill(unionOf(letters), w, h);
  const Mask outline = dilate(all, style.outer);
  canvas.paint(blur(shifted(outline, style.shadowDx, style.shadowDy), style.shadowBlur),
               solid(kDarkBrown), 0.55);
  canvas.paint(outline, solid(kDarkBrown));
  for (const Path& letter : letters) {
    const Bounds b = letter.bounds();
    const Mask body = fill(letter, w, h);
    canvas.paint(dilate(body, style.inner), solid(kHighlight));
    canvas.paint(body, linearGradient({0, b.minY}, {0, b.maxY},
                                      {{0.0, kWarmRed}, {0.55, kOutlineRed}, {1.0, kDeepRed}}));
    canvas.paint(blur(rim(body, 0, style.bevel), 0.7), solid(kHighlight), 0.75);
    canvas.paint(blur(rim(body, 0, -style.bevel), 0.7), solid(kDarkBrown), 0.45);
  }
}

// A four-pointed twinkle with concave sides.
Path sparkle(Vec2 centre, double radius) {
  const Vec2 top{centre.x, centre.y - radius};
  const Vec2 right{centre.x + radius * 0.8, centre.y};
  const Vec2 bottom{centre.x, centre.y + radius};
  const Vec2 left{centre.x - radius * 0.8, centre.y};
  Path p;
  p.moveTo(top);
  p.quadTo(centre, right);
  p.quadTo(centre, bottom);
  p.quadTo(centre, left);
  p.quadTo(centre, top);
  p.close();
  return p;
}

void paintSparkles(Canvas& canvas, const std::vector<std::pair<Vec2, double>>& sparkles) {
  Path all;
  for (const auto& [centre, radius] : sparkles) all.append(sparkle(centre, radius));
  const Mask shape = fill(all, canvas.width(), canvas.height());
  canvas.paint(dilate(shape, 2.5), solid(kDarkBrown));
  canvas.paint(shape, solid(kHighlight));
}

}  // namespace

Image drawLetter(const FontFace& font, char32_t letter) {
  const double scale = letterScale(font);
  const Bounds b = font.glyph(letter, Affine{}).bounds();
  Affine toPixels = Affine::scale(scale, -scale);  // font units are y up
  toPixels.tx = kLetterWidth / 2.0 - scale * (b.minX + b.maxX) / 2.0;
  toPixels.ty = kLetterHeight / 2.0 + scale * (b.minY + b.maxY) / 2.0;

  const Mask shape = fill(font.glyph(letter, toPixels), kLetterWidth, kLetterHeight);
  Canvas canvas(kLetterWidth, kLetterHeight);
  canvas.paint(dilate(shape, kLetterOutline), solid(kOutlineRed));
  canvas.paint(shape, solid(kNearBlack));
  return canvas.toImage(kOutlineRed);
}

IndexedImage drawScrollBorders() {
  // Light rows catch the light along the top edge; the band darkens into a brown bottom row.
  auto rowColour = [](int y) -> Colour {
    if (y == 0) return kHighlight;
    if (y == 1) return kLightSalmon;
    if (y == kBandHeight - 3) return {212, 163, 147};
    if (y == kBandHeight - 2) return {172, 122, 106};
    if (y == kBandHeight - 1) return kDarkBrown;
    return kSalmon;
  };
  Image band(kBandWidth, kBandHeight);
  for (int y = 0; y < kBandHeight; ++y) {
    const Colour c = rowColour(y);
    for (int x = 0; x < kBandWidth; ++x) {
      std::uint8_t* p = band.pixel(x, y);
      p[0] = std::uint8_t(c.r);
      p[1] = std::uint8_t(c.g);
      p[2] = std::uint8_t(c.b);
      p[3] = 255;
    }
  }
  return toIndexed(band, kBandMaxColours);
}

Image drawInfoPad() {
  // A quarter-opaque salmon sheet whose last rows darken into a soft lower edge.
  struct Row {
    Colour colour;
    std::uint8_t alpha;
  };
  static constexpr std::array<Row, 4> kBottomRows{
      {{{208, 160, 144}, 80}, {{170, 122, 106}, 110}, {{128, 82, 68}, 150}, {kDarkBrown, 190}}};
  Image pad(kPadWidth, kPadHeight);
  for (int y = 0; y < kPadHeight; ++y) {
    const int fromBottom = kPadHeight - 1 - y;
    Row row{kSalmon, 64};
    if (fromBottom < int(kBottomRows.size()))
      row = kBottomRows[kBottomRows.size() - 1 - fromBottom];
    for (int x = 0; x < kPadWidth; ++x) {
      std::uint8_t* p = pad.pixel(x, y);
      p[0] = std::uint8_t(row.colour.r);
      p[1] = std::uint8_t(row.colour.g);
      p[2] = std::uint8_t(row.colour.b);
      p[3] = row.alpha;
    }
  }
  return pad;
}

Image drawLogo(const FontFace& font) {
  Canvas canvas(kLogoWidth, kLogoHeight);
  // Room above and below for the outline, and below for the shadow.
  const Bounds box{40, 16, 560, 180};
  const std::vector<Path> letters = layoutTag(font, box, 0.02);
  paintLettering(canvas, letters, {11.0, 6.0, 6, 8, 4.0, 3});
  paintSparkles(canvas, {{{600, 60}, 22}, {{650, 118}, 13}, {{596, 160}, 9}, {{30, 36}, 12}});
  return canvas.toImage(kDarkBrown);
}

Image drawIcon(const FontFace& font) {
  Canvas canvas(kIconSize, kIconSize);
  const Mask tile = fill(Path::roundedRect(8, 8, 240, 240, 48), kIconSize, kIconSize);
  canvas.paint(dilate(tile, 4.0), solid(kDarkBrown));
  canvas.paint(tile, linearGradient({0, 8}, {0, 248}, {{0.0, kLightSalmon}, {1.0, kScreenSalmon}}));
  const std::vector<Path> letters = layoutTag(font, {24, 62, 232, 190}, 0.02);
  paintLettering(canvas, letters, {6.0, 3.5, 3, 4, 2.5, 2});
  paintSparkles(canvas, {{{206, 44}, 14}, {{46, 212}, 9}});
  return canvas.toImage(kDarkBrown);
}

std::vector<PictureFile> makeAllPictures(const FontFace& font) {
  return {
      {"v.png", encodePng(drawLetter(font, U'V'), false)},
      {"o.png", encodePng(drawLetter(font, U'O'), true)},
      {"k.png", encodePng(drawLetter(font, U'K'), false)},
      {"scrollborders.png", encodePng(drawScrollBorders(), true, kBandMaxColours)},
      {"logo.png", encodePng(drawLogo(font), false)},
      {"infopad.png", encodePng(drawInfoPad(), false)},
      {"icon.png", encodePng(drawIcon(font), false)},
  };
}

}  // namespace gfxgen
