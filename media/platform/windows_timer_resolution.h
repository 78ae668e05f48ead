// The Windows timer's resolution: 15.6 ms unless a program asks for finer, which would make
// every 1 ms sleep of the frame pacing last a whole tick. Raised to 1 ms on the first use of
// the real clock and given back when the process ends.
// Depends on: winmm (timeBeginPeriod, timeEndPeriod). Built on Windows only.
#pragma once

namespace media {

// Raises the resolution to 1 ms once per process; later calls do nothing. The matching
// release runs from the process's exit handlers, on every way out of the program.
void RaiseTimerResolution();

}  // namespace media
