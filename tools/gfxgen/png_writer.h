// PNG encoding with libpng into memory: 8-bit RGBA and palette pictures, plain or Adam7
// interlaced. Every encoding is tried with a few row filter choices and the
// smallest is kept; no time stamp or other varying chunk is written, so equal pictures give
// equal bytes.
// Depends on: libpng, image.h.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/gfxgen/image.h"

namespace gfxgen {

using Bytes = std::vector<std::uint8_t>;

Bytes encodePng(const Image& image, bool interlaced);

// Writes the palette as given (PLTE, no tRNS) at the smallest bit depth that holds it.
// The program's loader treats pure black as see-through, so a palette picture meant to be
// opaque must not contain it: throws std::invalid_argument for a black entry, more than
// `maxColours` entries, an empty palette or an index past its end.
Bytes encodePng(const IndexedImage& image, bool interlaced, std::size_t maxColours);

// Throws std::runtime_error if the file cannot be written completely.
void writeFile(const std::filesystem::path& file, const Bytes& bytes);

}  // namespace gfxgen
