#include "canvas_test_scenes.h"

#include <memory>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/image.h"

namespace media::testing {

namespace {

std::shared_ptr<TImage> ImageOf(const std::shared_ptr<TPixmap>& pixmap, int flags) {
  return TImage::Load(pixmap, flags, 0, 0, 0);
}

// Every texel different from its neighbours, so a texel off by one shows.
Rgba Pattern(int x, int y) {
  return {(x * 7 + y) & 255, (y * 13) & 255, ((x + y) * 5) & 255, 255};
}

// Smooth gradients with alpha rising to the right.
Rgba TranslucentGradient(int x, int y) {
  return {(x * 9) & 255, 255 - ((y * 11) & 255), 120, (x * 255) / 31};
}

void OpaqueNearest() {
  SetClsColor(177, 142, 130);
  Cls();
  DrawImage(ImageOf(MakePixmap(145, 125, Pattern), 0), 10.0f, 20.0f, 0);
  // Holes: mask mode leaves the background where alpha is below 128.
  auto holes = ImageOf(MakePixmap(40, 30,
                                  [](int x, int y) {
                                    return Rgba{255, x * 6, y * 8, (x + y) % 3 == 0 ? 127 : 128};
                                  }),
                       0);
  DrawImage(holes, 200.0f, 20.0f, 0);
  SetBlend(kBlendSolid);
  DrawImage(holes, 260.0f, 20.0f, 0);
  SetColor(255, 255, 255);
  DrawImage(ImageOf(MakePixmap(1, 1,
                               [](int, int) {
                                 return Rgba{9, 8, 7, 255};
                               }),
                    0),
            799.0f, 599.0f, 0);
}

void OpaqueFilteredAtWholePixels() {
  SetClsColor(20, 30, 40);
  Cls();
  // 1:1 at whole pixels samples texel centres: filtering changes nothing, and the smeared
  // column and row beyond the picture are never reached.
  DrawImage(ImageOf(MakePixmap(145, 125, Pattern), kDefaultImageFlags), 10.0f, 20.0f, 0);
  DrawImage(ImageOf(MakePixmap(33, 17, Pattern), kDefaultImageFlags), 400.0f, 300.0f, 0);
}

void BlendModes() {
  SetClsColor(0, 0, 0);
  Cls();
  SetBlend(kBlendSolid);
  // A varied background for every mode to act on.
  DrawImage(ImageOf(MakePixmap(256, 64,
                               [](int x, int y) {
                                 return Rgba{x, y * 4, 255 - x, 255};
                               }),
                    0),
            0.0f, 0.0f, 0);
  auto translucent = ImageOf(MakePixmap(32, 32, TranslucentGradient), 0);
  for (int mode = kBlendMask; mode <= kBlendShade; ++mode) {
    SetBlend(mode);
    const float x = static_cast<float>((mode - 1) * 48);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    DrawImage(translucent, x, 0.0f, 0);
    SetColor(200, 150, 100);
    SetAlpha(0.7f);
    DrawImage(translucent, x + 8.0f, 30.0f, 0);
  }
}

void FilteredAtFractionalPositions() {
  SetClsColor(60, 60, 60);
  Cls();
  SetBlend(kBlendAlpha);
  auto picture = ImageOf(MakePixmap(64, 48, Pattern), kDefaultImageFlags);
  DrawImage(picture, 20.25f, 30.75f, 0);
  DrawImage(picture, 200.5f, 30.5f, 0);
  SetScale(1.5f, 1.5f);
  DrawImage(picture, 400.3f, 50.6f, 0);
  SetScale(0.75f, 0.75f);
  DrawImage(picture, 20.0f, 200.0f, 0);
}

void TransformedNearest() {
  SetClsColor(0, 0, 80);
  Cls();
  auto picture = ImageOf(MakePixmap(20, 10, Pattern), 0);
  SetScale(2.0f, 2.0f);
  DrawImage(picture, 10.0f, 10.0f, 0);
  SetScale(1.0f, 1.0f);
  SetRotation(90.0f);
  DrawImage(picture, 300.0f, 20.0f, 0);
  SetRotation(180.0f);
  DrawImage(picture, 400.0f, 100.0f, 0);
  SetRotation(0.0f);
  SetScale(-1.0f, 1.0f);
  DrawImage(picture, 500.0f, 20.0f, 0);
}

void MipmappedMinified() {
  SetClsColor(0, 0, 0);
  Cls();
  auto gradient = [](int x, int y) { return Rgba{x * 4, y * 4, 255 - x * 2, 255}; };
  auto mipmapped = ImageOf(MakePixmap(64, 64, gradient), kImageFiltered | kImageMipmapped);
  SetScale(0.5f, 0.5f);
  DrawImage(mipmapped, 10.0f, 10.0f, 0);
  SetScale(0.25f, 0.25f);
  DrawImage(mipmapped, 60.0f, 10.0f, 0);
  SetScale(1.0f, 1.0f);
  DrawImage(mipmapped, 100.0f, 10.0f, 0);
}

void GlyphLike() {
  SetClsColor(177, 142, 130);
  Cls();
  SetBlend(kBlendAlpha);
  SetColor(255, 255, 0);
  SetAlpha(0.9f);
  // Coverage-only glyph pictures as the image fonts make them: white, alpha from coverage,
  // filtered and mipmapped, drawn at the fractional pen positions of moving text.
  auto coverage = TPixmap::Create(12, 16, kPixelFormatA8);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 12; ++x)
      *coverage->PixelPtr(x, y) = static_cast<std::uint8_t>((x * 23 + y * 17) % 256);
  }
  auto glyph = ImageOf(coverage, kImageFiltered | kImageMipmapped);
  for (int i = 0; i < 20; ++i) DrawImage(glyph, 10.0f + i * 13.37f, 100.0f + i * 0.3f, 0);
}

void UntexturedShapes() {
  SetClsColor(10, 10, 10);
  Cls();
  SetColor(250, 100, 50);
  DrawRect(5.0f, 5.0f, 100.0f, 50.0f);
  SetBlend(kBlendAlpha);
  SetAlpha(0.5f);
  SetColor(20, 200, 220);
  DrawRect(50.0f, 30.0f, 100.0f, 60.0f);
}

}  // namespace

const std::vector<CanvasScene>& CanvasScenes() {
  static const std::vector<CanvasScene> scenes = {
      {"opaque_nearest", 0, "texels copied as they are", OpaqueNearest},
      {"opaque_filtered_whole_pixels", 0, "bilinear at texel centres is the texel",
       OpaqueFilteredAtWholePixels},
      {"blend_modes", 2,
       "modulation and blending round once per step here and in fixed point on the device",
       BlendModes},
      {"filtered_fractional", 3,
       "bilinear weights: 1/256 steps here, the device's own sub-texel precision",
       FilteredAtFractionalPositions},
      {"transformed_nearest", 0, "exact scales and quarter turns map texels exactly",
       TransformedNearest},
      {"mipmapped_minified", 2, "the same mip level, filtered with different weight precision",
       MipmappedMinified},
      {"glyph_like", 3, "filtered coverage at fractional positions, blended", GlyphLike},
      {"untextured_shapes", 2, "alpha blending of the draw colour", UntexturedShapes},
  };
  return scenes;
}

}  // namespace media::testing
