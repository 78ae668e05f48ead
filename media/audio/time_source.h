// Time source of the audio engine: slides are timed against it, and the FFT estimates how far
// the device has played since its last callback. The engine normally uses the steady clock;
// tests install a manual one so that a 500 ms slide costs no real time.
// Depends on: nothing.
#pragma once

#include <atomic>
#include <cstdint>

namespace media::audio {

class TimeSource {
 public:
  virtual ~TimeSource() = default;
  // Microseconds since an arbitrary start; never goes backwards. Called from the main thread
  // and from the output callback, so it must not block.
  virtual std::int64_t NowMicros() = 0;
};

class SteadyTimeSource final : public TimeSource {
 public:
  std::int64_t NowMicros() override;
};

// Moves only when told. Safe to read from the output thread while a test advances it.
class ManualTimeSource final : public TimeSource {
 public:
  std::int64_t NowMicros() override { return now_.load(std::memory_order_acquire); }
  void AdvanceMillis(std::int64_t ms) { now_.fetch_add(ms * 1000, std::memory_order_acq_rel); }
  void AdvanceMicros(std::int64_t us) { now_.fetch_add(us, std::memory_order_acq_rel); }

 private:
  std::atomic<std::int64_t> now_{0};
};

}  // namespace media::audio
