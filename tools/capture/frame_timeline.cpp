#include "tools/capture/frame_timeline.h"

namespace capture {

void FrameTimeline::Delay(std::int32_t ms) {
  if (ms <= 0) return;
  const std::int64_t until = now_ + ms;
  while (FrameEndMillis(ended_ + 1) <= until) EndNextFrame(false);
  now_ = until;
}

void FrameTimeline::PictureFinished() {
  EndNextFrame(true);
}

void FrameTimeline::EndNextFrame(bool drawn) {
  ++ended_;
  now_ = FrameEndMillis(ended_);
  onFrameEnded_(ended_, drawn);
}

}  // namespace capture
