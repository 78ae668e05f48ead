// The built-in font: 8 x 16 glyphs for the codes 32..127, current until the program selects
// a font of its own. Its bitmap is the drawing layer's own data, served by the resource store.
// Depends on: image_font.h, media/resources (embedded files).
#pragma once

#include <cstdint>
#include <memory>

#include "media/draw2d/image_font.h"

namespace media {

// The resource name the bitmap is registered under.
inline constexpr char16_t kDefaultFontResource[] = u"draw2d/default_font.bin";

// Registers the drawing layer's built-in data with the resource store. The front end calls
// it when the module starts; calling it again changes nothing.
void InitDrawingData();

// The built-in font, built on first use from the registered bitmap and kept.
std::shared_ptr<TImageFont> DefaultImageFont();

// The bitmap itself (kDefaultFontBitmapBytes bytes), for whoever wants to check it.
const std::uint8_t* DefaultFontBitmap();

}  // namespace media
