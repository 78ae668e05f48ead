// The capture's clock: the program's millisecond clock cut into video frames of exactly
// 1/60 s. Frame k (from 1) ends at floor(k * 1000 / 60) ms, so every 1000 ms holds 60
// frames. Time moves only in two ways, and each frame ends exactly once:
// - the program presents a picture it has finished drawing: that picture belongs to the
//   frame the clock is in, which ends there; the next picture is drawn from the next frame's
//   start. The frame pacing's own short wait then stays inside that next frame.
// - the program waits (Delay): every frame whose end the wait passes ends holding the
//   picture shown before, which is what a screen shows while a program sleeps (the track
//   change's wind-down and loading second).
// Depends on: media/platform clock.
#pragma once

#include <cstdint>
#include <functional>

#include "media/platform/clock.h"

namespace capture {

class FrameTimeline final : public media::Clock {
 public:
  // Called as each frame ends, with the clock at its end. `drawn` is true for a frame
  // whose picture was just finished, false for one that holds the previous picture.
  using FrameEnded = std::function<void(std::int64_t frame, bool drawn)>;

  explicit FrameTimeline(FrameEnded onFrameEnded) : onFrameEnded_(std::move(onFrameEnded)) {}

  std::int32_t Millisecs() override { return static_cast<std::int32_t>(now_); }
  void Delay(std::int32_t ms) override;

  // The program finished a picture: the frame the clock is in ends now, showing it.
  void PictureFinished();

  std::int64_t framesEnded() const { return ended_; }
  std::int64_t nowMillis() const { return now_; }

  // Milliseconds from the start to the end of frame `frame`.
  static std::int64_t FrameEndMillis(std::int64_t frame) { return frame * 1000 / 60; }

 private:
  void EndNextFrame(bool drawn);

  FrameEnded onFrameEnded_;
  std::int64_t now_ = 0;    // ms since the capture began
  std::int64_t ended_ = 0;  // frames ended so far: the clock is inside frame ended_ + 1
};

}  // namespace capture
