// The key table, frame by frame: each frame's keys are injected as events, then handled.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/music_disk.h"
#include "media/platform/clock.h"
#include "media/platform/input_events.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"

namespace app {
namespace {

class KeyTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media::ResetPolledInputForTesting();
    media::EnablePolledInput();
    media::SetCurrentClock(&clock_);  // a track change's loading second costs nothing
  }
  void TearDown() override {
    media::SetCurrentClock(nullptr);
    media::ResetPolledInputForTesting();
  }

  static void Press(int key) {
    media::EmitEvent({media::kEventKeyDown, key});
    media::EmitEvent({media::kEventKeyUp, key});
  }

  media::ManualClock clock_;
  AppState state;
};

TEST_F(KeyTableTest, SpaceTogglesOncePerFrameHoweverOftenItWasPressed) {
  Press(media::kKeySpace);
  Press(media::kKeySpace);
  HandleKeys(state);
  EXPECT_EQ(state.musicPlaying, 0);
  HandleKeys(state);  // nothing pressed since
  EXPECT_EQ(state.musicPlaying, 0);
  Press(media::kKeySpace);
  HandleKeys(state);
  EXPECT_EQ(state.musicPlaying, 1);
}

TEST_F(KeyTableTest, HoldingSpaceIsOneToggle) {
  media::EmitEvent({media::kEventKeyDown, media::kKeySpace});
  for (int i = 0; i < 10; ++i) media::EmitEvent({media::kEventKeyRepeat, media::kKeySpace});
  HandleKeys(state);
  HandleKeys(state);
  EXPECT_EQ(state.musicPlaying, 0);
}

TEST_F(KeyTableTest, PanelKeysStartAFadeOutAndTheLastInTableOrderWins) {
  // Start-up fade-in: alpha 0, step +0.01.
  ASSERT_EQ(state.panelFading, 1);
  ASSERT_FLOAT_EQ(state.panelFadeStep, 0.01f);
  state.panelAlpha = 0.3f;
  Press(media::kKeyG);
  Press(media::kKeyC);  // pressed after G, but C's row comes first in the table
  HandleKeys(state);
  EXPECT_EQ(state.panelWanted, kPanelGreetings);
  EXPECT_EQ(state.panelFading, 1);
  EXPECT_EQ(state.panelAlpha, 1.0f);
  EXPECT_EQ(state.panelFadeStep, -0.02f);
  EXPECT_EQ(state.panelShown, kPanelTrackList);  // the fade decides when it changes

  Press(media::kKeyI);
  Press(media::kKeyM);
  HandleKeys(state);
  EXPECT_EQ(state.panelWanted, kPanelMusicInfo);
  Press(media::kKeyM);
  HandleKeys(state);
  EXPECT_EQ(state.panelWanted, kPanelTrackList);
}

TEST_F(KeyTableTest, FunctionKeysChooseTracksThatExistAndIgnoreTheRest) {
  BuildTrackList(state);
  ASSERT_EQ(state.trackList.Count(), 5);
  ASSERT_EQ(state.currentTrack, 1);

  Press(media::kKeyF1 + 5);  // F6
  Press(media::kKeyF1 + 8);  // F9
  HandleKeys(state);
  EXPECT_EQ(state.currentTrack, 1);

  Press(media::kKeyF1 + 4);  // F5
  Press(media::kKeyF1 + 2);  // F3: both load in turn, F5 last
  HandleKeys(state);
  EXPECT_EQ(state.currentTrack, 5);
}

TEST_F(KeyTableTest, KeysHeldAcrossASwitchToAnotherProgramAreForgotten) {
  media::EmitEvent({media::kEventKeyDown, media::kKeySpace});
  media::EmitEvent({media::kEventAppSuspend});
  media::EmitEvent({media::kEventAppResume});
  HandleKeys(state);
  EXPECT_EQ(state.musicPlaying, 1);
}

}  // namespace
}  // namespace app
