#include "timing/delta.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"

namespace timing {

namespace {

struct DeltaState {
  int paused = 0;                   // 1 while timing is paused
  double timeFactor = 0.0;          // factor of the last update; what Factor returns
  double lastUpdateTime = 0.0;      // clock at the last update or flush, ms
  double minimumTimeFactor = 0.25;  // shorter frames are waited out
  double maximumTimeFactor = 5.0;   // longer frames are clamped
  std::int32_t fpsWindowStart = 0;  // start of the current frames-per-second window, ms
  std::int32_t framesThisWindow = 0;
  std::int32_t currentFps = 0;  // count of the last completed window
  int runningSlowly = 0;        // 1 if the last update clamped to the maximum
  bool subscribed = false;      // InitDelta has run
};

DeltaState& State() {
  static DeltaState state;
  return state;
}

double ClockNow() {
  return static_cast<double>(media::Millisecs());
}

void UpdateTiming() {
  DeltaState& s = State();
  double now = ClockNow();
  // The absolute difference keeps the factor positive when the 32-bit clock wraps.
  s.timeFactor = std::fabs(now - s.lastUpdateTime) / Delta::kReferenceFrameMillis;
  // Caps the frame rate: with the default minimum a frame lasts at least 3 clock ticks.
  while (s.timeFactor < s.minimumTimeFactor) {
    media::Delay(1);
    now = ClockNow();
    s.timeFactor = std::fabs(now - s.lastUpdateTime) / Delta::kReferenceFrameMillis;
  }
  s.lastUpdateTime = now;
  if (s.timeFactor > s.maximumTimeFactor) {
    s.timeFactor = s.maximumTimeFactor;
    s.runningSlowly = 1;
  } else {
    s.runningSlowly = 0;
  }
  s.framesThisWindow += 1;
  // The frame that closes a window counts in it; the next window starts at its time.
  if (std::fabs(static_cast<double>(s.fpsWindowStart) - now) > Delta::kFpsWindowMillis) {
    s.currentFps = s.framesThisWindow;
    s.framesThisWindow = 0;
    s.fpsWindowStart = static_cast<std::int32_t>(now);
  }
}

void OnFlip(void* /*context*/) {
  if (State().paused == 0) UpdateTiming();
}

std::string FormatDouble(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%#.17lg", value);
  return text;
}

}  // namespace

double Delta::Factor() {
  return State().timeFactor;
}

void Delta::SetMinimumTimeFactor(double factor) {
  State().minimumTimeFactor = factor;
}

double Delta::GetMinimumTimeFactor() {
  return State().minimumTimeFactor;
}

void Delta::SetMaximumTimeFactor(double factor) {
  State().maximumTimeFactor = factor;
}

double Delta::GetMaximumTimeFactor() {
  return State().maximumTimeFactor;
}

int Delta::IsComputerSlow() {
  return State().runningSlowly;
}

int Delta::GetFPS() {
  return State().currentFps;
}

void Delta::PauseDeltaTiming() {
  State().paused = 1;
}

void Delta::ResumeDeltaTiming() {
  if (State().paused != 1) return;
  FlushTiming();
  State().paused = 0;
}

void Delta::FlushTiming() {
  DeltaState& s = State();
  s.lastUpdateTime = ClockNow();
  s.fpsWindowStart = media::Millisecs();
  s.framesThisWindow = 0;
}

int Delta::IsPaused() {
  return State().paused;
}

std::string Delta::DebugString() {
  const DeltaState& s = State();
  std::string text;
  text += "Current delta time factor: " + FormatDouble(s.timeFactor) + "\n";
  text += "Current FPS: " + std::to_string(s.currentFps) + "\n";
  text += IsPaused() != 0 ? "Delta time paused.\n" : "Delta time running.\n";
  text += "Minimum time factor: " + FormatDouble(s.minimumTimeFactor) + "\n";
  text += "Maximum time factor: " + FormatDouble(s.maximumTimeFactor) + "\n";
  text += s.runningSlowly != 0 ? "Application running slowly: TRUE\n"
                               : "Application running slowly: FALSE\n";
  return text;
}

void InitDelta() {
  DeltaState& s = State();
  if (s.subscribed) return;
  s.subscribed = true;
  media::AddFlipHook(&OnFlip, nullptr, 0);
  s.lastUpdateTime = ClockNow();
  s.fpsWindowStart = media::Millisecs();
}

void ResetDeltaForTesting() {
  media::RemoveFlipHook(&OnFlip, nullptr);
  State() = DeltaState{};
}

}  // namespace timing
