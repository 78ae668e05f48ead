// The program's pictures, drawn from scratch: the three faint background letters, the
// scroll band, the information pad, the group logo and the desktop icon.
// Depends on: canvas.h, font_face.h, image.h, png_writer.h.
#pragma once

#include <string>
#include <vector>

#include "tools/gfxgen/canvas.h"
#include "tools/gfxgen/font_face.h"
#include "tools/gfxgen/image.h"
#include "tools/gfxgen/png_writer.h"

namespace gfxgen {

// The colours every picture draws from.
namespace palette {
inline constexpr Colour kNearBlack{20, 16, 16};
inline constexpr Colour kOutlineRed{196, 32, 38};
inline constexpr Colour kSalmon{226, 179, 163};
inline constexpr Colour kScreenSalmon{177, 142, 130};
inline constexpr Colour kLightSalmon{243, 214, 203};
inline constexpr Colour kHighlight{253, 240, 233};
inline constexpr Colour kDarkBrown{82, 42, 34};
inline constexpr Colour kWarmRed{238, 78, 62};
inline constexpr Colour kDeepRed{150, 22, 34};
}  // namespace palette

inline constexpr int kLetterWidth = 145;
inline constexpr int kLetterHeight = 125;
inline constexpr int kBandWidth = 800;
inline constexpr int kBandHeight = 74;
inline constexpr std::size_t kBandMaxColours = 10;
inline constexpr int kPadWidth = 491;
inline constexpr int kPadHeight = 465;
inline constexpr int kLogoWidth = 746;
inline constexpr int kLogoHeight = 216;
inline constexpr int kIconSize = 256;

// One of the group tag's letters, near-black with a red outline, all three at one scale.
Image drawLetter(const FontFace& font, char32_t letter);
IndexedImage drawScrollBorders();
Image drawInfoPad();
Image drawLogo(const FontFace& font);
Image drawIcon(const FontFace& font);

struct PictureFile {
  std::string name;  // file name inside the output folder
  Bytes png;
};

// All pictures, encoded, in a fixed order. The middle letter is the one interlaced RGBA file.
std::vector<PictureFile> makeAllPictures(const FontFace& font);

}  // namespace gfxgen
