// Delta on the manual clock, driven through the drawing layer's Flip as in the program.
#include <gtest/gtest.h>

#include <cstdint>

#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"
#include "timing/delta.h"

namespace timing {
namespace {

class DeltaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDeltaForTesting();
    media::ResetCanvasForTesting();
    media::SetCurrentClock(&clock_);
  }
  void TearDown() override {
    ResetDeltaForTesting();
    media::SetCurrentClock(nullptr);
  }

  // A frame of `ms` milliseconds, then its Flip. No display is open: Flip still runs the hook.
  void Frame(int ms) {
    clock_.Advance(ms);
    media::Flip(-1);
  }

  media::ManualClock clock_{10000};
};

TEST_F(DeltaTest, BeforeTheFirstFlipEverythingIsZero) {
  InitDelta();
  EXPECT_EQ(Delta::Factor(), 0.0);
  EXPECT_EQ(Delta::GetFPS(), 0);
  EXPECT_EQ(Delta::IsComputerSlow(), 0);
  EXPECT_EQ(Delta::IsPaused(), 0);
  EXPECT_EQ(Delta::DebugString(),
            "Current delta time factor: 0.0000000000000000\n"
            "Current FPS: 0\n"
            "Delta time running.\n"
            "Minimum time factor: 0.25000000000000000\n"
            "Maximum time factor: 5.0000000000000000\n"
            "Application running slowly: FALSE\n");
}

TEST_F(DeltaTest, TheFirstFlipMeasuresFromInitialisation) {
  InitDelta();
  Frame(1500);  // the question box and opening the display
  EXPECT_EQ(Delta::Factor(), 5.0);
  EXPECT_EQ(Delta::IsComputerSlow(), 1);
  Frame(16);
  EXPECT_DOUBLE_EQ(Delta::Factor(), 1.6);
  EXPECT_EQ(Delta::IsComputerSlow(), 0);
}

TEST_F(DeltaTest, LongFramesAreClampedAndShortOnesWaitedOut) {
  InitDelta();
  Frame(10);
  {
    SCOPED_TRACE("50 ms is the maximum itself, 51 ms is slow");
    Frame(50);
    EXPECT_EQ(Delta::Factor(), 5.0);
    EXPECT_EQ(Delta::IsComputerSlow(), 0);
    Frame(51);
    EXPECT_EQ(Delta::Factor(), 5.0);
    EXPECT_EQ(Delta::IsComputerSlow(), 1);
  }
  {
    SCOPED_TRACE("1 and 2 ms frames are stretched to 3 ms in 1 ms sleeps");
    std::int64_t slept = clock_.totalDelayed();
    Frame(1);
    EXPECT_DOUBLE_EQ(Delta::Factor(), 0.3);
    EXPECT_EQ(clock_.totalDelayed() - slept, 2);
    slept = clock_.totalDelayed();
    Frame(2);
    EXPECT_DOUBLE_EQ(Delta::Factor(), 0.3);
    EXPECT_EQ(clock_.totalDelayed() - slept, 1);
    slept = clock_.totalDelayed();
    Frame(0);
    EXPECT_DOUBLE_EQ(Delta::Factor(), 0.3);
    EXPECT_EQ(clock_.totalDelayed() - slept, 3);
    // The wait counts towards the next frame: it starts after it.
    Frame(16);
    EXPECT_DOUBLE_EQ(Delta::Factor(), 1.6);
  }
}

TEST_F(DeltaTest, AWrappedClockStillGivesAPositiveFactor) {
  media::ManualClock nearWrap(0x7FFFFFF0);
  media::SetCurrentClock(&nearWrap);
  InitDelta();
  nearWrap.Advance(0x20);  // the signed reading jumps from +2^31 - 16 to -2^31 + 16
  media::Flip(-1);
  EXPECT_EQ(Delta::Factor(), 5.0);
  EXPECT_EQ(Delta::IsComputerSlow(), 1);
}

TEST_F(DeltaTest, FramesPerSecondCountTheWindowThatTheClosingFrameEnds) {
  InitDelta();
  for (int frame = 1; frame <= 100; ++frame) Frame(10);  // 1000 ms: not more than the window
  EXPECT_EQ(Delta::GetFPS(), 0);
  Frame(10);  // 1010 ms after the window started: it closes with this frame in it
  EXPECT_EQ(Delta::GetFPS(), 101);
  for (int frame = 1; frame <= 100; ++frame) Frame(10);
  EXPECT_EQ(Delta::GetFPS(), 101);
  Frame(20);  // the second window started at the closing frame's time
  EXPECT_EQ(Delta::GetFPS(), 101);
  for (int frame = 1; frame <= 40; ++frame) Frame(25);
  EXPECT_EQ(Delta::GetFPS(), 101);  // exactly 1000 ms into the third window
  Frame(25);
  EXPECT_EQ(Delta::GetFPS(), 41);
}

