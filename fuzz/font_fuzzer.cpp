// Font bytes registered as an embedded file and loaded the way the program loads its fonts:
// FreeType from memory, then the image font over it, and a few glyphs rendered (ASCII, the
// Latin-1 letters the disk's texts use, and whatever glyph indices the face claims), also
// at finer pixel grids.
#include <cstddef>
#include <cstdint>

#include "media/draw2d/freetype_font.h"
#include "media/draw2d/image_font.h"
#include "media/resources/embedded_files.h"
#include "media/resources/stream_factory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 1 << 20) return 0;
  media::InitStreams();
  media::ResetEmbeddedFilesForTesting();
  // The first byte picks the pixel size, so sizes that break scaling are explored too.
  const int pixels = 1 + data[0] % 96;
  media::RegisterEmbeddedFile(u"fonts/fuzz.ttf", data + 1, static_cast<std::int32_t>(size - 1));

  if (auto font = media::TFreeTypeFont::Load(u"incbin::fonts/fuzz.ttf", pixels, 0)) {
    for (const int code : {32, 65, 103, 0xF8, 0xC5, 0xFFFF}) {
      const int index = font->CharToGlyph(code);
      if (index >= 0) font->LoadGlyph(index);
    }
    const int count = font->CountGlyphs();
    for (int index = 0; index < count && index < 8; ++index) font->LoadGlyph(index);
    if (count > 0) font->LoadGlyph(count - 1);
    // Glyphs for a display of a finer pixel grid (full screen, HiDPI), then the font's own
    // size again.
    for (const float scale : {1.5f, 2.0f}) {
      const int index = font->CharToGlyph(65);
      font->RenderScaled(index >= 0 ? index : 0, scale);
    }
    if (count > 0) font->LoadGlyph(0);
  }
  if (auto font = media::TImageFont::Load(u"incbin::fonts/fuzz.ttf", pixels, 4)) {
    for (const int code : {65, 0xE5}) font->LoadGlyph(font->CharToGlyph(code));
  }
  media::ResetEmbeddedFilesForTesting();
  return 0;
}
