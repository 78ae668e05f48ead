// The PNG pixmap loader, on libpng: every PNG colour type and bit depth arrives as 8-bit grey
// (format 1), RGB (format 4) or RGBA (format 6).
// Depends on: pixmap_loader.h, libpng.
#pragma once

#include "media/draw2d/pixmap_loader.h"

namespace media {

class TPixmapLoaderPNG : public TPixmapLoader {
 public:
  // Null, without an error, when the data does not start with the PNG signature; null too
  // when libpng rejects the data or the picture is too large to hold.
  std::shared_ptr<TPixmap> LoadPixmap(TStream& stream) override;
};

// The one instance the loader chain starts with.
TPixmapLoaderPNG& PngPixmapLoader();

// Pictures larger than this on either side, or holding more than kMaxPngBytes decoded
// bytes, are refused before any pixel memory is taken.
constexpr int kMaxPngSide = 16384;
constexpr long long kMaxPngBytes = 256LL * 1024 * 1024;

}  // namespace media
