// Image fonts: glyph images made lazily from a source font, text drawn and measured glyph by
// glyph with the pen rules, and the built-in font built from its bitmap.
#include "media/draw2d/image_font.h"

#include <algorithm>
#include <cmath>

#include "media/draw2d/canvas.h"
#include "media/draw2d/freetype_font.h"

namespace media {

float GlyphImageScale(float displayScale) {
  constexpr float kStep = 4.0f;      // quarters
  constexpr float kLargest = 4.0f;   // beyond, glyphs are enlarged rather than made larger
  constexpr float kSlack = 1.0e-3f;  // 1.0001 is 1: no finer image for a rounding error
  if (!(displayScale > 1.0f + kSlack)) return 1.0f;  // also for NaN
  return std::min(std::ceil(displayScale * kStep - kSlack) / kStep, kLargest);
}

void TImageFont::Draw(std::u16string_view text, float x, float y, float ix, float iy, float jx,
                      float jy) {
  for (const char16_t code : text) {
    const int index = CharToGlyph(code);
    if (index < 0) continue;  // a missing character leaves the pen where it is
    const TImageGlyph& glyph = LoadGlyph(index);
    if (glyph._image) {
      if (TImageFrame* frame = glyph._image->Frame(0)) {
        frame->Draw(0.0f, 0.0f, glyph._image->DrawnWidth(), glyph._image->DrawnHeight(),
                    glyph._imageX * ix + glyph._imageY * iy + x,
                    glyph._imageX * jx + glyph._imageY * jy + y, 0.0f, 0.0f,
                    static_cast<float>(glyph._image->width),
                    static_cast<float>(glyph._image->height));
      }
    }
    x += ix * glyph._advance;
    y += jx * glyph._advance;
  }
}

int TImageFont::TextWidth(std::u16string_view text) {
  int width = 0;
  for (const char16_t code : text) {
    const int index = CharToGlyph(code);
    if (index < 0) continue;
    width = static_cast<int>(static_cast<float>(width) + LoadGlyph(index)._advance);
  }
  return width;
}

int TImageFont::Height() {
  return _src_font ? _src_font->Height() : kDefaultFontGlyphHeight;
}

int TImageFont::Style() const {
  return _src_font ? _src_font->Style() : 0;
}

int TImageFont::CharToGlyph(int code) const {
  if (_src_font) return _src_font->CharToGlyph(code);
  const int index = code - kDefaultFontFirstCode;
  return index >= 0 && index < kDefaultFontGlyphs ? index : -1;
}

const TImageGlyph& TImageFont::LoadGlyph(int index) {
  static const TImageGlyph kEmpty;
  if (index < 0 || index >= CountGlyphs()) return kEmpty;
  TImageGlyph& glyph = _glyphs[index];
  if (!_src_font) return glyph;
  // Asked on every draw of every glyph: one comparison once the image is made.
  const float scale = GlyphImageScale(DisplayPixelScale());
  if (_madeAt[index] == scale) return glyph;
  _madeAt[index] = scale;
  // The metrics are always those of the font's own size, so text measures and lays out the
  // same on every display.
  const TGlyph& source = _src_font->LoadGlyph(index);
  glyph._advance = source._advance;
  glyph._x = source._x;
  glyph._y = source._y;
  glyph._w = source._w;
  glyph._h = source._h;
  glyph._imageX = static_cast<float>(source._x);
  glyph._imageY = static_cast<float>(source._y);
  glyph._image.reset();
  if (!source._pixmap) return glyph;
  if (scale > 1.0f) {
    TScaledGlyph finer = _src_font->RenderScaled(index, scale);
    if (finer._pixmap) {
      glyph._image = TImage::Load(std::move(finer._pixmap), _imageFlags, 0, 0, 0);
      if (glyph._image) {
        glyph._image->pixel_scale = finer._scale;
        glyph._imageX = finer._x;
        glyph._imageY = finer._y;
        return glyph;
      }
    }
  }
  // The image gets its own copy: the source font keeps its pixmap as rendered.
  glyph._image = TImage::Load(source._pixmap->Copy(), _imageFlags, 0, 0, 0);
  return glyph;
}

std::shared_ptr<TImageFont> TImageFont::Create(std::shared_ptr<TFont> source, int style) {
  if (!source) return nullptr;
  auto font = std::make_shared<TImageFont>();
  font->_glyphs.resize(static_cast<size_t>(source->CountGlyphs()));
  font->_madeAt.resize(font->_glyphs.size(), 0.0f);
  font->_imageFlags = (style & kFontSmooth) != 0 ? kImageFiltered | kImageMipmapped : 0;
  font->_src_font = std::move(source);
  return font;
}

std::shared_ptr<TImageFont> TImageFont::Load(std::u16string_view url, int size, int style) {
  // FreeType is the only source of fonts.
  return Create(TFreeTypeFont::Load(url, size, style), style);
}

std::shared_ptr<TImageFont> TImageFont::CreateDefault(const std::uint8_t* bitmap) {
  auto font = std::make_shared<TImageFont>();
  font->_glyphs.resize(kDefaultFontGlyphs);
  for (int j = 0; j < kDefaultFontGlyphs; ++j) {
    auto pixmap = TPixmap::Create(kDefaultFontGlyphWidth, kDefaultFontGlyphHeight, kPixelFormatA8);
    for (int i = 0; i < kDefaultFontGlyphHeight; ++i) {
      const std::uint8_t bits = bitmap[i * kDefaultFontGlyphs + j];
      for (int x = 0; x < kDefaultFontGlyphWidth; ++x) {
        *pixmap->PixelPtr(x, i) = (bits >> x) & 1 ? 255 : 0;
      }
    }
    TImageGlyph& glyph = font->_glyphs[j];
    glyph._image = TImage::Load(std::move(pixmap), 0, 0, 0, 0);
    glyph._advance = static_cast<float>(kDefaultFontGlyphWidth);
    glyph._w = kDefaultFontGlyphWidth;
    glyph._h = kDefaultFontGlyphHeight;
  }
  return font;
}

std::shared_ptr<TImageFont> LoadImageFont(std::u16string_view url, int size, int style) {
  return TImageFont::Load(url, size, style);
}

}  // namespace media
