// gfxgen: draws the program's pictures into a folder.
//   gfxgen --font <bold display font> --out <folder>
// The output depends only on the font file: the same font gives the same bytes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "tools/gfxgen/font_face.h"
#include "tools/gfxgen/pictures.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: gfxgen --font <font file> --out <folder>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path fontFile;
  std::filesystem::path outDir;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (i + 1 >= argc) return usage();
    if (arg == "--font") {
      fontFile = argv[++i];
    } else if (arg == "--out") {
      outDir = argv[++i];
    } else {
      return usage();
    }
  }
  if (fontFile.empty() || outDir.empty()) return usage();

  try {
    const gfxgen::FontFace font(fontFile);
    std::filesystem::create_directories(outDir);
    for (const gfxgen::PictureFile& picture : gfxgen::makeAllPictures(font)) {
      const std::filesystem::path file = outDir / picture.name;
      gfxgen::writeFile(file, picture.png);
      std::printf("gfxgen: wrote %s (%zu bytes)\n", file.c_str(), picture.png.size());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gfxgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
