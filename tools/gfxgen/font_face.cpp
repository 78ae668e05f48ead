#include "tools/gfxgen/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_FONT_FORMATS_H

#include <stdexcept>

namespace gfxgen {
namespace {

struct OutlineSink {
  Path* path;
  const Affine* map;
  Vec2 point(const FT_Vector* v) const {
    return map->apply({static_cast<double>(v->x), static_cast<double>(v->y)});
  }
};

int moveTo(const FT_Vector* to, void* user) {
  auto* sink = static_cast<OutlineSink*>(user);
  sink->path->close();
  sink->path->moveTo(sink->point(to));
  return 0;
}

int lineTo(const FT_Vector* to, void* user) {
  auto* sink = static_cast<OutlineSink*>(user);
  sink->path->lineTo(sink->point(to));
  return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto* sink = static_cast<OutlineSink*>(user);
  sink->path->quadTo(sink->point(control), sink->point(to));
  return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  auto* sink = static_cast<OutlineSink*>(user);
  sink->path->cubicTo(sink->point(control1), sink->point(control2), sink->point(to));
  return 0;
}

}  // namespace

FontFace::FontFace(const std::filesystem::path& file) {
  if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("FreeType did not start");
  if (FT_New_Face(library_, file.c_str(), 0, &face_) != 0) {
    FT_Done_FreeType(library_);
    throw std::runtime_error("cannot open font " + file.string());
  }
  if (!FT_IS_SCALABLE(face_)) {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
    throw std::runtime_error("font has no outlines: " + file.string());
  }
}

FontFace::~FontFace() {
  FT_Done_Face(face_);
  FT_Done_FreeType(library_);
}

std::string FontFace::format() const {
  return FT_Get_Font_Format(face_);
}

int FontFace::unitsPerEm() const {
  return face_->units_per_EM;
}

bool FontFace::hasGlyph(char32_t character) const {
  return glyphIndex(character) != 0;
}

unsigned FontFace::glyphIndex(char32_t character) const {
  return FT_Get_Char_Index(face_, static_cast<FT_ULong>(character));
}

void FontFace::load(char32_t character) const {
  const unsigned index = glyphIndex(character);
  if (index == 0) {
    throw std::runtime_error("font lacks character U+" + std::to_string(unsigned(character)));
  }
  if (FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
      face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
    throw std::runtime_error("cannot load the outline of U+" + std::to_string(unsigned(character)));
  }
}

Path FontFace::glyph(char32_t character, const Affine& toPixels) const {
  load(character);
  Path path;
  OutlineSink sink{&path, &toPixels};
  FT_Outline_Funcs funcs{};
  funcs.move_to = moveTo;
  funcs.line_to = lineTo;
  funcs.conic_to = conicTo;
  funcs.cubic_to = cubicTo;
  if (FT_Outline_Decompose(&face_->glyph->outline, &funcs, &sink) != 0) {
    throw std::runtime_error("cannot decompose the outline of U+" +
                             std::to_string(unsigned(character)));
  }
  path.close();
  return path;
}

double FontFace::advance(char32_t character) const {
  load(character);
  return static_cast<double>(face_->glyph->advance.x);
}

}  // namespace gfxgen
