// FreeType source fonts: face loading, the pixel-size fallback and glyph rasterising into
// coverage pixmaps.
#include "media/draw2d/freetype_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <cmath>
#include <cstring>

#include "media/resources/url.h"
#include "media/resources/utf16.h"

namespace media {

namespace {

// Started on first use and kept for the life of the process; null if FreeType cannot start.
FT_Library Library() {
  static FT_Library library = [] {
    FT_Library started = nullptr;
    return FT_Init_FreeType(&started) == 0 ? started : nullptr;
  }();
  return library;
}

// Row `y` of `bitmap` counted from the top, whichever way its rows run in memory.
const unsigned char* BitmapRow(const FT_Bitmap& bitmap, int y) {
  const int pitch = bitmap.pitch;
  const int rows = static_cast<int>(bitmap.rows);
  return bitmap.buffer + (pitch >= 0 ? y * pitch : (rows - 1 - y) * -pitch);
}

// A format-2 pixmap of the glyph's coverage: grey levels as they are, set bits of a one-bit
// bitmap as 255 (most significant bit leftmost). Null for the other pixel modes.
std::shared_ptr<TPixmap> CoveragePixmap(const FT_Bitmap& bitmap) {
  const int width = static_cast<int>(bitmap.width);
  const int rows = static_cast<int>(bitmap.rows);
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
    return nullptr;
  }
  // A damaged bitmap font can give a glyph a size but no pixels: it is blank.
  if (bitmap.buffer == nullptr) return nullptr;
  auto pixmap = TPixmap::Create(width, rows, kPixelFormatA8);
  if (!pixmap) return nullptr;
  for (int y = 0; y < rows; ++y) {
    const unsigned char* row = BitmapRow(bitmap, y);
    std::uint8_t* out = pixmap->PixelPtr(0, y);
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      std::memcpy(out, row, static_cast<size_t>(width));
      continue;
    }
    for (int x = 0; x < width; ++x) out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
  }
  return pixmap;
}

// The same coverage inside a transparent border of one pixel, so that filtering and mip
// levels fade a smooth glyph out at its edges instead of clamping it.
std::shared_ptr<TPixmap> WithBorder(const TPixmap& pixmap) {
  auto framed = TPixmap::Create(pixmap.width + 2, pixmap.height + 2, kPixelFormatA8);
  if (framed) framed->Paste(pixmap, 1, 1);
  return framed;
}

}  // namespace

std::shared_ptr<TFreeTypeFont> TFreeTypeFont::Load(std::u16string_view url, int size, int style) {
  FT_Library library = Library();
  if (library == nullptr) return nullptr;

  std::shared_ptr<TFreeTypeFont> font(new TFreeTypeFont());
  font->_style = style;
  FT_Face face = nullptr;
  if (url.find(u"::", 1) != std::u16string_view::npos) {
    // A font that is not there is a font we do not have: the caller gets null, as for a file
    // FreeType cannot read, rather than an error that would end the program.
    try {
      font->_buf = LoadUrlBytes(url);
    } catch (const TStreamException&) {
      return nullptr;
    }
    if (font->_buf.empty()) return nullptr;
    if (FT_New_Memory_Face(library, font->_buf.data(), static_cast<FT_Long>(font->_buf.size()), 0,
                           &face) != 0) {
      return nullptr;
    }
  } else if (FT_New_Face(library, Utf16ToUtf8(url).c_str(), 0, &face) != 0) {
    return nullptr;
  }
  font->_ft_face = face;

  // Outline faces take any size; a face of fixed bitmap sizes takes only its own, so step
  // down to the nearest one it has.
  int pixels = size;
  while (pixels >= 1 && FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(pixels),
                                           static_cast<FT_UInt>(pixels)) != 0) {
    --pixels;
  }
  if (pixels < 1) return nullptr;
  font->_pixels = pixels;
  font->_base_size = face->size;

  const FT_Size_Metrics& metrics = face->size->metrics;
  font->_height = static_cast<int>(metrics.height >> 6);
  font->_ascend = static_cast<int>(metrics.ascender >> 6);
  font->_descend = static_cast<int>(metrics.descender >> 6);
  font->_glyphs.resize(static_cast<size_t>(face->num_glyphs));
  font->_loaded.resize(static_cast<size_t>(face->num_glyphs), false);
  return font;
}

TFreeTypeFont::~TFreeTypeFont() {
  if (_ft_face != nullptr) FT_Done_Face(_ft_face);
}

