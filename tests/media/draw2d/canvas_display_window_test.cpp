// Where the picture goes in a drawable of another size: full screen, HiDPI, odd windows.
#include <gtest/gtest.h>

#include "media/draw2d/display_window.h"

namespace media {
namespace {

void ExpectRect(const SDL_Rect& r, int x, int y, int w, int h) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.w, w);
  EXPECT_EQ(r.h, h);
}

TEST(DisplayWindow, ThePictureIsScaledUniformlyAndCentredBetweenBars) {
  {
    SCOPED_TRACE("a window of the picture's size: 1:1");
    ExpectRect(FitPicture(800, 600, 800, 600), 0, 0, 800, 600);
  }
  {
    SCOPED_TRACE("HiDPI at twice the density: the whole drawable");
    ExpectRect(FitPicture(1600, 1200, 800, 600), 0, 0, 1600, 1200);
  }
  {
    SCOPED_TRACE("a 16:9 desktop: as high as the screen, bars left and right");
    ExpectRect(FitPicture(1920, 1080, 800, 600), 240, 0, 1440, 1080);
    ExpectRect(FitPicture(1280, 720, 800, 600), 160, 0, 960, 720);
  }
  {
    SCOPED_TRACE("a portrait screen: bars above and below");
    ExpectRect(FitPicture(800, 1000, 800, 600), 0, 200, 800, 600);
  }
  {
    SCOPED_TRACE("a 16:10 desktop of odd size");
    const SDL_Rect r = FitPicture(1366, 768, 800, 600);
    ExpectRect(r, 171, 0, 1024, 768);
  }
  {
    SCOPED_TRACE("nothing to draw into");
    ExpectRect(FitPicture(0, 0, 800, 600), 0, 0, 0, 0);
  }
}

}  // namespace
}  // namespace media
