#include "media/draw2d/frame_pacing.h"

#include <algorithm>

#include "media/platform/clock.h"

namespace media {

namespace {

// A vertical blank comes once a frame; presents closer together than three quarters of a
// frame mean the swap does not wait for it (a driver or desktop setting overrides ours, or
// the display runs faster than it says) and every frame-counted animation would race. After
// a run of them the clock paces instead. A single quick present is normal: the one after a
// late frame meets the very next blank.
constexpr int kQuickPresentsBeforeTimerPacing = 8;

std::uint32_t Now() {
  return static_cast<std::uint32_t>(Millisecs());
}

}  // namespace

void TFramePacer::SetUp(int depth, int hertz, TCanvasDriver& driver) {
  hertz = std::max(hertz, 0);
  if (depth != 0) {
    // Full screen syncs to the display when it runs at our rate; at any other rate every
    // frame-counted animation would change speed, so the clock paces it as in a window.
    vsync_ = hertz != 0 && driver.CanSyncToDisplay(hertz);
    clockPacing_ = hertz != 0 && !vsync_;
    // The clock then chooses which blank shows each frame (every second one at 120 Hz, the
    // next after each deadline at 144 Hz), and the present waits for it: nothing tears.
    pacedOnBlank_ = clockPacing_ && driver.CanPresentOnBlank();
  } else {
    vsync_ = false;
    clockPacing_ = hertz != 0;
    pacedOnBlank_ = false;
  }
  hertz_ = hertz;
  interval_ = hertz != 0 ? 1000 / hertz : 0;
  remainder_ = 1000 - interval_ * hertz;
  accumulator_ = 0;
  nextFrame_ = Now();
  lastPresent_ = nextFrame_;
  quickVsyncPresents_ = 0;
}

FlipResult TFramePacer::Present(TCanvasDriver& driver, int sync) {
  if (sync != -1) return driver.Flip(sync);
  if (clockPacing_ || (vsync_ && !driver.DisplayShown())) {
    // The clock paces windows, displays at other rates, and a minimised or hidden window
    // even at our rate: it has no vertical blank to wait for (its swap may return at once and
    // the loop would spin). The frame is finished before the wait, so that the present after
    // it takes the same short time every frame.
    driver.FinishFrame();
    WaitForNextFrame();
    const FlipResult result = driver.Flip(pacedOnBlank_ && driver.DisplayShown() ? 1 : 0);
    lastPresent_ = Now();
    return result;
  }
  if (vsync_) {
    const FlipResult result = driver.Flip(1);
    NoteVsyncPresent();
    return result;
  }
  return driver.Flip(0);
}

// Waits until the frame is due. 60 Hz: 16 ms a frame plus 40 ms spread over the second, so
// exactly 60 frames per 1000 ms. A late frame goes out at once and the next one is due an
// interval after it: lost time is not caught up.
void TFramePacer::WaitForNextFrame() {
  nextFrame_ += static_cast<std::uint32_t>(interval_);
  accumulator_ += remainder_;
  if (accumulator_ >= hertz_) {
    accumulator_ -= hertz_;
    nextFrame_ += 1;
  }
  const auto wait = static_cast<std::int32_t>(nextFrame_ - Now());
  if (wait > 0) {
    Delay(wait);
  } else {
    nextFrame_ = Now();
  }
}

void TFramePacer::NoteVsyncPresent() {
  const std::uint32_t now = Now();
  const auto took = static_cast<std::int32_t>(now - lastPresent_);
  lastPresent_ = now;
  nextFrame_ = now;  // where timer pacing starts from if the window is hidden next
  if (4 * took >= 3 * interval_) {
    quickVsyncPresents_ = 0;
  } else if (++quickVsyncPresents_ >= kQuickPresentsBeforeTimerPacing) {
    vsync_ = false;
    clockPacing_ = true;
    pacedOnBlank_ = true;  // harmless where swaps never wait, right where blanks come faster
  }
}

}  // namespace media
