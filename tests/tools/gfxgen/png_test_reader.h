// Reads PNG bytes back with libpng for the tests: the header facts, the palette, the chunk
// names in file order, and the pixels expanded to 8-bit RGBA.
#pragma once

#include <string>
#include <vector>

#include "tools/gfxgen/image.h"
#include "tools/gfxgen/png_writer.h"

namespace gfxgen::test {

struct DecodedPng {
  int colourType = -1;
  int bitDepth = 0;
  bool interlaced = false;
  std::vector<Rgb> palette;
  std::vector<std::string> chunks;
  Image pixels;  // RGBA; palette pictures expanded
};

// Fails the running test (and returns an empty result) if the bytes are not a valid PNG.
DecodedPng decodePng(const Bytes& bytes);

}  // namespace gfxgen::test
