// Glyph outlines from a font file, read with FreeType unscaled and unhinted, so the shapes
// are the designer's own curves and come out the same on every run.
// Depends on: FreeType, geometry.h.
#pragma once

#include <filesystem>
#include <string>

#include "tools/gfxgen/geometry.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace gfxgen {

class FontFace {
 public:
  // Throws std::runtime_error if the file cannot be opened as a font.
  explicit FontFace(const std::filesystem::path& file);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // FreeType's name for the outline format: "CFF", "TrueType", ...
  std::string format() const;
  int unitsPerEm() const;
  bool hasGlyph(char32_t character) const;

  // The glyph's outline, given in font units (y up, origin on the baseline) and mapped
  // through `toPixels` before curves are flattened. Throws std::runtime_error if the font
  // lacks the character.
  Path glyph(char32_t character, const Affine& toPixels) const;
  // Horizontal advance in font units.
  double advance(char32_t character) const;

 private:
  unsigned glyphIndex(char32_t character) const;
  void load(char32_t character) const;

  FT_LibraryRec_* library_ = nullptr;
  FT_FaceRec_* face_ = nullptr;
};

}  // namespace gfxgen