TEST_F(DeltaTest, PausingFreezesEverythingAndResumingFlushes) {
  InitDelta();
  Frame(20);
  Delta::PauseDeltaTiming();
  EXPECT_EQ(Delta::IsPaused(), 1);
  Frame(300);
  Frame(700);
  EXPECT_DOUBLE_EQ(Delta::Factor(), 2.0);
  EXPECT_EQ(Delta::IsComputerSlow(), 0);
  EXPECT_EQ(Delta::GetFPS(), 0);
  EXPECT_NE(Delta::DebugString().find("Delta time paused.\n"), std::string::npos);
  Delta::ResumeDeltaTiming();
  EXPECT_EQ(Delta::IsPaused(), 0);
  Frame(16);  // measured from the resume, not from before the pause
  EXPECT_DOUBLE_EQ(Delta::Factor(), 1.6);
  EXPECT_EQ(Delta::IsComputerSlow(), 0);

  // Resuming while running does not flush.
  clock_.Advance(30);
  Delta::ResumeDeltaTiming();
  Frame(10);
  EXPECT_DOUBLE_EQ(Delta::Factor(), 4.0);
}

TEST_F(DeltaTest, FlushingRestartsMeasurementButKeepsTheResults) {
  InitDelta();
  Frame(100);
  for (int frame = 0; frame < 91; ++frame) Frame(10);  // the window closes 1010 ms in
  ASSERT_EQ(Delta::GetFPS(), 92);
  Frame(100);
  ASSERT_EQ(Delta::IsComputerSlow(), 1);
  clock_.Advance(500);
  Delta::FlushTiming();
  EXPECT_EQ(Delta::Factor(), 5.0);
  EXPECT_EQ(Delta::GetFPS(), 92);
  EXPECT_EQ(Delta::IsComputerSlow(), 1);
  Frame(20);  // measured from the flush
  EXPECT_DOUBLE_EQ(Delta::Factor(), 2.0);
  EXPECT_EQ(Delta::IsComputerSlow(), 0);
  // The window restarted at the flush, empty.
  for (int frame = 0; frame < 49; ++frame) Frame(20);
  EXPECT_EQ(Delta::GetFPS(), 92);  // exactly 1000 ms after the flush
  Frame(20);
  EXPECT_EQ(Delta::GetFPS(), 51);
}

TEST_F(DeltaTest, BoundsAreTakenAsGiven) {
  InitDelta();
  Frame(10);
  Delta::SetMinimumTimeFactor(10.0);
  Delta::SetMaximumTimeFactor(5.0);
  EXPECT_EQ(Delta::GetMinimumTimeFactor(), 10.0);
  EXPECT_EQ(Delta::GetMaximumTimeFactor(), 5.0);
  // Every frame waits until 100 ms, then is clamped to the maximum.
  const std::int64_t slept = clock_.totalDelayed();
  Frame(10);
  EXPECT_EQ(clock_.totalDelayed() - slept, 90);
  EXPECT_EQ(Delta::Factor(), 5.0);
  EXPECT_EQ(Delta::IsComputerSlow(), 1);

  // A minimum of zero never waits.
  Delta::SetMinimumTimeFactor(0.0);
  Delta::SetMaximumTimeFactor(5.0);
  Frame(0);
  EXPECT_EQ(Delta::Factor(), 0.0);
  EXPECT_NE(Delta::DebugString().find("Minimum time factor: 0.0000000000000000\n"),
            std::string::npos);
}

TEST_F(DeltaTest, InitialisingTwiceSubscribesOnce) {
  InitDelta();
  InitDelta();
  Frame(16);
  // A second subscription would measure 0 ms, wait 3 and leave 0.3.
  EXPECT_DOUBLE_EQ(Delta::Factor(), 1.6);
  EXPECT_EQ(clock_.totalDelayed(), 0);
}

double factorSeenByLaterHook = -1.0;
void RecordFactor(void*) {
  factorSeenByLaterHook = Delta::Factor();
}

TEST_F(DeltaTest, UpdatesBeforeLaterHooks) {
  InitDelta();
  media::AddFlipHook(RecordFactor, nullptr, 100);
  Frame(25);
  EXPECT_DOUBLE_EQ(factorSeenByLaterHook, 2.5);
  media::RemoveFlipHook(RecordFactor, nullptr);
}

TEST_F(DeltaTest, DebugStringShowsTheCurrentValues) {
  InitDelta();
  Frame(16);
  Frame(60);
  Delta::PauseDeltaTiming();
  EXPECT_EQ(Delta::DebugString(),
            "Current delta time factor: 5.0000000000000000\n"
            "Current FPS: 0\n"
            "Delta time paused.\n"
            "Minimum time factor: 0.25000000000000000\n"
            "Maximum time factor: 5.0000000000000000\n"
            "Application running slowly: TRUE\n");
  Delta::ResumeDeltaTiming();
  Frame(16);
  EXPECT_EQ(Delta::DebugString().substr(0, 46), "Current delta time factor: 1.6000000000000001\n");
}

}  // namespace
}  // namespace timing
