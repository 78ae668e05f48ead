// A channel attribute (playback frequency or volume) that can slide linearly to a target.
// The main thread files requests; the mixer plays the ramp out one output frame at a time,
// so a slide never steps audibly. The ramp runs in output frames while the output plays and
// catches up with real time when the output was paused or starved, so a slide always ends
// after its duration in real time.
// Depends on: nothing.
#pragma once

#include <cstdint>

namespace media::audio {

class SlidingValue {
 public:
  explicit SlidingValue(float value) : value_(value), from_(value), to_(value) {}

  // Main thread (under the engine lock) --------------------------------------------------------
  // Slides to `target` over `durationMicros`, starting at `nowMicros`; 0 sets it at once.
  // Replaces any slide still running.
  void Request(float target, std::int64_t durationMicros, std::int64_t nowMicros) {
    requestTarget_ = target;
    requestDuration_ = durationMicros > 0 ? durationMicros : 0;
    requestStart_ = nowMicros;
    ++requestSerial_;
  }
  // True until the last request's duration has passed in real time.
  bool SlidingAt(std::int64_t nowMicros) const {
    return requestDuration_ > 0 && nowMicros - requestStart_ < requestDuration_;
  }

  // Mixer (under the engine lock) ----------------------------------------------------------------
  // Takes up a new request and, when real time has run ahead of the ramp by more than the
  // catch-up margin (the output was paused or starved), skips the ramp forward to it.
  void Sync(std::int64_t nowMicros, int outputRate) {
    if (requestSerial_ != startedSerial_) {
      startedSerial_ = requestSerial_;
      from_ = value_;  // a replaced slide goes on from where it had got: no jump
      to_ = requestTarget_;
      done_ = 0;
      length_ = requestDuration_ * outputRate / 1'000'000;
      value_ = ValueAt(0);
    }
    if (done_ >= length_) return;
    const std::int64_t realFrames = (nowMicros - requestStart_) * outputRate / 1'000'000;
    if (realFrames - done_ > outputRate / 10) {
      done_ = realFrames < length_ ? realFrames : length_;
      value_ = ValueAt(done_);
    }
  }
  // The value for the next output frame; then the ramp moves one frame on.
  float Next() {
    const float current = value_;
    if (done_ < length_) value_ = ValueAt(++done_);
    return current;
  }
  // The value the next output frame gets.
  float value() const { return value_; }
  // A ramp is being played out (as of the last Sync).
  bool ramping() const { return done_ < length_; }

 private:
  // Frame `frame` of the ramp; frame 0 is the value it starts from, frame length_ and on
  // the target.
  float ValueAt(std::int64_t frame) const {
    if (frame >= length_) return to_;
    return from_ + (to_ - from_) * static_cast<float>(static_cast<double>(frame) /
                                                      static_cast<double>(length_));
  }

  // The request, written by the main thread.
  float requestTarget_ = 0.0f;
  std::int64_t requestDuration_ = 0;  // microseconds; 0 = set at once
  std::int64_t requestStart_ = 0;     // time-source microseconds of the request
  std::uint32_t requestSerial_ = 0;   // bumped by every request

  // The ramp, played out by the mixer.
  float value_;                      // the value of the next frame to mix
  float from_;                       // value when the ramp started
  float to_;                         // value the ramp ends at
  std::int64_t done_ = 0;            // frames of the ramp played
  std::int64_t length_ = 0;          // frames the ramp lasts
  std::uint32_t startedSerial_ = 0;  // the request the ramp belongs to
};

}  // namespace media::audio
