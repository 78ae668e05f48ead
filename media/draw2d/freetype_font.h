// Source fonts rendered by FreeType at one pixel size.
// Depends on: font.h, media/resources (URL bytes), FreeType.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "media/draw2d/font.h"

struct FT_FaceRec_;
struct FT_SizeRec_;

namespace media {

class TFreeTypeFont : public TFont {
 public:
  // Face 0 of the font at `url` at `size` pixels, or the largest size below it that the face
  // accepts. A URL with "::" is read whole into memory; one without is a file path. Null when
  // the URL cannot be read, the content is empty or no face or size can be had.
  static std::shared_ptr<TFreeTypeFont> Load(std::u16string_view url, int size, int style);
  ~TFreeTypeFont() override;
  TFreeTypeFont(const TFreeTypeFont&) = delete;
  TFreeTypeFont& operator=(const TFreeTypeFont&) = delete;

  int Style() const override { return _style; }
  int Height() const override { return _height; }
  int Ascend() const { return _ascend; }
  int Descend() const { return _descend; }
  int CountGlyphs() const override { return static_cast<int>(_glyphs.size()); }
  // The face's glyph index minus 1, so a character the face lacks (index 0) gives -1.
  int CharToGlyph(int code) const override;
  // Renders face glyph `index` + 1.
  const TGlyph& LoadGlyph(int index) override;
  // Renders face glyph `index` + 1 at the pixel size nearest to `scale` times the font's
  // (the scale it gives is that size over the font's), placed by the font's own baseline.
  // An outline face only; one of fixed bitmap sizes, or a scale of 1 or less, gives a copy
  // of LoadGlyph's pixmap at scale 1.
  TScaledGlyph RenderScaled(int index, float scale) override;

 private:
  TFreeTypeFont() = default;
  // Makes the face's scaled size current, set to `pixels`; false (and the font's own size
  // current) when it cannot be had.
  bool ActivateScaledSize(int pixels);

  FT_FaceRec_* _ft_face = nullptr;      // the open face
  FT_SizeRec_* _base_size = nullptr;    // the face at the font's size: LoadGlyph's
  FT_SizeRec_* _scaled_size = nullptr;  // the face at RenderScaled's size, made on first use
  int _pixels = 0;                      // the font's pixel size
  int _scaled_pixels = 0;               // the pixel size _scaled_size is set to
  int _style = 0;
  int _height = 0, _ascend = 0, _descend = 0;  // pixels, from the size metrics
  std::vector<TGlyph> _glyphs;                 // one per face glyph, filled on first use
  std::vector<bool> _loaded;                   // which of _glyphs have been rendered
  std::vector<std::uint8_t> _buf;              // the font file, kept while the face reads it
};

}  // namespace media
