// PNG bytes through the loader chain as the program reads them (a RAM stream over embedded
// data; a stream that ends early is "not a picture"), then through the conversion every
// picture takes on its way to a texture.
#include <cstddef>
#include <cstdint>

#include "media/draw2d/pixmap.h"
#include "media/draw2d/pixmap_loader.h"
#include "media/resources/ram_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 20) return 0;
  auto stream = media::TRamStream::Create(data, static_cast<std::int32_t>(size), 1);
  const auto pixmap = media::LoadPixmap(*stream);
  if (pixmap) {
    const auto rgba = pixmap->Convert(media::kPixelFormatRGBA8888);
    if (rgba && rgba->width > 0 && rgba->height > 0) {
      std::uint8_t pixel[4];
      rgba->ReadRgba(rgba->width - 1, rgba->height - 1, pixel);
    }
  }
  return 0;
}
