// Opens the display the way the program does and keeps presenting, for a few seconds, the
// disk's clear colour with a white 100 x 100 square in the picture's top-left corner and,
// below it, a white bar 100.5 wide and 10 high, so that a screenshot of the X display can be
// checked.
// Usage: canvas_display_probe gl|soft DEPTH SECONDS (DEPTH 0 = a window, 32 = full screen).
// Prints the driver that got the display.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/draw2d/canvas.h"
#include "media/draw2d/soft/soft_driver.h"
#include "media/platform/app_title.h"
#include "media/platform/polled_input.h"

int main(int argc, char** argv) {
  const std::string driver = argc > 1 ? argv[1] : "gl";
  const int depth = argc > 2 ? std::atoi(argv[2]) : 0;
  const int seconds = argc > 3 ? std::atoi(argv[3]) : 3;
  media::SetAppTitle(u"Display probe");
  media::SetGraphicsDriver(driver == "soft" ? media::SoftCanvasDriver() : media::GLCanvasDriver(),
                           media::kGraphicsBackBuffer);
  if (!media::Graphics(800, 600, depth, 60, 0)) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  std::printf("%s\n", media::CurrentDriver() == media::GLCanvasDriver() ? "gl" : "soft");
  std::fflush(stdout);
  media::SetClsColor(177, 142, 130);
  for (int frame = 0; frame < seconds * 60; ++frame) {
    media::Cls();
    media::DrawRect(0.0f, 0.0f, 100.0f, 100.0f);
    media::DrawRect(0.0f, 100.0f, 100.5f, 10.0f);
    media::Flip(-1);
    media::PollSystem();
  }
  media::CloseGraphics();
  return 0;
}
