// The capture clock: every 1/60 s of the disk's time is one video frame, whether the disk
// spends it drawing (its paced presents) or waiting (the track change's wind-down and
// loading second).
#include "tools/capture/frame_timeline.h"

#include <gtest/gtest.h>

#include <vector>

#include "media/draw2d/canvas.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "tests/media/draw2d/canvas_test_support.h"

namespace capture {
namespace {

struct Ended {
  std::int64_t frame;
  bool drawn;
  std::int64_t at;  // the clock when it ended
};

class FrameTimelineTest : public ::testing::Test {
 protected:
  FrameTimeline timeline_{[this](std::int64_t frame, bool drawn) {
    ended_.push_back({frame, drawn, timeline_.nowMillis()});
  }};
  std::vector<Ended> ended_;

  // Every frame ended once, in order, exactly at its end.
  void ExpectEachFrameOnceAtItsEnd() {
    for (std::size_t i = 0; i < ended_.size(); ++i) {
      EXPECT_EQ(ended_[i].frame, static_cast<std::int64_t>(i) + 1);
      EXPECT_EQ(ended_[i].at, FrameTimeline::FrameEndMillis(ended_[i].frame)) << "frame " << i + 1;
    }
  }
};

TEST_F(FrameTimelineTest, FinishedPicturesAreSixtyFramesPerSecond) {
  for (int i = 0; i < 600; ++i) timeline_.PictureFinished();
  ASSERT_EQ(ended_.size(), 600u);
  ExpectEachFrameOnceAtItsEnd();
  EXPECT_EQ(timeline_.Millisecs(), 10000);
  for (const Ended& e : ended_) EXPECT_TRUE(e.drawn);
  // Frames last 16 or 17 ms; every 60 of them take exactly one second.
  for (std::size_t i = 1; i < ended_.size(); ++i) {
    const std::int64_t length = ended_[i].at - ended_[i - 1].at;
    EXPECT_TRUE(length == 16 || length == 17) << "frame " << i + 1 << " lasted " << length;
  }
  EXPECT_EQ(ended_[59].at, 1000);
  EXPECT_EQ(ended_[119].at, 2000);
}

TEST_F(FrameTimelineTest, WaitsHoldTheShownPictureForEverySixtiethTheyPass) {
  timeline_.PictureFinished();
  // A second's wait from a frame's start, and from the middle of one: 60 frames either way.
  timeline_.Delay(1000);
  EXPECT_EQ(timeline_.framesEnded(), 61);
  timeline_.Delay(5);
  timeline_.Delay(1000);
  EXPECT_EQ(timeline_.framesEnded(), 121);
  // Waits of a millisecond at a time end each frame they reach, once.
  for (int ms = 0; ms < 500; ++ms) timeline_.Delay(1);
  EXPECT_EQ(timeline_.Millisecs(), 2521);
  EXPECT_EQ(timeline_.framesEnded(), 151);
  // Nothing or less: no time passes.
  timeline_.Delay(0);
  timeline_.Delay(-20);
  EXPECT_EQ(timeline_.Millisecs(), 2521);
  ExpectEachFrameOnceAtItsEnd();
  EXPECT_TRUE(ended_[0].drawn);
  for (std::size_t i = 1; i < ended_.size(); ++i) EXPECT_FALSE(ended_[i].drawn) << i + 1;
}

// The drawing layer's own pacing, on this clock: a picture's flip ends its frame, and the
// short wait the pacing adds afterwards stays inside the next one, whatever came before
// (a second's wait puts the pacing out of step, which it then takes up again).
class FrameTimelinePacing : public FrameTimelineTest {
 protected:
  void SetUp() override {
    media::ResetCanvasForTesting();
    media::SetCurrentClock(&timeline_);
    media::SetGraphicsDriver(&driver_, media::kGraphicsBackBuffer);
    ASSERT_NE(media::Graphics(800, 600, 0, 60, 0), nullptr);
    media::AddFlipHook(&FrameTimelinePacing::OnFlip, this, 0);
  }
  void TearDown() override {
    media::RemoveFlipHook(&FrameTimelinePacing::OnFlip, this);
    media::ResetCanvasForTesting();
    media::SetCurrentClock(nullptr);
    media::SetEndHook(nullptr);
    media::ResetPolledInputForTesting();
  }

  static void OnFlip(void* context) {
    static_cast<FrameTimelinePacing*>(context)->timeline_.PictureFinished();
  }

  // Each paced flip ends exactly one frame.
  void ExpectOneFramePerFlip(int flips) {
    for (int i = 0; i < flips; ++i) {
      const std::int64_t before = timeline_.framesEnded();
      media::Flip(-1);
      ASSERT_EQ(timeline_.framesEnded(), before + 1) << "flip " << i;
    }
  }

  media::testing::RecordingDriver driver_;
};

TEST_F(FrameTimelinePacing, EveryPacedFlipIsOneFrameThroughWaitsOfAnyLength) {
  ExpectOneFramePerFlip(200);
  for (int wait : {1000, 7, 500, 1, 16, 17, 33, 999}) {
    timeline_.Delay(wait);
    ExpectOneFramePerFlip(130);
  }
  // As the wind-down waits: a millisecond at a time.
  for (int ms = 0; ms < 523; ++ms) timeline_.Delay(1);
  ExpectOneFramePerFlip(130);
  ExpectEachFrameOnceAtItsEnd();
}

}  // namespace
}  // namespace capture
