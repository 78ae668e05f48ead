// Frame timing: how long each presented frame took, as a factor that animation multiplies
// its per-step movement by (1.0 = 10 ms, so 60 fps gives about 1.67). It also counts frames
// per second, waits out frames that were too short, clamps the factor after frames that were
// too long (reporting that the machine runs slowly) and can be paused.
// It updates itself from the drawing layer's flip hook, once per Flip, before the frame is
// presented; the program only reads Delta::Factor.
// Depends on: media/draw2d (flip hook), media/platform (clock).
#pragma once

#include <string>

namespace timing {

// Class-level state only: no instance is ever made.
class Delta {
 public:
  Delta() = delete;

  static constexpr double kReferenceFrameMillis = 10.0;  // milliseconds per factor unit
  static constexpr double kFpsWindowMillis = 1000.0;     // length of a frames-per-second window

  // The factor of the last frame.
  static double Factor();
  // Bounds of the factor; stored as given, without checks.
  static void SetMinimumTimeFactor(double factor);
  static double GetMinimumTimeFactor();
  static void SetMaximumTimeFactor(double factor);
  static double GetMaximumTimeFactor();
  // 1 if the last frame's factor was clamped to the maximum.
  static int IsComputerSlow();
  // Frames counted in the last completed one-second window.
  static int GetFPS();

  // While paused, flips change nothing.
  static void PauseDeltaTiming();
  // Flushes, then runs again; does nothing while running.
  static void ResumeDeltaTiming();
  // Starts measuring afresh from now, so the next frame does not count the time before.
  static void FlushTiming();
  static int IsPaused();

  // Six lines: factor, FPS, paused or running, minimum, maximum, running slowly.
  static std::string DebugString();
};

// Subscribes Delta to the flip hook and starts its clock. The program calls it during
// start-up; later calls do nothing.
void InitDelta();

// Unsubscribes Delta and returns every value to its initial one, so that the next InitDelta
// starts afresh. For tests only.
void ResetDeltaForTesting();

}  // namespace timing
