// The disk started as the program starts it, on a drawing driver of the benchmark's choice:
// its pictures, fonts and first track, on a hand-pulled audio output and a manual clock (the
// paced Flip's wait moves the clock instead of sleeping). Benchmarks that time the program's
// own frames start it once per process and keep it running between their runs.
#pragma once

#include <vector>

#include "app/app_state.h"
#include "media/audio/manual_output.h"
#include "media/audio/time_source.h"
#include "media/draw2d/canvas_driver.h"
#include "media/platform/clock.h"

namespace bench {

class RunningDisk {
 public:
  // Starts the disk on `driver` as far as its first frame; Failure() says when it could not.
  explicit RunningDisk(media::TCanvasDriver* driver);
  RunningDisk(const RunningDisk&) = delete;
  RunningDisk& operator=(const RunningDisk&) = delete;

  // Why the disk could not start, or null.
  const char* Failure() const { return failure_; }
  // A video frame's music heard, as the audio thread mixes it in the program: the letters
  // and the spectrum follow it.
  void Hear();

  app::AppState state;

 private:
  static constexpr int kAudioFramesPerVideoFrame = 735;  // 44100 / 60

  media::ManualClock clock_;
  media::audio::ManualTimeSource audioTime_;
  media::audio::ManualOutput* output_ = nullptr;  // owned by the engine
  std::vector<float> heard_ = std::vector<float>(2 * kAudioFramesPerVideoFrame);
  const char* failure_ = nullptr;
};

}  // namespace bench
