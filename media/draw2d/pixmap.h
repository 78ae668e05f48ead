// Pixmaps: pictures in memory, in one of six pixel formats.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace media {

enum PixelFormat : int {
  kPixelFormatI8 = 1,        // grey
  kPixelFormatA8 = 2,        // alpha only; white where drawn
  kPixelFormatBGR888 = 3,
  kPixelFormatRGB888 = 4,
  kPixelFormatBGRA8888 = 5,
  kPixelFormatRGBA8888 = 6,
};

// Bytes per pixel of `format` (0 for an unknown format).
int BytesPerPixel(int format);
// True for the formats that carry alpha (2, 5 and 6).
bool FormatHasAlpha(int format);

class TPixmap {
 public:
  std::uint8_t* pixels = nullptr;  // first byte of the first row
  int width = 0;
  int height = 0;
  int pitch = 0;                   // bytes per row
  int format = 0;
  int capacity = 0;                // bytes owned; -1 for a static pixmap over foreign memory

  // A new pixmap with rows aligned to `align` bytes, all bytes zero. Null when the size is
  // negative or the byte count does not fit.
  static std::shared_ptr<TPixmap> Create(int width, int height, int format, int align = 4);
  // A pixmap over memory the caller keeps alive.
  static std::shared_ptr<TPixmap> CreateStatic(void* pixels, int width, int height, int pitch,
                                               int format);

  std::uint8_t* PixelPtr(int x, int y) const { return pixels + y * pitch + x * BytesPerPixel(format); }
  // A pixmap of the same size and format with its own copy of the pixels.
  std::shared_ptr<TPixmap> Copy() const;
  // Copies `source` to (x, y), converting its format; pixels outside this pixmap are dropped.
  void Paste(const TPixmap& source, int x, int y);
  // A copy in `format`.
  std::shared_ptr<TPixmap> Convert(int format) const;

  // The pixel at (x, y) as RGBA bytes (the conversion table of the formats).
  void ReadRgba(int x, int y, std::uint8_t rgba[4]) const;
  void WriteRgba(int x, int y, const std::uint8_t rgba[4]);

 private:
  std::vector<std::uint8_t> storage_;
};

}  // namespace media
