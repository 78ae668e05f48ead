#include "media/platform/clock.h"

#include <SDL.h>

#if defined(_WIN32)
#include "media/platform/windows_timer_resolution.h"
#endif

namespace media {

namespace {

Clock* installedClock = nullptr;  // null while the real clock is in use

}  // namespace

std::int32_t RealClock::Millisecs() {
  // SDL counts unsigned 32-bit milliseconds; the same bits read as a signed number wrap
  // the way every caller expects (they compare differences only).
  return static_cast<std::int32_t>(SDL_GetTicks());
}

void RealClock::Delay(std::int32_t ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

void ManualClock::Delay(std::int32_t ms) {
  if (ms <= 0) return;
  Advance(ms);
  totalDelayed_ += ms;
}

Clock& CurrentClock() {
  static RealClock realClock;
#if defined(_WIN32)
  // The first read of the clock is the start of the program's timing.
  RaiseTimerResolution();
#endif
  return installedClock != nullptr ? *installedClock : realClock;
}

void SetCurrentClock(Clock* clock) {
  installedClock = clock;
}

}  // namespace media
