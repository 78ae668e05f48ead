// How the front end paces the frames of a display at its frame rate (60 fps for the
// program): on the vertical blank where a full-screen display runs at that rate, otherwise
// by the clock, and then on the blank the clock picks where the device can wait for one.
// Depends on: canvas_driver, media/platform clock.
#pragma once

#include <cstdint>

#include "media/draw2d/canvas_driver.h"

namespace media {

class TFramePacer {
 public:
  // Chooses the pacing of a display just opened with `driver`; depth 0 = a window, hertz 0
  // = no pacing at all.
  void SetUp(int depth, int hertz, TCanvasDriver& driver);
  // Presents the frame: sync -1 paces as chosen, any other value goes to the driver as it is.
  FlipResult Present(TCanvasDriver& driver, int sync);

 private:
  void WaitForNextFrame();
  void NoteVsyncPresent();

  bool vsync_ = false;         // present on the vertical blank (full screen at its own rate)
  bool clockPacing_ = false;   // wait out each frame by the clock instead
  bool pacedOnBlank_ = false;  // ... and then present on the next vertical blank
  int hertz_ = 0;
  int interval_ = 0;               // whole milliseconds per frame: 1000 / hertz
  int remainder_ = 0;              // 1000 - interval * hertz, spread over the second
  int accumulator_ = 0;            // remainder collected so far; a whole hertz adds 1 ms
  std::uint32_t nextFrame_ = 0;    // clock time the next frame is due (wraps like the clock)
  std::uint32_t lastPresent_ = 0;  // clock time of the last paced present
  int quickVsyncPresents_ = 0;     // vertical-blank presents in a row that came far too soon
};

}  // namespace media
