#include "bench/draw2d/disk_frame_scene.h"

#include <algorithm>
#include <cstdint>

#include "media/draw2d/canvas.h"
#include "media/draw2d/pixmap.h"

namespace bench {

namespace {

using media::TImage;
using media::TPixmap;

// A picture with colour everywhere and alpha falling off towards its edges, like the
// disk's anti-aliased artwork.
std::shared_ptr<TImage> Artwork(int width, int height, bool withAlpha) {
  auto pixmap = TPixmap::Create(
      width, height, withAlpha ? media::kPixelFormatRGBA8888 : media::kPixelFormatRGB888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
      const std::uint8_t rgba[4] = {static_cast<std::uint8_t>(x * 3),
                                    static_cast<std::uint8_t>(y * 5),
                                    static_cast<std::uint8_t>(x + y),
                                    static_cast<std::uint8_t>(std::min(255, 40 + edge * 12))};
      pixmap->WriteRgba(x, y, rgba);
    }
  }
  return TImage::Load(pixmap, media::kDefaultImageFlags, 0, 0, 0);
}

// A glyph as the image fonts make them: coverage only, filtered and mipmapped.
std::shared_ptr<TImage> Glyph(int seed) {
  auto pixmap = TPixmap::Create(40, 50, media::kPixelFormatA8);
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool stroke = (x + seed) % 9 < 4 || (y + seed) % 13 < 3;
      *pixmap->PixelPtr(x, y) = stroke ? 255 : ((x * y + seed) % 7 == 0 ? 96 : 0);
    }
  }
  return TImage::Load(pixmap, media::kImageFiltered | media::kImageMipmapped, 0, 0, 0);
}

}  // namespace

DiskFrameScene::DiskFrameScene()
    : letters_{Artwork(145, 125, true), Artwork(145, 125, true), Artwork(145, 125, true)},
      band_(Artwork(800, 74, false)),
      pad_(Artwork(491, 465, true)),
      logo_(Artwork(746, 216, true)) {
  for (int i = 0; i < 12; ++i) glyphs_.push_back(Glyph(i));
}

void DiskFrameScene::Draw(float scroll) const {
  media::SetClsColor(177, 142, 130);
  media::Cls();
  media::SetBlend(media::kBlendAlpha);
  media::SetColor(255, 255, 255);
  media::SetAlpha(0.1f);
  for (int i = 0; i < 3; ++i) media::DrawImage(letters_[i], 180.0f + i * 160.0f, 250.0f, 0);
  media::SetAlpha(1.0f);
  media::DrawImage(band_, 0.0f, 520.0f, 0);
  media::SetAlpha(0.6f);
  media::DrawImage(pad_, 300.0f, 40.0f, 0);
  media::SetAlpha(0.9f);
  media::DrawImage(logo_, 27.0f, 10.0f, 0);
  media::SetAlpha(1.0f);
  media::SetColor(40, 30, 20);
  // Two lines of panel text at whole pixels, one line of scroll text in between.
  for (int i = 0; i < 20; ++i) media::DrawImage(glyphs_[i % 12], 320.0f + i * 22.0f, 300.0f, 0);
  for (int i = 0; i < 20; ++i) {
    media::DrawImage(glyphs_[(i + 5) % 12], 320.0f + i * 22.0f, 420.0f, 0);
  }
  for (int i = 0; i < 20; ++i) {
    media::DrawImage(glyphs_[(i + 3) % 12], 10.0f + i * 38.0f - scroll, 532.0f, 0);
  }
}

float DiskFrameScene::Advance(float scroll) {
  scroll += 1.37f;
  return scroll > 38.0f ? scroll - 38.0f : scroll;
}

}  // namespace bench
