#include "media/audio/channel.h"

#include <algorithm>

namespace media::audio {
namespace {

// The decode side tops a ring up only when this much room is free, so that it decodes in
// runs of whole MPEG frames rather than a few samples at a time.
constexpr std::size_t kMinDecodeRoom = 2048;

constexpr std::int64_t kHistoryMask = static_cast<std::int64_t>(Channel::kHistoryFrames) - 1;

// 4-point Catmull-Rom: passes through the source frames, continuous in slope, and exact
// for straight lines, so a slowing stream bends smoothly instead of in steps.
inline float Cubic(float xm1, float x0, float x1, float x2, float t) {
  return x0 +
         0.5f * t *
             (x1 - xm1 +
              t * (2.0f * xm1 - 5.0f * x0 + 4.0f * x1 - x2 + t * (3.0f * (x0 - x1) + x2 - xm1)));
}

// Adds `frames` source frames times `gain` to `out` and keeps their mono mix. The pointers
// never overlap, which lets the compiler vectorise the loop.
void AddScaled(const float* __restrict source, float* __restrict out, float* __restrict mono,
               std::size_t frames, float gain) {
  for (std::size_t j = 0; j < frames; ++j) {
    const float left = source[2 * j] * gain;
    const float right = source[2 * j + 1] * gain;
    out[2 * j] += left;
    out[2 * j + 1] += right;
    mono[j] = 0.5f * (left + right);
  }
}

}  // namespace

std::atomic<int> Channel::liveCount_{0};

Channel::Channel(std::unique_ptr<Decoder> decoder, bool looping, bool autoFree, int outputRate)
    : looping(looping),
      autoFree(autoFree),
      sourceRate(decoder->sampleRate()),
      outputRate(outputRate),
      frequency(static_cast<float>(decoder->sampleRate())),
      volume(1.0f),
      decoder_(std::move(decoder)),
      ring_(kRingFrames),
      history_(std::make_unique<float[]>(kHistoryFrames)) {
  liveCount_.fetch_add(1, std::memory_order_acq_rel);
}

Channel::~Channel() {
  liveCount_.fetch_sub(1, std::memory_order_acq_rel);
}

bool Channel::DecodeAhead() {
  bool decoded = false;
  while (!decodeEnded_ && ring_.FreeFrames() >= kMinDecodeRoom) {
    // Straight into the ring: no copy of the decoded frames.
    std::size_t room = 0;
    float* into = ring_.WriteSpan(room);
    const std::size_t got = decoder_->Read(into, room);
    if (got == 0) {
      // A looping stream goes on with its first frame: the ring holds the last frame of one
      // pass directly before the first of the next, which is what makes the seam exact.
      if (looping && framesSinceRewind_ > 0 && decoder_->Rewind()) {
        framesSinceRewind_ = 0;
        continue;
      }
      ring_.MarkEnd();
      decodeEnded_ = true;
      break;
    }
    framesSinceRewind_ += static_cast<std::int64_t>(got);
    ring_.Commit(got);
    decoded = true;
  }
  return decoded;
}

void Channel::RewindDecoder() {
  ring_.Reset();
  decodeEnded_ = false;
  framesSinceRewind_ = 0;
  if (!decoder_->Rewind()) {
    ring_.MarkEnd();
    decodeEnded_ = true;
  }
}

void Channel::ResetPlayback() {
  window_ = {};
  frac_ = 3.0;
  consumed_ = 0;
  padFrames_ = 0;
}

void Channel::Shift(const float* frame) {
  window_[0] = window_[1];
  window_[1] = window_[2];
  window_[2] = window_[3];
  window_[3] = {frame[0], frame[1]};
}

bool Channel::Advance(std::size_t& taken, std::size_t& available) {
  static constexpr float kSilence[2] = {0.0f, 0.0f};
  if (padFrames_ > 0) {
    // Past the end of the data: the last real frames leave the window one by one; the 3rd
    // silent frame would put silence where the output reads, so the stream has ended.
    Shift(kSilence);
    return ++padFrames_ < 3;
  }
  if (taken == available) {
    // The end mark is written after the last frame: read it first, and the count that
    // follows is final.
    const bool endMarked = ring_.EndMarked();
    available = ring_.AvailableFrames();
    if (taken == available) {
      if (!endMarked) return false;  // starved: the decode side is behind
      padFrames_ = 1;
      Shift(kSilence);
      return true;
    }
  }
  Shift(ring_.Peek(taken));
  ++taken;
  ++consumed_;
  return true;
}

void Channel::MixInto(float* out, int frames, std::int64_t firstFrame, std::int64_t nowMicros) {
  frequency.Sync(nowMicros, outputRate);
  volume.Sync(nowMicros, outputRate);
  std::size_t available = ring_.AvailableFrames();
  std::size_t taken = 0;
  // Catch up with the position the last block ended at (the window moves at the start of a
  // frame), so that a stream at its own pace is on a whole frame again.
  while (frac_ >= 1.0 && Advance(taken, available)) frac_ -= 1.0;
  int i = MixAtOwnPace(out, frames, firstFrame, available, taken);
  const double perOutputFrame = 1.0 / static_cast<double>(outputRate);
  bool ended = false;
  for (; i < frames; ++i) {
    bool ready = true;
    while (frac_ >= 1.0) {
      if (!Advance(taken, available)) {
        ready = false;
        ended = padFrames_ >= 3;
        break;
      }
      frac_ -= 1.0;
    }
    if (!ready) break;
    const float rate = frequency.Next();
    const float gain = volume.Next();
    float left = window_[1][0];
    float right = window_[1][1];
    if (frac_ != 0.0) {
      const auto t = static_cast<float>(frac_);
      left = Cubic(window_[0][0], window_[1][0], window_[2][0], window_[3][0], t);
      right = Cubic(window_[0][1], window_[1][1], window_[2][1], window_[3][1], t);
    }
    left *= gain;
    right *= gain;
    out[2 * i] += left;
    out[2 * i + 1] += right;
    history_[static_cast<std::size_t>((firstFrame + i) & kHistoryMask)] = 0.5f * (left + right);
    frac_ += static_cast<double>(rate) * perOutputFrame;
  }
  // A starved or ended channel is silent for the rest of the block; its slides go on.
  for (; i < frames; ++i) {
    frequency.Next();
    volume.Next();
    history_[static_cast<std::size_t>((firstFrame + i) & kHistoryMask)] = 0.0f;
  }
  ring_.Consume(taken);
  if (ended) state = PlayState::kEnded;
}

int Channel::MixAtOwnPace(float* out, int frames, std::int64_t firstFrame, std::size_t available,
                          std::size_t& taken) {
  // The usual case: a stream at its own rate (equal to the output's), nothing sliding, on a
  // whole source frame. Each output frame is then the next source frame, scaled; no
  // interpolation, and the frames are read straight from the ring.
  const bool steady = frac_ == 0.0 && padFrames_ == 0 && consumed_ >= 3 && !frequency.ramping() &&
                      !volume.ramping() && frequency.value() == static_cast<float>(outputRate);
  const int count =
      static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(frames), available - taken));
  if (!steady || count < 4) return 0;
  const float gain = volume.value();
  // The window holds the next three frames; the ring, from `taken` on, the ones after them.
  const std::size_t first = taken;
  auto add = [&](const float* source, int at, std::size_t length) {
    AddScaled(source, out + 2 * at, history_.get() + ((firstFrame + at) & kHistoryMask), length,
              gain);
  };
  for (int i = 0; i < 3; ++i) add(window_[static_cast<std::size_t>(i) + 1].data(), i, 1);
  for (int i = 3; i < count;) {
    // Runs that wrap neither in the ring nor in the history.
    const std::size_t offset = first + static_cast<std::size_t>(i - 3);
    const auto historyAt = static_cast<std::size_t>((firstFrame + i) & kHistoryMask);
    const std::size_t run = std::min({static_cast<std::size_t>(count - i),
                                      ring_.ContiguousFrom(offset), kHistoryFrames - historyAt});
    add(ring_.Peek(offset), i, run);
    i += static_cast<int>(run);
  }
  // The window moves on to the four frames last read: the next output frame is the
  // third-to-last of them.
  for (std::size_t k = 0; k < 4; ++k) {
    const float* frame = ring_.Peek(first + static_cast<std::size_t>(count) - 4 + k);
    window_[k] = {frame[0], frame[1]};
  }
  taken += static_cast<std::size_t>(count);
  consumed_ += count;
  return count;
}

void Channel::CopyMixedHistory(std::int64_t endFrame, float* out, std::size_t count) const {
  const std::int64_t first = endFrame - static_cast<std::int64_t>(count);
  // Frames from before this play began are silence.
  const auto silent = static_cast<std::size_t>(
      std::clamp<std::int64_t>(playStartFrame - first, 0, static_cast<std::int64_t>(count)));
  std::fill(out, out + silent, 0.0f);
  for (std::size_t n = silent; n < count;) {
    const auto at = static_cast<std::size_t>((first + static_cast<std::int64_t>(n)) & kHistoryMask);
    const std::size_t run = std::min(count - n, kHistoryFrames - at);
    std::copy(history_.get() + at, history_.get() + at + run, out + n);
    n += run;
  }
}

}  // namespace media::audio
