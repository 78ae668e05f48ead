// Frame pacing on the manual clock: when frames are presented, and what a late frame does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"

namespace media {
namespace {

class CanvasPacing : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasForTesting();
    SetCurrentClock(&clock_);
    SetGraphicsDriver(&driver_, kGraphicsBackBuffer);
  }
  void TearDown() override {
    ResetCanvasForTesting();
    SetCurrentClock(nullptr);
    SetEndHook(nullptr);
    ResetPolledInputForTesting();
  }

  // Opens a 60 Hz window and forgets the two presents that cleared its buffers.
  void OpenWindow() {
    ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
    driver_.flipTimes.clear();
  }

  ManualClock clock_{5000};
  testing::RecordingDriver driver_;
};

TEST_F(CanvasPacing, SixtyFramesTakeExactlyOneSecond) {
  OpenWindow();
  for (int frame = 0; frame < 180; ++frame) Flip(-1);
  ASSERT_EQ(driver_.flipTimes.size(), 180u);
  // 16 ms per frame plus 40 ms spread over the second: 16, 17, 17, 16, 17, 17, ...
  EXPECT_EQ(driver_.flipTimes[0], 5016);
  EXPECT_EQ(driver_.flipTimes[1], 5033);
  EXPECT_EQ(driver_.flipTimes[2], 5050);
  EXPECT_EQ(driver_.flipTimes[59], 6000);
  EXPECT_EQ(driver_.flipTimes[119], 7000);
  EXPECT_EQ(driver_.flipTimes[179], 8000);
  int longFrames = 0;
  for (size_t i = 1; i < 60; ++i) {
    const int gap = driver_.flipTimes[i] - driver_.flipTimes[i - 1];
    EXPECT_TRUE(gap == 16 || gap == 17) << "frame " << i << " took " << gap;
    longFrames += gap == 17 ? 1 : 0;
  }
  EXPECT_EQ(longFrames, 40);  // the 40 ms remainder, one millisecond at a time
  // Windowed frames are presented without waiting for the vertical blank.
  EXPECT_THAT(driver_.Calls("Flip 1"), ::testing::IsEmpty());
}

TEST_F(CanvasPacing, WorkDuringTheFrameIsPartOfItsTime) {
  OpenWindow();
  const std::int64_t delayedBefore = clock_.totalDelayed();
  for (int frame = 0; frame < 60; ++frame) {
    clock_.Advance(10);  // the frame's drawing
    Flip(-1);
  }
  EXPECT_EQ(driver_.flipTimes.back(), 6000);
  EXPECT_EQ(clock_.totalDelayed() - delayedBefore, 1000 - 600);
}

TEST_F(CanvasPacing, EachFrameIsFinishedBeforeTheWaitAndOnlyPresentedAfterIt) {
  OpenWindow();
  driver_.finishTimes.clear();
  for (int frame = 0; frame < 3; ++frame) {
    clock_.Advance(4);  // the frame's drawing
    Flip(-1);
  }
  // Finished when the drawing is done, presented when due: the wait lies between the two,
  // so the work of finishing never delays a present.
  EXPECT_THAT(driver_.finishTimes, ::testing::ElementsAre(5004, 5020, 5037));
  EXPECT_THAT(driver_.flipTimes, ::testing::ElementsAre(5016, 5033, 5050));
  // Explicit syncs present at once, with no paced wait to get ahead of.
  Flip(0);
  EXPECT_EQ(driver_.finishTimes.size(), 3u);
}

TEST_F(CanvasPacing, ALateFrameIsPresentedAtOnceAndNothingIsCaughtUp) {
  OpenWindow();
  Flip(-1);
  Flip(-1);
  Flip(-1);
  ASSERT_EQ(driver_.flipTimes.back(), 5050);
  const std::int64_t delayed = clock_.totalDelayed();
  clock_.Advance(30);  // a frame that took 30 ms: due at 5066, ready at 5080
  Flip(-1);
  EXPECT_EQ(driver_.flipTimes.back(), 5080);
  EXPECT_EQ(clock_.totalDelayed(), delayed);
  // The next deadline counts from the late present: 16 ms and the 40 ms share carried since.
  Flip(-1);
  EXPECT_EQ(driver_.flipTimes.back(), 5097);
}

TEST_F(CanvasPacing, AnExplicitSyncBypassesPacing) {
  OpenWindow();
  Flip(0);
  Flip(1);
  EXPECT_THAT(driver_.flipTimes, ::testing::ElementsAre(5000, 5000));
  EXPECT_THAT(driver_.Calls("Flip"),
              ::testing::ElementsAre("Flip 0", "Flip 0", "Flip 0", "Flip 1"));
}

TEST_F(CanvasPacing, ZeroHertzPresentsAtOnce) {
  ASSERT_NE(Graphics(800, 600, 0, 0, 0), nullptr);
  Flip(-1);
  Flip(-1);
  EXPECT_EQ(clock_.totalDelayed(), 0);
  EXPECT_EQ(driver_.flipTimes.back(), 5000);
}

TEST_F(CanvasPacing, PacingFollowsTheClockAcrossItsWrap) {
  ManualClock nearWrap(0x7FFFFFF0);
  SetCurrentClock(&nearWrap);
  OpenWindow();
  for (int frame = 0; frame < 60; ++frame) Flip(-1);
  // 1000 ms later in wrapped 32-bit time.
  EXPECT_EQ(static_cast<std::uint32_t>(driver_.flipTimes.back()), 0x7FFFFFF0u + 1000u);
  EXPECT_EQ(nearWrap.totalDelayed(), 1000);
}

