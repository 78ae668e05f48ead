// Pixel containers the generator writes out: 8-bit RGBA pictures and palette pictures.
// Depends on: nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfxgen {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Straight (not premultiplied) alpha, four bytes per pixel, rows top to bottom.
struct Image {
  Image() = default;
  Image(int width, int height)
      : width(width), height(height), rgba(std::size_t(width) * height * 4) {}

  std::uint8_t* pixel(int x, int y) { return &rgba[(std::size_t(y) * width + x) * 4]; }
  const std::uint8_t* pixel(int x, int y) const { return &rgba[(std::size_t(y) * width + x) * 4]; }

  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// One palette index per pixel.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> index;
  std::vector<Rgb> palette;
};

// Turns an opaque picture into a palette picture whose palette lists its colours in the order
// they first appear. Throws std::invalid_argument if a pixel is not opaque or the picture has
// more than `maxColours` colours.
IndexedImage toIndexed(const Image& opaque, std::size_t maxColours);

}  // namespace gfxgen
