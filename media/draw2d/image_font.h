// Image fonts: glyphs rendered from an outline font at one pixel size, turned into glyph
// images on first use and drawn as one quad each. On a display with more pixels than the
// picture the glyph images are rendered that much finer and drawn at the same size, while
// the layout (advances, widths, heights) stays that of the font's own size.
// Depends on: image.h, font.h (the source fonts: FreeType), canvas.h (the display's scale).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "media/draw2d/font.h"
#include "media/draw2d/image.h"

namespace media {

// One glyph of an image font.
// Its metrics are those of the font's own size whatever the display; the image may be finer.
struct TImageGlyph {
  std::shared_ptr<TImage> _image;  // white, coverage in alpha; null for a blank glyph
  float _advance = 0.0f;           // pen advance in pixels
  int _x = 0, _y = 0;              // offset of the glyph's box from the pen at the top of the line
  int _w = 0, _h = 0;              // the box's size
  // Where the image goes from the pen at the top of the line, in picture pixels: (_x, _y)
  // for an image of the font's own size, within a pixel of it for a finer one.
  float _imageX = 0.0f, _imageY = 0.0f;
};

// The scale glyph images are made at on a display of `displayScale` pixels per picture pixel:
// the display's scale rounded up to a quarter, 1 to 4. Rounding up keeps a glyph image at
// least as fine as the display, and by quarters it is never more than 1.25 times finer, so
// the texture's full-size level is the one drawn (mip levels are chosen nearest) and the
// glyphs stay as they are while the scale moves within a quarter.
float GlyphImageScale(float displayScale);

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
  // Glyph `index`, its image made on first use at the current display's glyph image scale,
  // and made again when that scale has changed since; an empty glyph for an index out of
  // range.
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
  std::vector<float> _madeAt;        // glyph image scale of each slot's image; 0 = not made
  int _imageFlags = 0;               // image flags of the glyph images
};

// Loads the font at `url` rendered at `size` pixels; style 4 = smooth. Null on failure.
std::shared_ptr<TImageFont> LoadImageFont(std::u16string_view url, int size, int style);
// Makes `font` current for DrawText and TextWidth; null selects the built-in font.
void SetImageFont(const std::shared_ptr<TImageFont>& font);
// Width of `text` in pixels in the current font.
int TextWidth(std::u16string_view text);

}  // namespace media
