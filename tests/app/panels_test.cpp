// The panel fade, frame by frame, as DrawPanels runs it (no display needed for the state).
#include "app/panels.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/music_disk.h"
#include "media/platform/input_events.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"

namespace app {
namespace {

class PanelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media::ResetPolledInputForTesting();
    media::EnablePolledInput();
  }
  void TearDown() override { media::ResetPolledInputForTesting(); }

  // One frame: the keys pressed before it, then the panel drawing.
  void Frame(std::initializer_list<int> keys = {}) {
    for (int key : keys) {
      media::EmitEvent({media::kEventKeyDown, key});
      media::EmitEvent({media::kEventKeyUp, key});
    }
    HandleKeys(state_);
    DrawPanels(state_);
  }

  void RunSteady() {
    for (int i = 0; i < 101; ++i) Frame();
    ASSERT_EQ(state_.panelFading, 0);
  }

  AppState state_;
};

TEST_F(PanelsTest, StartUpFadesTheTrackListInOver100Frames) {
  float expected = 0.0f;
  for (int frame = 1; frame <= 100; ++frame) {
    Frame();
    expected += 0.01f;
    ASSERT_EQ(state_.panelFading, 1) << frame;
    ASSERT_EQ(state_.panelAlpha, expected) << frame;
  }
  Frame();  // 101: the sum passes 1.0
  EXPECT_EQ(state_.panelFading, 0);
  EXPECT_EQ(state_.panelAlpha, 1.0f);
  EXPECT_EQ(state_.panelShown, kPanelTrackList);
}

TEST_F(PanelsTest, CreditsReplaceASteadyListIn51Frames) {
  RunSteady();
  Frame({media::kKeyC});  // frame 1 of the fade: 0.98
  EXPECT_FLOAT_EQ(state_.panelAlpha, 0.98f);
  for (int frame = 2; frame <= 50; ++frame) Frame();
  EXPECT_EQ(state_.panelShown, kPanelTrackList);
  EXPECT_EQ(state_.panelFading, 1);
  Frame();  // 51: the list is drawn invisibly and the credits appear in the same frame
  EXPECT_EQ(state_.panelShown, kPanelCredits);
  EXPECT_EQ(state_.panelFading, 0);
  EXPECT_EQ(state_.panelAlpha, 0.0f);
}

TEST_F(PanelsTest, AKeyDuringAFadeRestartsItTowardsTheNewPanel) {
  RunSteady();
  Frame({media::kKeyC});
  for (int i = 0; i < 10; ++i) Frame();
  Frame({media::kKeyG});
  EXPECT_FLOAT_EQ(state_.panelAlpha, 0.98f);
  EXPECT_EQ(state_.panelWanted, kPanelGreetings);
  for (int i = 0; i < 50; ++i) Frame();
  EXPECT_EQ(state_.panelShown, kPanelGreetings);
}

TEST_F(PanelsTest, MAndIInOneFrameChooseMusicInformation) {
  RunSteady();
  Frame({media::kKeyI, media::kKeyM});
  for (int i = 0; i < 50; ++i) Frame();
  EXPECT_EQ(state_.panelShown, kPanelMusicInfo);
}

TEST_F(PanelsTest, KeyDuringStartUpFadeInTurnsItIntoAFadeOutFromOne) {
  for (int i = 0; i < 30; ++i) Frame();
  Frame({media::kKeyM});
  EXPECT_FLOAT_EQ(state_.panelAlpha, 0.98f);
  EXPECT_FLOAT_EQ(state_.panelFadeStep, -0.02f);
}

}  // namespace
}  // namespace app
