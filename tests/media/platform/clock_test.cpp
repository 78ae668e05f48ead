#include "media/platform/clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace media {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ManualClock, MovesOnlyWhenToldAndDelayCostsNoRealTime) {
  ManualClock clock(500);
  EXPECT_EQ(clock.Millisecs(), 500);
  EXPECT_EQ(clock.Millisecs(), 500);
  clock.Advance(16);
  EXPECT_EQ(clock.Millisecs(), 516);
  clock.Delay(1000);
  EXPECT_EQ(clock.Millisecs(), 1516);
  clock.Delay(0);
  clock.Delay(-20);  // returns at once and moves nothing
  EXPECT_EQ(clock.Millisecs(), 1516);
  EXPECT_EQ(clock.totalDelayed(), 1000);
}

TEST(ManualClock, WrapsLikeASigned32BitCounterAndDifferencesStayRight) {
  ManualClock clock(kMax - 5);
  const std::int32_t before = clock.Millisecs();
  clock.Advance(10);
  const std::int32_t after = clock.Millisecs();
  EXPECT_LT(after, 0);  // the counter wrapped to negative values
  EXPECT_EQ(after, std::numeric_limits<std::int32_t>::min() + 4);
  // Callers compare by difference, computed the way it wraps.
  EXPECT_EQ(static_cast<std::int32_t>(static_cast<std::uint32_t>(after) -
                                      static_cast<std::uint32_t>(before)),
            10);

  clock.Delay(kMax);  // long delays wrap too, without overflow
  clock.Delay(kMax);
  EXPECT_EQ(clock.totalDelayed(), 2 * static_cast<std::int64_t>(kMax));
}

TEST(CurrentClock, IsTheRealClockUnlessAnotherIsInstalled) {
  ManualClock manual(42);
  SetCurrentClock(&manual);
  EXPECT_EQ(&CurrentClock(), &manual);
  EXPECT_EQ(Millisecs(), 42);
  Delay(8);  // through the free functions
  EXPECT_EQ(manual.Millisecs(), 50);

  SetCurrentClock(nullptr);
  EXPECT_NE(dynamic_cast<RealClock*>(&CurrentClock()), nullptr);
}

TEST(RealClock, DelayLetsAtLeastTheRequestedTimePass) {
  // A lower bound only: sleeping may take longer, never shorter.
  RealClock clock;
  const std::int32_t before = clock.Millisecs();
  clock.Delay(5);
  const std::int32_t after = clock.Millisecs();
  EXPECT_GE(static_cast<std::int32_t>(static_cast<std::uint32_t>(after) -
                                      static_cast<std::uint32_t>(before)),
            5);
}

}  // namespace
}  // namespace media
