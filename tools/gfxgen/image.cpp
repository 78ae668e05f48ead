#include "tools/gfxgen/image.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace gfxgen {

IndexedImage toIndexed(const Image& opaque, std::size_t maxColours) {
  IndexedImage out;
  out.width = opaque.width;
  out.height = opaque.height;
  out.index.reserve(std::size_t(opaque.width) * opaque.height);
  for (int y = 0; y < opaque.height; ++y) {
    for (int x = 0; x < opaque.width; ++x) {
      const std::uint8_t* p = opaque.pixel(x, y);
      if (p[3] != 255) throw std::invalid_argument("palette picture with a translucent pixel");
      const Rgb colour{p[0], p[1], p[2]};
      auto found = std::find(out.palette.begin(), out.palette.end(), colour);
      if (found == out.palette.end()) {
        if (out.palette.size() == maxColours) {
          throw std::invalid_argument("picture has more than " + std::to_string(maxColours) +
                                      " colours");
        }
        found = out.palette.insert(out.palette.end(), colour);
      }
      out.index.push_back(static_cast<std::uint8_t>(found - out.palette.begin()));
    }
  }
  return out;
}

}  // namespace gfxgen
