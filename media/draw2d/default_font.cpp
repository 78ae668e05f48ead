// The built-in font. Its glyphs are drawn below as a sheet, 5 x 8 cells where '#' is set; at
// compile time every cell becomes an 8 x 16 glyph: column c goes to pixel column c + 1, body
// rows 0..6 are doubled into pixel rows 1..14 and the descender row 7 lands on pixel row 15.
#include "media/draw2d/default_font.h"

#include <array>
#include <string_view>

#include "media/resources/embedded_files.h"

namespace media {

namespace {

constexpr int kSheetGlyphsPerBand = 12;
constexpr int kSheetBands = kDefaultFontGlyphs / kSheetGlyphsPerBand;
constexpr int kCellWidth = 5;
constexpr int kCellRows = 8;
constexpr int kDescenderRow = 7;

// Codes 32..127, twelve to a band; cells are separated by one space.
// clang-format off
constexpr std::string_view kGlyphSheet[kSheetBands * kCellRows] = {
    //         !     "     #     $     %     &     '     (     )     *     +
    "..... ..#.. .#.#. .#.#. ..#.. ##... .##.. ..#.. ...#. .#... ..... .....",
    "..... ..#.. .#.#. .#.#. .#### ##..# #..#. ..#.. ..#.. ..#.. ..#.. ..#..",
    "..... ..#.. .#.#. ##### #.#.. ...#. #.#.. .#... .#... ...#. #.#.# ..#..",
    "..... ..#.. ..... .#.#. .###. ..#.. .#... ..... .#... ...#. .###. #####",
    "..... ..#.. ..... ##### ..#.# .#... #.#.# ..... .#... ...#. #.#.# ..#..",
    "..... ..... ..... .#.#. ####. #..## #..#. ..... ..#.. ..#.. ..#.. ..#..",
    "..... ..#.. ..... .#.#. ..#.. ...## .##.# ..... ...#. .#... ..... .....",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    //   ,     -     .     /     0     1     2     3     4     5     6     7
    "..... ..... ..... ..... .###. ..#.. .###. ##### ...#. ##### ..##. #####",
    "..... ..... ..... ....# #...# .##.. #...# ...#. ..##. #.... .#... ....#",
    "..... ..... ..... ...#. #..## ..#.. ....# ..#.. .#.#. ####. #.... ...#.",
    "..... ##### ..... ..#.. #.#.# ..#.. ...#. ...#. #..#. ....# ####. ..#..",
    "..... ..... ..... .#... ##..# ..#.. ..#.. ....# ##### ....# #...# .#...",
    ".##.. ..... .##.. #.... #...# ..#.. .#... #...# ...#. #...# #...# .#...",
    "..#.. ..... .##.. ..... .###. .###. ##### .###. ...#. .###. .###. .#...",
    ".#... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    //   8     9     :     ;     <     =     >     ?     @     A     B     C
    ".###. .###. ..... ..... ...#. ..... .#... .###. .###. .###. ####. .###.",
    "#...# #...# .##.. .##.. ..#.. ..... ..#.. #...# #...# #...# #...# #...#",
    "#...# #...# .##.. .##.. .#... ##### ...#. ....# ....# #...# #...# #....",
    ".###. .#### ..... ..... #.... ..... ....# ...#. .##.# ##### ####. #....",
    "#...# ....# .##.. .##.. .#... ##### ...#. ..#.. #.#.# #...# #...# #....",
    "#...# ...#. .##.. ..#.. ..#.. ..... ..#.. ..... #.#.# #...# #...# #...#",
    ".###. .##.. ..... .#... ...#. ..... .#... ..#.. .###. #...# ####. .###.",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    //   D     E     F     G     H     I     J     K     L     M     N     O
    "###.. ##### ##### .###. #...# .###. ..### #...# #.... #...# #...# .###.",
    "#..#. #.... #.... #...# #...# ..#.. ...#. #..#. #.... ##.## #...# #...#",
    "#...# #.... #.... #.... #...# ..#.. ...#. #.#.. #.... #.#.# ##..# #...#",
    "#...# ####. ####. #.### ##### ..#.. ...#. ##... #.... #.#.# #.#.# #...#",
    "#...# #.... #.... #...# #...# ..#.. ...#. #.#.. #.... #...# #..## #...#",
    "#..#. #.... #.... #...# #...# ..#.. #..#. #..#. #.... #...# #...# #...#",
    "###.. ##### #.... .#### #...# .###. .##.. #...# ##### #...# #...# .###.",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    //   P     Q     R     S     T     U     V     W     X     Y     Z     [
    "####. .###. ####. .#### ##### #...# #...# #...# #...# #...# ##### .###.",
    "#...# #...# #...# #.... ..#.. #...# #...# #...# #...# #...# ....# .#...",
    "#...# #...# #...# #.... ..#.. #...# #...# #...# .#.#. #...# ...#. .#...",
    "####. #...# ####. .###. ..#.. #...# #...# #.#.# ..#.. .#.#. ..#.. .#...",
    "#.... #.#.# #.#.. ....# ..#.. #...# #...# #.#.# .#.#. ..#.. .#... .#...",
    "#.... #..#. #..#. ....# ..#.. #...# .#.#. #.#.# #...# ..#.. #.... .#...",
    "#.... .##.# #...# ####. ..#.. .###. ..#.. .#.#. #...# ..#.. ##### .###.",
    "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    //   \     ]     ^     _     `     a     b     c     d     e     f     g
    "..... .###. ..#.. ..... .#... ..... #.... ..... ....# ..... ..##. .....",
    "#.... ...#. .#.#. ..... ..#.. ..... #.... ..... ....# ..... .#..# .....",
    ".#... ...#. #...# ..... ...#. .###. #.##. .###. .##.# .###. .#... .####",
    "..#.. ...#. ..... ..... ..... ....# ##..# #.... #..## #...# ###.. #...#",
    "...#. ...#. ..... ..... ..... .#### #...# #.... #...# ##### .#... #...#",
    "....# ...#. ..... ..... ..... #...# #...# #...# #...# #.... .#... .####",
    "..... .###. ..... ..... ..... .#### ####. .###. .#### .###. .#... ....#",
    "..... ..... ..... ##### ..... ..... ..... ..... ..... ..... ..... .###.",
    //   h     i     j     k     l     m     n     o     p     q     r     s
    "#.... ..#.. ...#. #.... .##.. ..... ..... ..... ..... ..... ..... .....",
    "#.... ..... ..... #.... ..#.. ..... ..... ..... ..... ..... ..... .....",
    "#.##. .##.. ..##. #..#. ..#.. ##.#. #.##. .###. ####. .#### #.##. .####",
    "##..# ..#.. ...#. #.#.. ..#.. #.#.# ##..# #...# #...# #...# ##..# #....",
    "#...# ..#.. ...#. ##... ..#.. #.#.# #...# #...# #...# #...# #.... .###.",
    "#...# ..#.. ...#. #.#.. ..#.. #...# #...# #...# ####. .#### #.... ....#",
    "#...# .###. #..#. #..#. .###. #...# #...# .###. #.... ....# #.... ####.",
    "..... ..... .##.. ..... ..... ..... ..... ..... #.... ....# ..... .....",
    //   t     u     v     w     x     y     z     {     |     }     ~    DEL
    ".#... ..... ..... ..... ..... ..... ..... ...## ..#.. ##... ..... #.#.#",
    ".#... ..... ..... ..... ..... ..... ..... ..#.. ..#.. ..#.. ..... .#.#.",
    "###.. #...# #...# #...# #...# #...# ##### ..#.. ..#.. ..#.. .#... #.#.#",
    ".#... #...# #...# #...# .#.#. #...# ...#. .#... ..#.. ...#. #.#.# .#.#.",
    ".#... #...# #...# #.#.# ..#.. #...# ..#.. ..#.. ..#.. ..#.. ...#. #.#.#",
    ".#..# #..## .#.#. #.#.# .#.#. .#### .#... ..#.. ..#.. ..#.. ..... .#.#.",
    "..##. .##.# ..#.. .#.#. #...# ....# ##### ...## ..#.. ##... ..... #.#.#",
    "..... ..... ..... ..... ..... .###. ..... ..... ..#.. ..... ..... .....",
};
// clang-format on

constexpr bool SheetIsWellFormed() {
  for (std::string_view row : kGlyphSheet) {
    if (row.size() != kSheetGlyphsPerBand * (kCellWidth + 1) - 1) return false;
    for (size_t i = 0; i < row.size(); ++i) {
      const bool separator = i % (kCellWidth + 1) == kCellWidth;
      if (separator ? row[i] != ' ' : row[i] != '.' && row[i] != '#') return false;
    }
  }
  return true;
}
static_assert(SheetIsWellFormed(), "every sheet row holds twelve 5-wide cells");

// Row i of the bitmap holds pixel row i of every glyph, one byte each, bit 0 leftmost.
constexpr std::array<std::uint8_t, kDefaultFontBitmapBytes> BuildBitmap() {
  std::array<std::uint8_t, kDefaultFontBitmapBytes> bitmap{};
  for (int glyph = 0; glyph < kDefaultFontGlyphs; ++glyph) {
    const int band = glyph / kSheetGlyphsPerBand;
    const int column = glyph % kSheetGlyphsPerBand * (kCellWidth + 1);
    for (int row = 0; row < kCellRows; ++row) {
      std::uint8_t bits = 0;
      for (int c = 0; c < kCellWidth; ++c) {
        if (kGlyphSheet[band * kCellRows + row][column + c] == '#') bits |= 1u << (c + 1);
      }
      if (row == kDescenderRow) {
        bitmap[15 * kDefaultFontGlyphs + glyph] = bits;
      } else {
        bitmap[(1 + 2 * row) * kDefaultFontGlyphs + glyph] = bits;
        bitmap[(2 + 2 * row) * kDefaultFontGlyphs + glyph] = bits;
      }
    }
  }
  return bitmap;
}

constexpr std::array<std::uint8_t, kDefaultFontBitmapBytes> kBitmap = BuildBitmap();

}  // namespace

const std::uint8_t* DefaultFontBitmap() {
  return kBitmap.data();
}

void InitDrawingData() {
  RegisterEmbeddedFile(kDefaultFontResource, kBitmap.data(), kDefaultFontBitmapBytes);
}

std::shared_ptr<TImageFont> DefaultImageFont() {
  static const std::shared_ptr<TImageFont> font = [] {
    // Whoever asks first may come before the module start; registering is harmless twice.
    InitDrawingData();
    const std::uint8_t* bitmap = EmbeddedFileData(kDefaultFontResource);
    if (bitmap == nullptr || EmbeddedFileSize(kDefaultFontResource) != kDefaultFontBitmapBytes) {
      bitmap = kBitmap.data();
    }
    return TImageFont::CreateDefault(bitmap);
  }();
  return font;
}

}  // namespace media