// Full screen on a 60 Hz display: the swap waits for the vertical blank.
class CanvasVsyncPacing : public CanvasPacing {
 protected:
  void OpenFullScreen() {
    driver_.canSync = true;
    ASSERT_NE(Graphics(800, 600, 32, 60, 0), nullptr);
    driver_.flipTimes.clear();
    driver_.log.clear();
  }
  // Swaps that wait for a 60 Hz blank: 16 or 17 ms after the last one.
  void SwapsWaitForTheBlank() {
    driver_.onFlip = [this](int sync) {
      if (sync == 0) return;
      blanks_ += 1;
      clock_.Advance(blanks_ % 3 == 0 ? 16 : 17);
    };
  }
  int blanks_ = 0;
};

TEST_F(CanvasVsyncPacing, SwapsThatWaitForTheBlankPaceFullScreenAlone) {
  OpenFullScreen();
  SwapsWaitForTheBlank();
  for (int frame = 0; frame < 120; ++frame) Flip(-1);
  // One late frame: the swap after it meets the very next blank, soon after.
  clock_.Advance(25);
  Flip(-1);
  clock_.Advance(12);
  Flip(-1);
  for (int frame = 0; frame < 60; ++frame) Flip(-1);
  EXPECT_EQ(driver_.Calls("Flip 1").size(), 182u);
  EXPECT_THAT(driver_.Calls("Flip 0"), ::testing::IsEmpty());
  EXPECT_EQ(clock_.totalDelayed(), 0);
}

TEST_F(CanvasVsyncPacing, SwapsThatDoNotWaitHandPacingToTheClock) {
  OpenFullScreen();
  // A desktop or driver that overrides the swap interval: every swap returns at once.
  for (int frame = 0; frame < 7; ++frame) Flip(-1);
  EXPECT_EQ(driver_.Calls("Flip 1").size(), 7u);
  EXPECT_EQ(clock_.totalDelayed(), 0);
  // The eighth in a row is the last: from then on the clock paces, 60 frames a second.
  Flip(-1);
  driver_.flipTimes.clear();
  const size_t mark = driver_.log.size();
  for (int frame = 0; frame < 60; ++frame) Flip(-1);
  EXPECT_EQ(driver_.Calls("Flip 1", mark).size(), 60u) << "still presented on a blank";
  EXPECT_EQ(driver_.flipTimes.back() - driver_.flipTimes.front(), 1000 - 16);
  EXPECT_EQ(clock_.totalDelayed(), 1000);
}

TEST_F(CanvasVsyncPacing, AtAnotherRateTheClockPicksTheBlankOfEachFrame) {
  // A 144 Hz display: the swap waits for the next blank after each deadline, which the clock
  // keeps at 60 a second, so no frame tears and no animation changes speed.
  driver_.canPresentOnBlank = true;
  ASSERT_NE(Graphics(800, 600, 32, 60, 0), nullptr);
  driver_.log.clear();
  driver_.flipTimes.clear();
  const std::int32_t start = clock_.Millisecs();
  driver_.onFlip = [this](int sync) {
    if (sync == 1) clock_.Advance(7 - clock_.Millisecs() % 7);  // the next 1/144 s blank
  };
  for (int frame = 0; frame < 120; ++frame) Flip(-1);
  EXPECT_EQ(driver_.Calls("Flip 1").size(), 120u);
  EXPECT_THAT(driver_.Calls("Flip 0"), ::testing::IsEmpty());
  EXPECT_NEAR(driver_.flipTimes.back() - start, 2000, 7);
}

TEST_F(CanvasVsyncPacing, AHiddenWindowIsPacedByTheClockAndResumesTheBlankWhenShown) {
  OpenFullScreen();
  SwapsWaitForTheBlank();
  Flip(-1);
  Flip(-1);
  ASSERT_EQ(driver_.Calls("Flip 1").size(), 2u);

  // Minimised: no blank to wait for, so the clock paces; the loop never runs free.
  driver_.shown = false;
  size_t mark = driver_.log.size();
  const std::int32_t hiddenAt = clock_.Millisecs();
  for (int frame = 0; frame < 60; ++frame) Flip(-1);
  EXPECT_EQ(driver_.Calls("Flip 0", mark).size(), 60u);
  EXPECT_THAT(driver_.Calls("Flip 1", mark), ::testing::IsEmpty());
  EXPECT_EQ(driver_.flipTimes.back() - hiddenAt, 1000);
  EXPECT_EQ(clock_.totalDelayed(), 1000);

  // Shown again: back on the blank, and the clock-paced frames did not count as quick ones.
  driver_.shown = true;
  mark = driver_.log.size();
  for (int frame = 0; frame < 30; ++frame) Flip(-1);
  EXPECT_EQ(driver_.Calls("Flip 1", mark).size(), 30u);
  EXPECT_EQ(clock_.totalDelayed(), 1000);
}

TEST_F(CanvasPacing, AHiddenWindowKeepsItsTimerPace) {
  OpenWindow();
  driver_.shown = false;
  const size_t mark = driver_.log.size();
  for (int frame = 0; frame < 60; ++frame) Flip(-1);
  EXPECT_EQ(driver_.flipTimes.back(), 6000);
  EXPECT_EQ(driver_.Calls("Flip 0", mark).size(), 60u);
}

}  // namespace
}  // namespace media
