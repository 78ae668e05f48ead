// Images: one or more pixmap frames with their driver textures, made on first draw and
// made again when the display changes.
// Depends on: pixmap.h, canvas_driver.h (textures), the pixmap loaders.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "media/draw2d/pixmap.h"

namespace media {

class TImageFrame;

enum ImageFlags : int {
  kImageMasked = 1,     // pixels of the mask colour become transparent (pixmaps without alpha)
  kImageFiltered = 2,   // bilinear filtering; otherwise nearest texel
  kImageMipmapped = 4,  // a full mip chain
};
constexpr int kDefaultImageFlags = kImageMasked | kImageFiltered;
// LoadImage's `flags` that stand for kDefaultImageFlags.
constexpr int kUseDefaultImageFlags = -1;

class TImage {
 public:
  int width = 0;  // size of the frames' pixmaps in pixels
  int height = 0;
  // Pixmap pixels per picture pixel. Above 1 for an image made finer than it is drawn (the
  // glyphs of a font on a display with more pixels than the picture): it is drawn
  // width / pixel_scale picture pixels wide, its pixels smaller than the picture's.
  float pixel_scale = 1.0f;
  int flags = 0;
  int mask_r = 0, mask_g = 0, mask_b = 0;
  float handle_x = 0.0f, handle_y = 0.0f;
  std::vector<std::shared_ptr<TPixmap>> pixmaps;     // one per frame
  std::vector<std::shared_ptr<TImageFrame>> frames;  // driver textures, made lazily
  std::vector<int> seqs;  // display sequence number of each texture; 0 = none

  // The size the image is drawn at, in picture pixels.
  float DrawnWidth() const { return static_cast<float>(width) / pixel_scale; }
  float DrawnHeight() const { return static_cast<float>(height) / pixel_scale; }

  static std::shared_ptr<TImage> Create(int width, int height, int frameCount, int flags, int maskR,
                                        int maskG, int maskB);
  static std::shared_ptr<TImage> Load(std::u16string_view url, int flags, int maskR, int maskG,
                                      int maskB);
  static std::shared_ptr<TImage> Load(std::shared_ptr<TPixmap> pixmap, int flags, int maskR,
                                      int maskG, int maskB);

  // The texture of frame `index` for the current display, made on demand; null when there is
  // none (no display, or the driver could not make one).
  TImageFrame* Frame(int index);
  // The pixmap of frame `index`; a write lock drops the texture so it is made again.
  std::shared_ptr<TPixmap> Lock(int index, bool read, bool write);
  // Stores `pixmap` as frame `index`, masked when the flags ask for it and it has no alpha.
  void SetPixmap(int index, std::shared_ptr<TPixmap> pixmap);
};

// Loads a picture from `url`; kUseDefaultImageFlags gives kDefaultImageFlags. Mask black.
std::shared_ptr<TImage> LoadImage(std::u16string_view url, int flags);

// Loads a pixmap from `url` through the pixmap loaders (PNG). Null when none accepts it.
std::shared_ptr<TPixmap> LoadPixmap(std::u16string_view url);

}  // namespace media
