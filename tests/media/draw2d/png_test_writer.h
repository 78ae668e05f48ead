// Writes PNG files into memory with libpng, so the loader tests can make exactly the
// pictures they need: any colour type, bit depth, palette, transparency chunk or interlacing.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace media::testing {

struct PngPicture {
  int width = 1;
  int height = 1;
  int colorType = 6;  // a PNG_COLOR_TYPE_* value
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::uint8_t> palette;  // R, G, B per entry, for palette pictures
  std::vector<std::uint8_t> trns;     // the tRNS chunk's body as libpng takes it (see below)
  // Packed rows as they go into the file (16-bit samples big-endian).
  std::vector<std::vector<std::uint8_t>> rows;
};

inline PngPicture Picture(int width, int height, int colorType, int bitDepth = 8) {
  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.colorType = colorType;
  picture.bitDepth = bitDepth;
  return picture;
}

// Encodes `picture`. For palette pictures `trns` holds one alpha per palette entry; for grey
// and RGB pictures it holds the transparent colour as 16-bit big-endian samples.
std::vector<std::uint8_t> EncodePng(const PngPicture& picture);

// A well-formed PNG whose IHDR claims the given header and whose only IDAT chunk is empty:
// a decoder gets through the header to the pixels and finds none.
std::vector<std::uint8_t> PngWithoutPixels(std::uint32_t width, std::uint32_t height, int bitDepth,
                                           int colorType);

// One 8-bit RGBA row from RGBA quadruples.
std::vector<std::uint8_t> RgbaRow(std::initializer_list<std::uint32_t> pixels);

}  // namespace media::testing
