// Images: frames of pixmaps, masking of pictures without alpha, textures made on first draw.
#include "media/draw2d/image.h"

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/pixmap_loader.h"

namespace media {

namespace {

bool IsMaskColor(const std::uint8_t rgba[4], int r, int g, int b) {
  return rgba[0] == r && rgba[1] == g && rgba[2] == b;
}

// A format-6 copy in which the mask colour is transparent. A masked pixel takes the mean
// colour of its unmasked neighbours, so a filtered edge blends towards the picture and not
// towards the mask colour.
std::shared_ptr<TPixmap> MaskedCopy(const TPixmap& source, int r, int g, int b) {
  auto masked = TPixmap::Create(source.width, source.height, kPixelFormatRGBA8888);
  if (!masked) return nullptr;
  std::uint8_t rgba[4];
  std::uint8_t neighbour[4];
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < source.width; ++x) {
      source.ReadRgba(x, y, rgba);
      if (!IsMaskColor(rgba, r, g, b)) {
        rgba[3] = 255;
        masked->WriteRgba(x, y, rgba);
        continue;
      }
      int sum[3] = {0, 0, 0};
      int count = 0;
      for (int ny = y - 1; ny <= y + 1; ++ny) {
        for (int nx = x - 1; nx <= x + 1; ++nx) {
          if ((nx == x && ny == y) || nx < 0 || ny < 0 || nx >= source.width ||
              ny >= source.height) {
            continue;
          }
          source.ReadRgba(nx, ny, neighbour);
          if (IsMaskColor(neighbour, r, g, b)) continue;
          for (int c = 0; c < 3; ++c) sum[c] += neighbour[c];
          ++count;
        }
      }
      for (int c = 0; c < 3; ++c) {
        rgba[c] = static_cast<std::uint8_t>(count != 0 ? sum[c] / count : 0);
      }
      rgba[3] = 0;
      masked->WriteRgba(x, y, rgba);
    }
  }
  return masked;
}

bool ValidIndex(const TImage& image, int index) {
  return index >= 0 && static_cast<size_t>(index) < image.pixmaps.size();
}

}  // namespace

std::shared_ptr<TImage> TImage::Create(int width, int height, int frameCount, int flags, int maskR,
                                       int maskG, int maskB) {
  if (width < 0 || height < 0 || frameCount < 0) return nullptr;
  auto image = std::make_shared<TImage>();
  image->width = width;
  image->height = height;
  image->flags = flags;
  image->mask_r = maskR;
  image->mask_g = maskG;
  image->mask_b = maskB;
  image->pixmaps.resize(frameCount);
  image->frames.resize(frameCount);
  image->seqs.resize(frameCount, 0);
  return image;
}

std::shared_ptr<TImage> TImage::Load(std::u16string_view url, int flags, int maskR, int maskG,
                                     int maskB) {
  return Load(LoadPixmap(url), flags, maskR, maskG, maskB);
}

std::shared_ptr<TImage> TImage::Load(std::shared_ptr<TPixmap> pixmap, int flags, int maskR,
                                     int maskG, int maskB) {
  if (!pixmap) return nullptr;
  auto image = Create(pixmap->width, pixmap->height, 1, flags, maskR, maskG, maskB);
  image->SetPixmap(0, std::move(pixmap));
  return image;
}

TImageFrame* TImage::Frame(int index) {
  if (!ValidIndex(*this, index)) return nullptr;
  const int seq = GraphicsSeq();
  if (seqs[index] != seq) {
    const std::shared_ptr<TPixmap> pixmap = Lock(index, true, false);
    TCanvasDriver* driver = CurrentDriver();
    frames[index] =
        driver != nullptr && pixmap ? driver->CreateFrameFromPixmap(*pixmap, flags) : nullptr;
    // Without a texture the number stays 0, so the next draw tries again.
    seqs[index] = frames[index] ? seq : 0;
  }
  return frames[index].get();
}

std::shared_ptr<TPixmap> TImage::Lock(int index, bool /*read*/, bool write) {
  if (!ValidIndex(*this, index)) return nullptr;
  // A frame made by Create has no pixels until someone asks for them: then it is blank.
  if (!pixmaps[index]) pixmaps[index] = TPixmap::Create(width, height, kPixelFormatRGBA8888);
  if (write) {
    frames[index].reset();
    seqs[index] = 0;
  }
  return pixmaps[index];
}

void TImage::SetPixmap(int index, std::shared_ptr<TPixmap> pixmap) {
  if (!ValidIndex(*this, index)) return;
  if (pixmap && (flags & kImageMasked) != 0 && !FormatHasAlpha(pixmap->format)) {
    pixmap = MaskedCopy(*pixmap, mask_r, mask_g, mask_b);
  }
  pixmaps[index] = std::move(pixmap);
  frames[index].reset();
  seqs[index] = 0;
}

std::shared_ptr<TImage> LoadImage(std::u16string_view url, int flags) {
  if (flags == kUseDefaultImageFlags) flags = kDefaultImageFlags;
  // The mask colour is black; nothing in the program changes it.
  return TImage::Load(url, flags, 0, 0, 0);
}

}  // namespace media
