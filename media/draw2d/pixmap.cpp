// Pixmaps: creation, copies and format conversion through the RGBA table of the formats.
#include "media/draw2d/pixmap.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace media {

int BytesPerPixel(int format) {
  switch (format) {
    case kPixelFormatI8:
    case kPixelFormatA8:
      return 1;
    case kPixelFormatBGR888:
    case kPixelFormatRGB888:
      return 3;
    case kPixelFormatBGRA8888:
    case kPixelFormatRGBA8888:
      return 4;
    default:
      return 0;
  }
}

bool FormatHasAlpha(int format) {
  return format == kPixelFormatA8 || format == kPixelFormatBGRA8888 ||
         format == kPixelFormatRGBA8888;
}

std::shared_ptr<TPixmap> TPixmap::Create(int width, int height, int format, int align) {
  const int bpp = BytesPerPixel(format);
  if (bpp == 0 || width < 0 || height < 0) return nullptr;
  if (align < 1) align = 1;
  // Sizes come from file headers: do the arithmetic wide and refuse what an int cannot index.
  const long long rowBytes = static_cast<long long>(width) * bpp;
  const long long pitch = (rowBytes + align - 1) / align * align;
  const long long bytes = pitch * height;
  if (pitch > INT_MAX || bytes > INT_MAX) return nullptr;

  auto pixmap = std::make_shared<TPixmap>();
  pixmap->storage_.assign(static_cast<size_t>(bytes), 0);
  pixmap->pixels = pixmap->storage_.data();
  pixmap->width = width;
  pixmap->height = height;
  pixmap->pitch = static_cast<int>(pitch);
  pixmap->format = format;
  pixmap->capacity = static_cast<int>(bytes);
  return pixmap;
}

std::shared_ptr<TPixmap> TPixmap::CreateStatic(void* pixels, int width, int height, int pitch,
                                               int format) {
  if (BytesPerPixel(format) == 0 || width < 0 || height < 0) return nullptr;
  auto pixmap = std::make_shared<TPixmap>();
  pixmap->pixels = static_cast<std::uint8_t*>(pixels);
  pixmap->width = width;
  pixmap->height = height;
  pixmap->pitch = pitch;
  pixmap->format = format;
  pixmap->capacity = -1;
  return pixmap;
}

std::shared_ptr<TPixmap> TPixmap::Copy() const {
  auto copy = Create(width, height, format);
  if (!copy) return nullptr;
  const size_t rowBytes = static_cast<size_t>(width) * BytesPerPixel(format);
  for (int y = 0; y < height && rowBytes != 0; ++y) {
    std::memcpy(copy->PixelPtr(0, y), PixelPtr(0, y), rowBytes);
  }
  return copy;
}

void TPixmap::Paste(const TPixmap& source, int x, int y) {
  // Clip the source rectangle to this pixmap.
  const int x0 = std::max(0, -x);
  const int y0 = std::max(0, -y);
  const int x1 = std::min(source.width, width - x);
  const int y1 = std::min(source.height, height - y);
  if (x0 >= x1 || y0 >= y1) return;

  if (source.format == format) {
    const size_t rowBytes = static_cast<size_t>(x1 - x0) * BytesPerPixel(format);
    for (int sy = y0; sy < y1; ++sy) {
      std::memmove(PixelPtr(x + x0, y + sy), source.PixelPtr(x0, sy), rowBytes);
    }
    return;
  }
  std::uint8_t rgba[4];
  for (int sy = y0; sy < y1; ++sy) {
    for (int sx = x0; sx < x1; ++sx) {
      source.ReadRgba(sx, sy, rgba);
      WriteRgba(x + sx, y + sy, rgba);
    }
  }
}

std::shared_ptr<TPixmap> TPixmap::Convert(int newFormat) const {
  auto converted = Create(width, height, newFormat);
  if (converted) converted->Paste(*this, 0, 0);
  return converted;
}

void TPixmap::ReadRgba(int x, int y, std::uint8_t rgba[4]) const {
  const std::uint8_t* p = PixelPtr(x, y);
  switch (format) {
    case kPixelFormatI8:
      rgba[0] = rgba[1] = rgba[2] = p[0];
      rgba[3] = 255;
      break;
    case kPixelFormatA8:
      rgba[0] = rgba[1] = rgba[2] = 255;
      rgba[3] = p[0];
      break;
    case kPixelFormatBGR888:
      rgba[0] = p[2];
      rgba[1] = p[1];
      rgba[2] = p[0];
      rgba[3] = 255;
      break;
    case kPixelFormatRGB888:
      rgba[0] = p[0];
      rgba[1] = p[1];
      rgba[2] = p[2];
      rgba[3] = 255;
      break;
    case kPixelFormatBGRA8888:
      rgba[0] = p[2];
      rgba[1] = p[1];
      rgba[2] = p[0];
      rgba[3] = p[3];
      break;
    case kPixelFormatRGBA8888:
      std::memcpy(rgba, p, 4);
      break;
    default:
      std::memset(rgba, 0, 4);
      break;
  }
}

void TPixmap::WriteRgba(int x, int y, const std::uint8_t rgba[4]) {
  std::uint8_t* p = PixelPtr(x, y);
  switch (format) {
    case kPixelFormatI8:
      // Grey is the plain mean of the three channels.
      p[0] = static_cast<std::uint8_t>((rgba[0] + rgba[1] + rgba[2]) / 3);
      break;
    case kPixelFormatA8:
      p[0] = rgba[3];
      break;
    case kPixelFormatBGR888:
      p[0] = rgba[2];
      p[1] = rgba[1];
      p[2] = rgba[0];
      break;
    case kPixelFormatRGB888:
      std::memcpy(p, rgba, 3);
      break;
    case kPixelFormatBGRA8888:
      p[0] = rgba[2];
      p[1] = rgba[1];
      p[2] = rgba[0];
      p[3] = rgba[3];
      break;
    case kPixelFormatRGBA8888:
      std::memcpy(p, rgba, 4);
      break;
    default:
      break;
  }
}

}  // namespace media
