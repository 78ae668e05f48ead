// The millisecond clock and sleep every timed part of the program goes through. The program
// uses the real clock; tests and the capture tool install a manual one, on which a one-second
// delay costs no real time.
// Depends on: SDL2 timer (real clock only).
#pragma once

#include <cstdint>

namespace media {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps as a signed 32-bit number, so compare
  // times by their difference, never by their order.
  virtual std::int32_t Millisecs() = 0;
  // Sleeps at least `ms` milliseconds (with 1 ms resolution); 0 or less returns at once.
  virtual void Delay(std::int32_t ms) = 0;
};

class RealClock final : public Clock {
 public:
  std::int32_t Millisecs() override;
  void Delay(std::int32_t ms) override;
};

// Time moves only when told: by Advance, or by Delay, which advances instead of sleeping.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(std::int32_t start = 0) : now_(static_cast<std::uint32_t>(start)) {}
  std::int32_t Millisecs() override { return static_cast<std::int32_t>(now_); }
  void Delay(std::int32_t ms) override;
  void Advance(std::int32_t ms) { now_ += static_cast<std::uint32_t>(ms); }
  std::int64_t totalDelayed() const { return totalDelayed_; }

 private:
  std::uint32_t now_;             // unsigned so that wrapping is defined
  std::int64_t totalDelayed_ = 0; // sum of all Delay requests, for tests
};

// The clock in use: the real one unless SetCurrentClock installed another.
Clock& CurrentClock();
// Installs `clock` (not owned); null restores the real clock.
void SetCurrentClock(Clock* clock);

inline std::int32_t Millisecs() { return CurrentClock().Millisecs(); }
inline void Delay(std::int32_t ms) { CurrentClock().Delay(ms); }

}  // namespace media
