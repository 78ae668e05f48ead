// A frame shaped like the disk's at 800x600, drawn through the front end on whichever
// driver is current: three faint logo letters, the scroll band, the information pad, the
// logo and sixty glyphs, twenty of them at the fractional positions of moving text. Both
// drivers' benchmarks draw this same frame, so their figures compare.
#pragma once

#include <memory>
#include <vector>

#include "media/draw2d/image.h"

namespace bench {

class DiskFrameScene {
 public:
  // Makes the pictures (no textures yet: those come with the first Draw on a display).
  DiskFrameScene();
  // Draws the frame with the scroll text moved `scroll` pixels to the left.
  void Draw(float scroll) const;
  // The next frame's scroll position: a letter's width covered at 1.37 pixels a frame.
  static float Advance(float scroll);

 private:
  std::shared_ptr<media::TImage> letters_[3];
  std::shared_ptr<media::TImage> band_;
  std::shared_ptr<media::TImage> pad_;
  std::shared_ptr<media::TImage> logo_;
  std::vector<std::shared_ptr<media::TImage>> glyphs_;
};

}  // namespace bench
