// PNG decoding through libpng.
//
// libpng reports every error by longjmp to the last setjmp. The jumps land in two small
// functions (ReadPngHeader, ReadPngRows) whose frames hold nothing with a destructor; the C++
// objects (pixel memory, the structures' owner, a pending stream exception) live in the
// caller's frame, above every frame a jump can cross. The stream is read through a C-style
// callback that never lets a C++ exception run through libpng's C frames.
#include "media/draw2d/png_loader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

namespace media {

namespace {

// The run-time error every libpng failure becomes; the loader turns it into "no pixmap".
class PngError : public TRuntimeError {
 public:
  PngError() : TRuntimeError("PNG ERROR") {}
};

// What the read callback sees.
struct PngReadContext {
  TStream* stream = nullptr;       // the data, after the signature
  std::exception_ptr streamError;  // what the stream threw inside a read, if anything
};

void ReadFromStream(png_structp png, png_bytep data, png_size_t length) {
  auto* context = static_cast<PngReadContext*>(png_get_io_ptr(png));
  bool failed = false;
  try {
    context->stream->ReadBytes(data, static_cast<std::int64_t>(length));
  } catch (...) {
    context->streamError = std::current_exception();
    failed = true;
  }
  // Jump only once the handler has ended: leaving a catch block by longjmp would leak the
  // exception object.
  if (failed) png_error(png, "stream read failed");
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp /*message*/) {
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// The picture as it comes out of the transforms.
struct PngHeader {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  size_t rowBytes = 0;
};

// Reads the chunks up to the pixels and sets the transforms: 16-bit samples to 8, palette to
// RGB, grey below 8 bits to 8, a transparency chunk to alpha; interlacing is undone by
// libpng. False on any libpng error.
bool ReadPngHeader(png_structp png, png_infop info, PngHeader* header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_sig_bytes(png, 8);
  // A header may claim any size up to 2^31 - 1 on each side; refuse the absurd ones here,
  // before libpng or we size anything by them.
  png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_palette_to_rgb(png);
  png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  header->width = png_get_image_width(png, info);
  header->height = png_get_image_height(png, info);
  header->bitDepth = png_get_bit_depth(png, info);
  header->colorType = png_get_color_type(png, info);
  header->rowBytes = png_get_rowbytes(png, info);
  return true;
}

// Decodes every row into `rows` and reads the chunks after the pixels. False on any libpng
// error (a truncated or corrupt stream included).
bool ReadPngRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

// Owns libpng's read structures.
struct PngReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReadStructs() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
};

[[noreturn]] void RaiseReadFailure(const PngReadContext& context) {
  // A stream error keeps its own type, so the loader chain can tell it from a bad picture.
  if (context.streamError) std::rethrow_exception(context.streamError);
  throw PngError();
}

// The pixmap format for a decoded colour type, or 0 for none we hold.
int FormatFor(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
      return kPixelFormatI8;
    case PNG_COLOR_TYPE_RGB:
      return kPixelFormatRGB888;
    case PNG_COLOR_TYPE_RGB_ALPHA:
    case PNG_COLOR_TYPE_GRAY_ALPHA:  // widened to (grey, grey, grey, alpha)
      return kPixelFormatRGBA8888;
    default:
      return 0;
  }
}

void CopyRow(const png_byte* from, std::uint8_t* to, int width, int colorType, int format) {
  if (colorType != PNG_COLOR_TYPE_GRAY_ALPHA) {
    std::memcpy(to, from, static_cast<size_t>(width) * BytesPerPixel(format));
    return;
  }
  for (int x = 0; x < width; ++x, from += 2, to += 4) {
    to[0] = to[1] = to[2] = from[0];
    to[3] = from[1];
  }
}

std::shared_ptr<TPixmap> DecodePng(TStream& stream) {
  PngReadContext context;
  context.stream = &stream;
  PngReadStructs structs;
  structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning);
  if (structs.png == nullptr) throw PngError();
  structs.info = png_create_info_struct(structs.png);
  if (structs.info == nullptr) throw PngError();
  png_set_read_fn(structs.png, &context, ReadFromStream);

  PngHeader header;
  if (!ReadPngHeader(structs.png, structs.info, &header)) RaiseReadFailure(context);
  const int format = FormatFor(header.colorType);
  if (header.bitDepth != 8 || format == 0) return nullptr;
  const long long bytes = static_cast<long long>(header.rowBytes) * header.height;
  if (bytes > kMaxPngBytes) return nullptr;

  // Uninitialised on purpose: a truncated file claiming a large picture touches only the
  // pages its rows reach.
  auto decoded = std::make_unique_for_overwrite<png_byte[]>(static_cast<size_t>(bytes));
  std::vector<png_bytep> rows(header.height);
  for (png_uint_32 y = 0; y < header.height; ++y) rows[y] = decoded.get() + y * header.rowBytes;
  if (!ReadPngRows(structs.png, structs.info, rows.data())) RaiseReadFailure(context);

  const int width = static_cast<int>(header.width);
  const int height = static_cast<int>(header.height);
  auto pixmap = TPixmap::Create(width, height, format);
  if (!pixmap) return nullptr;
  for (int y = 0; y < height; ++y) {
    CopyRow(rows[y], pixmap->PixelPtr(0, y), width, header.colorType, format);
  }
  return pixmap;
}

// Reads up to `count` bytes; fewer when the stream ends first.
std::int64_t ReadUpTo(TStream& stream, std::uint8_t* buffer, std::int64_t count) {
  std::int64_t got = 0;
  while (got < count) {
    const std::int64_t n = stream.Read(buffer + got, count - got);
    if (n <= 0) break;
    got += n;
  }
  return got;
}

}  // namespace

std::shared_ptr<TPixmap> TPixmapLoaderPNG::LoadPixmap(TStream& stream) {
  png_byte signature[8];
  if (ReadUpTo(stream, signature, 8) < 8 || png_sig_cmp(signature, 0, 8) != 0) return nullptr;
  try {
    return DecodePng(stream);
  } catch (const PngError&) {
    return nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;  // a picture we cannot hold is one we do not have
  }
}

TPixmapLoaderPNG& PngPixmapLoader() {
  static TPixmapLoaderPNG loader;
  return loader;
}

}  // namespace media
