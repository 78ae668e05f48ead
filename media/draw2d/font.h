// Source fonts: where an image font gets its glyph bitmaps and advances from.
// Depends on: pixmap.h.
#pragma once

#include <memory>

#include "media/draw2d/pixmap.h"

namespace media {

// Font style bits. Bold and italic are kept but change nothing; smooth makes glyph images
// filtered and mipmapped, with a transparent border.
enum FontStyle : int {
  kFontBold = 1,
  kFontItalic = 2,
  kFontSmooth = 4,
};

// One rendered glyph.
struct TGlyph {
  std::shared_ptr<TPixmap> _pixmap;  // format 2 (coverage), or null for a blank glyph
  float _advance = 0.0f;             // pen advance in pixels
  int _x = 0, _y = 0;                // offset of the pixmap from the pen at the top of the line
  int _w = 0, _h = 0;                // pixmap size
};

// A glyph rendered finer than the font's own size, for a display with more pixels than the
// picture. Placed in the font's own pixels so that it covers what the glyph covers at the
// font's size; its advance and the line's metrics are the font's own (TGlyph's).
struct TScaledGlyph {
  std::shared_ptr<TPixmap> _pixmap;  // format 2 (coverage), or null for a blank glyph
  float _x = 0.0f, _y = 0.0f;        // offset of the pixmap from the pen at the top of the line,
                                     // in the font's own pixels
  float _scale = 1.0f;               // pixmap pixels per pixel of the font's own size
};

class TFont {
 public:
  virtual ~TFont() = default;
  virtual int Style() const = 0;
  virtual int Height() const = 0;
  virtual int CountGlyphs() const = 0;
  // The glyph index of a character code, or -1 when the font has none.
  virtual int CharToGlyph(int code) const = 0;
  // Glyph `index`, rendered on first use and kept; an empty glyph when it cannot be.
  virtual const TGlyph& LoadGlyph(int index) = 0;
  // Glyph `index` rendered about `scale` times finer than LoadGlyph renders it; made on every
  // call, not kept. A font that renders at one size only gives a copy of LoadGlyph's pixmap
  // at scale 1.
  virtual TScaledGlyph RenderScaled(int index, float /*scale*/) {
    const TGlyph& glyph = LoadGlyph(index);
    return {glyph._pixmap ? glyph._pixmap->Copy() : nullptr, static_cast<float>(glyph._x),
            static_cast<float>(glyph._y), 1.0f};
  }
};

}  // namespace media