int TFreeTypeFont::CharToGlyph(int code) const {
  if (code < 0) return -1;
  return static_cast<int>(FT_Get_Char_Index(_ft_face, static_cast<FT_ULong>(code))) - 1;
}

const TGlyph& TFreeTypeFont::LoadGlyph(int index) {
  static const TGlyph kEmpty;
  if (index < 0 || index >= CountGlyphs()) return kEmpty;
  TGlyph& glyph = _glyphs[index];
  if (_loaded[index]) return glyph;
  _loaded[index] = true;
  // A glyph that fails to render stays empty: no pixels and no advance.
  if (FT_Load_Glyph(_ft_face, static_cast<FT_UInt>(index + 1), FT_LOAD_RENDER) != 0) return glyph;

  const FT_GlyphSlot slot = _ft_face->glyph;
  glyph._x = slot->bitmap_left;
  glyph._y = _ascend - slot->bitmap_top;
  glyph._w = static_cast<int>(slot->bitmap.width);
  glyph._h = static_cast<int>(slot->bitmap.rows);
  glyph._advance = static_cast<float>(slot->advance.x) / 64.0f;
  if (glyph._w == 0) return glyph;

  glyph._pixmap = CoveragePixmap(slot->bitmap);
  if (glyph._pixmap && (_style & kFontSmooth) != 0) {
    glyph._pixmap = WithBorder(*glyph._pixmap);
    glyph._x -= 1;
    glyph._y -= 1;
    glyph._w += 2;
    glyph._h += 2;
  }
  return glyph;
}

// The finer glyph is rendered from the outline at its own size, with its own hinting and its
// bitmap rounded out to whole pixels of its own grid, and placed by the pen and baseline it
// shares with the font's own rendering. So its box may begin a fraction of a pixel (less
// than one of the font's pixels) away from LoadGlyph's, and its strokes sit where the
// outline falls at that size; the pen, and so the layout of a text, does not move.
TScaledGlyph TFreeTypeFont::RenderScaled(int index, float scale) {
  // Sizes are asked for in whole pixels: TrueType faces round a fractional size to whole
  // pixels anyway, and the scale given back is then exactly the one rendered.
  const bool finer = scale > 1.0f && scale <= 64.0f;
  const int pixels =
      finer ? static_cast<int>(std::lround(_pixels * static_cast<double>(scale))) : 0;
  if (index < 0 || index >= CountGlyphs() || !FT_IS_SCALABLE(_ft_face) || pixels <= _pixels ||
      !ActivateScaledSize(pixels)) {
    return TFont::RenderScaled(index, scale);
  }
  const bool rendered =
      FT_Load_Glyph(_ft_face, static_cast<FT_UInt>(index + 1), FT_LOAD_RENDER) == 0;
  const FT_GlyphSlot slot = _ft_face->glyph;
  int left = rendered ? slot->bitmap_left : 0;
  int top = rendered ? slot->bitmap_top : 0;
  std::shared_ptr<TPixmap> pixmap = rendered && slot->bitmap.width > 0 && slot->bitmap.rows > 0
                                        ? CoveragePixmap(slot->bitmap)
                                        : nullptr;
  // LoadGlyph renders at the font's own size.
  FT_Activate_Size(_base_size);
  if (!rendered) return TFont::RenderScaled(index, scale);
  if (pixmap && (_style & kFontSmooth) != 0) {
    pixmap = WithBorder(*pixmap);
    left -= 1;
    top += 1;  // bitmap_top counts up from the baseline
  }
  const float actual = static_cast<float>(pixels) / static_cast<float>(_pixels);
  return {std::move(pixmap), static_cast<float>(left) / actual,
          static_cast<float>(_ascend) - static_cast<float>(top) / actual, actual};
}

bool TFreeTypeFont::ActivateScaledSize(int pixels) {
  if (_scaled_size == nullptr && FT_New_Size(_ft_face, &_scaled_size) != 0) {
    _scaled_size = nullptr;
    return false;
  }
  if (FT_Activate_Size(_scaled_size) != 0) return false;
  if (pixels == _scaled_pixels) return true;
  if (FT_Set_Pixel_Sizes(_ft_face, static_cast<FT_UInt>(pixels), static_cast<FT_UInt>(pixels)) !=
      0) {
    _scaled_pixels = 0;
    FT_Activate_Size(_base_size);
    return false;
  }
  _scaled_pixels = pixels;
  return true;
}

}  // namespace media
