#include "png_test_reader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

namespace gfxgen::test {
namespace {

struct Source {
  const Bytes* bytes;
  std::size_t offset;
};

void readBytes(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (source->offset + length > source->bytes->size()) png_error(png, "read past the end");
  std::memcpy(out, source->bytes->data() + source->offset, length);
  source->offset += length;
}

std::uint32_t bigEndian(const Bytes& b, std::size_t at) {
  return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 |
         std::uint32_t(b[at + 2]) << 8 | std::uint32_t(b[at + 3]);
}

std::vector<std::string> chunkNames(const Bytes& bytes) {
  std::vector<std::string> names;
  std::size_t at = 8;
  while (at + 8 <= bytes.size()) {
    names.emplace_back(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
    at += 12 + bigEndian(bytes, at);
  }
  EXPECT_EQ(at, bytes.size()) << "chunks do not end at the end of the file";
  return names;
}

bool decodeInto(const Bytes& bytes, DecodedPng& out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  Source source{&bytes, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &source, readBytes);
  png_read_info(png, info);
  out.colourType = png_get_color_type(png, info);
  out.bitDepth = png_get_bit_depth(png, info);
  out.interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
  png_colorp palette = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &palette, &count) != 0) {
    for (int i = 0; i < count; ++i)
      out.palette.push_back({palette[i].red, palette[i].green, palette[i].blue});
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out.pixels = Image(int(png_get_image_width(png, info)), int(png_get_image_height(png, info)));
  for (int y = 0; y < out.pixels.height; ++y) rows.push_back(out.pixels.pixel(0, y));
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

DecodedPng decodePng(const Bytes& bytes) {
  DecodedPng out;
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) {
    ADD_FAILURE() << "no PNG signature";
    return {};
  }
  if (!decodeInto(bytes, out)) {
    ADD_FAILURE() << "libpng could not read the picture back";
    return {};
  }
  out.chunks = chunkNames(bytes);
  return out;
}

}  // namespace gfxgen::test
