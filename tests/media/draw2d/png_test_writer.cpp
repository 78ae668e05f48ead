#include "png_test_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace media::testing {

namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp /*png*/) {}

// The setjmp target: nothing with a destructor lives in this frame.
bool WritePng(png_structp png, png_infop info, const PngPicture& picture, png_bytepp rows,
              png_colorp palette, int paletteSize, png_color_16* trnsColor) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
               static_cast<png_uint_32>(picture.height), picture.bitDepth, picture.colorType,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (paletteSize > 0) png_set_PLTE(png, info, palette, paletteSize);
  if (!picture.trns.empty()) {
    if (picture.colorType == PNG_COLOR_TYPE_PALETTE) {
      png_set_tRNS(png, info, picture.trns.data(), static_cast<int>(picture.trns.size()), nullptr);
    } else {
      png_set_tRNS(png, info, nullptr, 0, trnsColor);
    }
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

std::uint32_t Crc32(const std::uint8_t* data, size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(std::vector<std::uint8_t>& out, const char* type,
                 const std::vector<std::uint8_t>& body) {
  PutBigEndian(out, static_cast<std::uint32_t>(body.size()));
  std::vector<std::uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBigEndian(out, Crc32(typed.data(), typed.size()));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const PngPicture& picture) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendToVector, FlushNothing);

  std::vector<png_bytep> rows;
  for (const auto& row : picture.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  std::vector<png_color> palette;
  for (size_t i = 0; i + 2 < picture.palette.size(); i += 3) {
    palette.push_back({picture.palette[i], picture.palette[i + 1], picture.palette[i + 2]});
  }
  png_color_16 trnsColor{};
  if (picture.colorType != PNG_COLOR_TYPE_PALETTE && picture.trns.size() >= 2) {
    auto sample = [&](size_t i) {
      return static_cast<png_uint_16>(picture.trns[i] << 8 | picture.trns[i + 1]);
    };
    trnsColor.gray = sample(0);
    if (picture.trns.size() >= 6) {
      trnsColor.red = sample(0);
      trnsColor.green = sample(2);
      trnsColor.blue = sample(4);
    }
  }
  const bool ok = WritePng(png, info, picture, rows.data(), palette.data(),
                           static_cast<int>(palette.size()), &trnsColor);
  png_destroy_write_struct(&png, &info);
  if (!ok) throw std::runtime_error("test picture could not be written");
  return out;
}

std::vector<std::uint8_t> PngWithoutPixels(std::uint32_t width, std::uint32_t height, int bitDepth,
                                           int colorType) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header.push_back(static_cast<std::uint8_t>(bitDepth));
  header.push_back(static_cast<std::uint8_t>(colorType));
  header.insert(header.end(), {0, 0, 0});  // compression, filter, interlace
  AppendChunk(out, "IHDR", header);
  AppendChunk(out, "IDAT", {});
  AppendChunk(out, "IEND", {});
  return out;
}

std::vector<std::uint8_t> RgbaRow(std::initializer_list<std::uint32_t> pixels) {
  std::vector<std::uint8_t> row;
  for (std::uint32_t p : pixels) PutBigEndian(row, p);
  return row;
}

}  // namespace media::testing
