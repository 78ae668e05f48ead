// Image fonts: glyphs rendered from an outline font at one pixel size, turned into glyph
// images on first use and drawn as one quad each.
// Depends on: image.h, font.h (the source fonts: FreeType).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "media/draw2d/font.h"
#include "media/draw2d/image.h"

namespace media {

// One glyph of an image font.
struct TImageGlyph {
  std::shared_ptr<TImage> _image;  // white, coverage in alpha; null for a blank glyph
  float _advance = 0.0f;           // pen advance in pixels
  int _x = 0, _y = 0;              // offset of the image from the pen at the top of the line
  int _w = 0, _h = 0;              // image size
};

// Glyphs of the built-in font: codes 32..127, 8 x 16 pixels each.
constexpr int kDefaultFontFirstCode = 32;
constexpr int kDefaultFontGlyphs = 96;
constexpr int kDefaultFontGlyphWidth = 8;
constexpr int kDefaultFontGlyphHeight = 16;
// 16 rows of 96 bytes: byte j of row i is row i of glyph j, least significant bit leftmost.
constexpr int kDefaultFontBitmapBytes = kDefaultFontGlyphs * kDefaultFontGlyphHeight;

class TImageFont {
 public:
  TImageFont() = default;
  virtual ~TImageFont() = default;
  TImageFont(const TImageFont&) = delete;
  TImageFont& operator=(const TImageFont&) = delete;

  // Draws `text` with its pen starting at (x, y) under the 2x2 matrix (ix, iy, jx, jy).
  virtual void Draw(std::u16string_view text, float x, float y, float ix, float iy, float jx,
                    float jy);
  // Width of `text` in pixels, truncated after every glyph.
  virtual int TextWidth(std::u16string_view text);
  virtual int Height();

  int Style() const;
  int CountGlyphs() const { return static_cast<int>(_glyphs.size()); }
  // The glyph index of a UTF-16 code unit, or -1 when the font has none.
  int CharToGlyph(int code) const;
  // Glyph `index`, its image made on first use; an empty glyph for an index out of range.
  const TImageGlyph& LoadGlyph(int index);

  // An image font over `source`; glyph images are filtered and mipmapped when the style
  // has the smooth bit.
  static std::shared_ptr<TImageFont> Create(std::shared_ptr<TFont> source, int style);
  // Loads the font at `url` at `size` pixels. Null when no source font can be had.
  static std::shared_ptr<TImageFont> Load(std::u16string_view url, int size, int style);
  // The built-in font from its bitmap (kDefaultFontBitmapBytes bytes).
  static std::shared_ptr<TImageFont> CreateDefault(const std::uint8_t* bitmap);

 private:
  std::shared_ptr<TFont> _src_font;  // null for the built-in font
  std::vector<TImageGlyph> _glyphs;  // one slot per glyph index
  std::vector<bool> _loaded;         // which slots are filled
  int _imageFlags = 0;               // image flags of the glyph images
};

// Loads the font at `url` rendered at `size` pixels; style 4 = smooth. Null on failure.
std::shared_ptr<TImageFont> LoadImageFont(std::u16string_view url, int size, int style);
// Makes `font` current for DrawText and TextWidth; null selects the built-in font.
void SetImageFont(const std::shared_ptr<TImageFont>& font);
// Width of `text` in pixels in the current font.
int TextWidth(std::u16string_view text);

}  // namespace media
