#include "tools/gfxgen/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

namespace gfxgen {
namespace {

struct Layout {
  int width;
  int height;
  int colourType;
  int bitDepth;
  bool interlaced;
  const std::vector<png_color>* palette;  // null unless colourType is PNG_COLOR_TYPE_PALETTE
  std::vector<png_bytep> rows;            // one byte per sample, packed by libpng
};

struct Attempt {
  int filters;
  int strategy;
};

struct ErrorSlot {
  char message[200] = {};
};

[[noreturn]] void onError(png_structp png, png_const_charp message) {
  auto* slot = static_cast<ErrorSlot*>(png_get_error_ptr(png));
  std::snprintf(slot->message, sizeof slot->message, "%s", message);
  png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void onFlush(png_structp) {}

// One encoding. Everything with a destructor lives outside the setjmp scope.
void encodeOnce(const Layout& layout, const Attempt& attempt, Bytes& out, ErrorSlot& error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onError, onWarning);
  if (png == nullptr) throw std::runtime_error("libpng: out of memory");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error("libpng: out of memory");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error(std::string("libpng: ") + error.message);
  }
  png_set_write_fn(png, &out, onWrite, onFlush);
  png_set_compression_level(png, Z_BEST_COMPRESSION);
  png_set_compression_mem_level(png, 9);
  png_set_compression_strategy(png, attempt.strategy);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, attempt.filters);
  png_set_IHDR(png, info, png_uint_32(layout.width), png_uint_32(layout.height), layout.bitDepth,
               layout.colourType, layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  if (layout.palette != nullptr) {
    png_set_PLTE(png, info, layout.palette->data(), static_cast<int>(layout.palette->size()));
  }
  png_write_info(png, info);
  if (layout.bitDepth < 8) png_set_packing(png);
  if (layout.interlaced) png_set_interlace_handling(png);
  png_write_image(png, const_cast<png_bytepp>(layout.rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
}

Bytes encodeSmallest(const Layout& layout) {
  // Which filter packs best depends on the picture (unfiltered for flat areas and palettes,
  // "up" for smooth vertical shading); trying the few that ever win keeps the choice automatic.
  static constexpr std::array<Attempt, 4> kAttempts{{
      {PNG_FILTER_NONE, Z_DEFAULT_STRATEGY},
      {PNG_FILTER_UP, Z_DEFAULT_STRATEGY},
      {PNG_FILTER_SUB, Z_DEFAULT_STRATEGY},
      {PNG_ALL_FILTERS, Z_DEFAULT_STRATEGY},
  }};
  Bytes best;
  for (const Attempt& attempt : kAttempts) {
    Bytes out;
    ErrorSlot error;
    encodeOnce(layout, attempt, out, error);
    if (best.empty() || out.size() < best.size()) best = std::move(out);
  }
  return best;
}

int bitDepthFor(std::size_t colours) {
  if (colours <= 2) return 1;
  if (colours <= 4) return 2;
  if (colours <= 16) return 4;
  return 8;
}

void validatePalette(const IndexedImage& image, std::size_t maxColours) {
  if (image.palette.empty()) throw std::invalid_argument("empty palette");
  if (image.palette.size() > maxColours || image.palette.size() > 256) {
    throw std::invalid_argument("palette has " + std::to_string(image.palette.size()) +
                                " colours, more than " + std::to_string(maxColours));
  }
  for (const Rgb& c : image.palette) {
    if (c == Rgb{0, 0, 0}) throw std::invalid_argument("palette holds pure black");
  }
  if (image.index.size() != std::size_t(image.width) * image.height) {
    throw std::invalid_argument("index count does not match the picture size");
  }
  for (std::uint8_t i : image.index) {
    if (i >= image.palette.size()) throw std::invalid_argument("index past the palette's end");
  }
}

void requireSize(int width, int height) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("picture without pixels");
}

}  // namespace

Bytes encodePng(const Image& image, bool interlaced) {
  requireSize(image.width, image.height);
  if (image.rgba.size() != std::size_t(image.width) * image.height * 4) {
    throw std::invalid_argument("pixel count does not match the picture size");
  }
  Layout layout{image.width, image.height, PNG_COLOR_TYPE_RGBA, 8, interlaced, nullptr, {}};
  for (int y = 0; y < image.height; ++y) {
    layout.rows.push_back(const_cast<png_bytep>(image.pixel(0, y)));
  }
  return encodeSmallest(layout);
}

Bytes encodePng(const IndexedImage& image, bool interlaced, std::size_t maxColours) {
  requireSize(image.width, image.height);
  validatePalette(image, maxColours);
  std::vector<png_color> palette;
  for (const Rgb& c : image.palette) palette.push_back({c.r, c.g, c.b});
  Layout layout{image.width,
                image.height,
                PNG_COLOR_TYPE_PALETTE,
                bitDepthFor(palette.size()),
                interlaced,
                &palette,
                {}};
  for (int y = 0; y < image.height; ++y) {
    layout.rows.push_back(const_cast<png_bytep>(&image.index[std::size_t(y) * image.width]));
  }
  return encodeSmallest(layout);
}

void writeFile(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace gfxgen
