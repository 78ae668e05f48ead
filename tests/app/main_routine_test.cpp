// The whole main routine inside a test: SDL's dummy video and audio drivers, a manual clock
// (so the loading screen's second costs nothing), a scripted answer to the question, keys
// injected as events at chosen frames, and an end hook that unwinds instead of exiting.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "app/music_disk.h"
#include "app/program_reset.h"
#include "media/audio/bass.h"
#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"
#include "media/platform/dialogs.h"
#include "media/platform/input_events.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "media/resources/embedded_files.h"
#include "tests/support/portable_process.h"

namespace app {
namespace {

struct ProcessEnded {};

struct ScriptedEvent {
  int frame;  // main-loop frame (pauseTick while it is presented; no pause mark comes this early)
  media::Event event;
  bool fired = false;
};

class MainRoutineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::SetEnv("SDL_VIDEODRIVER", "dummy");
    test_support::SetEnv("SDL_AUDIODRIVER", "dummy");
    ResetProgramState();
    media::SetCurrentClock(&clock_);
    media::SetEndHook([] { throw ProcessEnded{}; });
    media::SetProceedHook([this](std::u16string_view text, int serious) {
      questions_.emplace_back(text);
      EXPECT_EQ(serious, 0);
      return answer_;
    });
    SetDebugLogHook([this](std::u16string_view message) { log_.emplace_back(message); });
    media::AddFlipHook(&MainRoutineTest::OnFlip, this, 100);
  }

  void TearDown() override {
    media::RemoveFlipHook(&MainRoutineTest::OnFlip, this);
    ResetProgramState();
  }

  // Injects the scripted events of the frame being presented.
  static void OnFlip(void* context) {
    auto* self = static_cast<MainRoutineTest*>(context);
    for (ScriptedEvent& e : self->script_) {
      if (!e.fired && e.frame == self->state_.pauseTick) {
        media::EmitEvent(e.event);
        e.fired = true;
      }
    }
  }

  void At(int frame, media::Event event) { script_.push_back({frame, event}); }

  // Runs the main routine; true when it ended through End.
  bool RunMain() {
    try {
      MusicDiskMain(state_);
    } catch (const ProcessEnded&) {
      return true;
    }
    return false;
  }

  media::ManualClock clock_;
  AppState state_;
  int answer_ = 0;
  std::vector<std::u16string> questions_;
  std::vector<std::u16string> log_;
  std::vector<ScriptedEvent> script_;
};

TEST_F(MainRoutineTest, EscapeEndsTheLoopThroughShutdown) {
  At(3, {media::kEventKeyDown, media::kKeyEscape});
  ASSERT_TRUE(RunMain());
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0], u"Would You Like To Run In Fullscreen Mode?");
  EXPECT_EQ(state_.pauseTick, 4);  // frames 0..3 drawn, then Escape is seen
  EXPECT_EQ(state_.frameTick, 5);  // plus the scroller's first emission
  EXPECT_EQ(state_.currentTrack, 1);
  EXPECT_EQ(state_.spectrum.size(), 512u);
  EXPECT_EQ(state_.scrollText.size(), 276u);
  // The audio output was freed on the way out: pausing it now fails.
  EXPECT_EQ(media::TBass::Pause(), 0);
  EXPECT_EQ(media::TBass::ErrorGetCode(), media::kBassErrorInit);
}

TEST_F(MainRoutineTest, CloseRequestEndsTheLoopLikeEscape) {
  At(2, {media::kEventAppTerminate});
  ASSERT_TRUE(RunMain());
  EXPECT_EQ(state_.pauseTick, 3);
}

TEST_F(MainRoutineTest, CloseRequestIsNotAskedInAFrameWithEscape) {
  At(2, {media::kEventAppTerminate});
  At(2, {media::kEventKeyDown, media::kKeyEscape});
  ASSERT_TRUE(RunMain());
  EXPECT_EQ(state_.pauseTick, 3);
  EXPECT_EQ(media::AppTerminate(), 1);  // still pending: nobody read it
}

TEST_F(MainRoutineTest, SpaceInTwoFramesPausesAndResumes) {
  At(1, {media::kEventKeyDown, media::kKeySpace});
  At(2, {media::kEventKeyUp, media::kKeySpace});
  At(3, {media::kEventKeyDown, media::kKeySpace});
  At(4, {media::kEventKeyDown, media::kKeyEscape});
  ASSERT_TRUE(RunMain());
  EXPECT_EQ(state_.musicPlaying, 1);
  EXPECT_EQ(media::TBass::ErrorGetCode(), media::kBassOk);
}

TEST_F(MainRoutineTest, CancelEndsBeforeAnyDisplayOpens) {
  answer_ = -1;
  ASSERT_TRUE(RunMain());
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_FALSE(state_.trackList.created);
  EXPECT_EQ(state_.frameTick, 0);
}

TEST_F(MainRoutineTest, MissingAudioOutputEndsQuietlyBeforeTheQuestion) {
  test_support::SetEnv("SDL_AUDIODRIVER", "no-such-driver");
  EXPECT_FALSE(RunMain());  // returns instead of ending through End
  EXPECT_TRUE(questions_.empty());
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_[0], u"Can't initialize output device");
}

TEST_F(MainRoutineTest, RunsOnlyOnce) {
  At(1, {media::kEventKeyDown, media::kKeyEscape});
  ASSERT_TRUE(RunMain());
  const auto asked = questions_.size();
  EXPECT_FALSE(RunMain());
  EXPECT_EQ(questions_.size(), asked);
}

TEST_F(MainRoutineTest, ANormalRunLogsNothing) {
  // The engine has no reverb, and the program asks for none: no "No EAX Support".
  At(1, {media::kEventKeyDown, media::kKeyEscape});
  ASSERT_TRUE(RunMain());
  EXPECT_TRUE(log_.empty());
}

}  // namespace
}  // namespace app
