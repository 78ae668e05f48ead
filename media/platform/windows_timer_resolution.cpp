#include "media/platform/windows_timer_resolution.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, whose types it uses.
#include <timeapi.h>

#include <cstdlib>

namespace media {

namespace {

void RestoreTimerResolution() {
  timeEndPeriod(1);
}

}  // namespace

void RaiseTimerResolution() {
  // A function-local static runs this once, also when the first clocks are read from two
  // threads at the same time.
  static const bool raised = [] {
    if (timeBeginPeriod(1) != TIMERR_NOERROR) return false;
    // std::exit (the end of the program) and a return from main both run atexit handlers.
    std::atexit(RestoreTimerResolution);
    return true;
  }();
  (void)raised;
}

}  // namespace media
