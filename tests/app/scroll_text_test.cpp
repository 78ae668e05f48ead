// The scroller frame by frame, without a display: frames are counted as the main loop
// counts them, and the frame time comes from a manual clock through the flip hook.
#include "app/scroll_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_state.h"
#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"
#include "timing/delta.h"

namespace app {
namespace {

class ScrollTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media::SetCurrentClock(&clock_);
    timing::ResetDeltaForTesting();
    timing::InitDelta();
    state_.scrollText = AssembleScrollText();
    DemoScroll::add(state_.scroll, u" ");
  }
  void TearDown() override {
    timing::ResetDeltaForTesting();
    media::SetCurrentClock(nullptr);
  }

  // One main-loop frame as the scroller sees it: update, present (17 ms later), count.
  void Frame() {
    DemoScroll::UpdateAll(state_);
    clock_.Advance(17);
    media::Flip(-1);
    state_.frameTick += 1;
    state_.pauseTick += 1;
    ++frame_;
  }

  // Runs frames until `frame_` reaches `last`, noting the frame of every emission.
  void RunTo(int last) {
    while (frame_ < last) {
      const int before = state_.scroll.scrollPos;
      Frame();
      if (state_.scroll.scrollPos != before) emissions_.push_back(frame_);
    }
  }

  media::ManualClock clock_;
  AppState state_;
  int frame_ = 0;
  std::vector<int> emissions_;
};

TEST_F(ScrollTextTest, TextIs276CharactersWithPauseMarksAt15_30_45And185) {
  const std::u16string text = AssembleScrollText();
  ASSERT_EQ(text.size(), 276u);
  std::vector<size_t> marks;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == u'`') marks.push_back(i + 1);
  EXPECT_EQ(marks, (std::vector<size_t>{15, 30, 45, 185}));
  EXPECT_EQ(text.substr(0, 15), u"  nocturnals  `");
  EXPECT_EQ(text.substr(text.size() - 32), u"!" + std::u16string(31, u' '));
}

TEST_F(ScrollTextTest, LettersAreEmittedEvery19FramesUntilTheFirstPause) {
  RunTo(267);
  ASSERT_EQ(emissions_.size(), 15u);
  for (int k = 1; k <= 15; ++k) EXPECT_EQ(emissions_[k - 1], 1 + 19 * (k - 1)) << "emission " << k;
  // The 15th character is the pause mark: it enters as a space and stops the line.
  EXPECT_EQ(state_.scroll.scrollPaused, 1);
  EXPECT_EQ(state_.scroll.letters.back()->character, u" ");
}

TEST_F(ScrollTextTest, PauseHoldsTheLineFor99FramesThenEmitsAtOnce) {
  RunTo(267);
  std::vector<float> held;
  for (const auto& letter : state_.scroll.letters) held.push_back(letter->x);
  RunTo(365);
  EXPECT_EQ(state_.scroll.scrollPaused, 1);
  EXPECT_EQ(state_.scroll.scrollPos, 15);
  size_t i = 0;
  for (const auto& letter : state_.scroll.letters) EXPECT_EQ(letter->x, held[i++]);  // nothing moved
  RunTo(366);  // 99 frames after the mark
  EXPECT_EQ(state_.scroll.scrollPaused, 0);
  EXPECT_EQ(state_.scroll.scrollPos, 16);
  EXPECT_EQ(emissions_.back(), 366);
}

TEST_F(ScrollTextTest, PositionWrapsAfter275SoTheLastCharacterIsNeverShown) {
  int highest = 0;
  bool wrapped = false;
  while (!wrapped && frame_ < 20000) {
    const int before = state_.scroll.scrollPos;
    Frame();
    highest = std::max(highest, state_.scroll.scrollPos);
    wrapped = before == 275 && state_.scroll.scrollPos == 1;
    ASSERT_LE(state_.scroll.scrollPos, 275);
  }
  EXPECT_TRUE(wrapped);
  EXPECT_EQ(highest, 275);
  // The line never ran empty on the way.
  EXPECT_FALSE(state_.scroll.letters.empty());
}

TEST_F(ScrollTextTest, CharactersAreShownInCapitalsBeyondAsciiToo) {
  state_.scrollText = u"a\u00e5\u00ff#1z\u00f8x";  // the last character is never shown
  RunTo(1 + 19 * 6);
  std::u16string shown;
  for (const auto& letter : state_.scroll.letters) shown += letter->character;
  EXPECT_EQ(shown, u" A\u00c5\u0178#1Z\u00d8");
}

TEST_F(ScrollTextTest, LetterAppendedByTheLastLetterWaitsForTheNextFrame) {
  clock_.Advance(17);
  media::Flip(-1);  // the loading screen's flip: frame 1 already moves
  Frame();  // frame 1: the start-up space emits the first character
  ASSERT_EQ(state_.scroll.letters.size(), 2u);
  EXPECT_EQ(state_.scroll.letters.back()->x, 810.0f);  // not updated in the frame it arrived
  EXPECT_LT(state_.scroll.letters.front()->x, 810.0f);
  Frame();
  EXPECT_LT(state_.scroll.letters.back()->x, 810.0f);
}

TEST_F(ScrollTextTest, LetterLeavesOnlyOnceBelowMinus50) {
  state_.frameTick = 1;  // no emission in these frames
  state_.scroll.letters.front()->x = -50.0f;
  DemoScroll::UpdateAll(state_);  // factor 0 before any flip: nothing moves
  ASSERT_EQ(timing::Delta::Factor(), 0.0);
  EXPECT_EQ(state_.scroll.letters.size(), 1u);
  state_.scroll.letters.front()->x = -50.001f;
  DemoScroll::UpdateAll(state_);
  EXPECT_TRUE(state_.scroll.letters.empty());
}

TEST_F(ScrollTextTest, LettersMove178PixelsPerSecondOfFrameTime) {
  state_.frameTick = 1;
  clock_.Advance(20);
  media::Flip(-1);  // factor 2.0
  DemoScroll::UpdateAll(state_);
  EXPECT_FLOAT_EQ(state_.scroll.letters.front()->x, 810.0f - 2.0f * 1.78f);
  // The speed is 1.78 as a 32-bit float, widened: a letter 1.78f from the left edge reaches
  // it exactly in a frame of factor 1, where the double 1.78 would leave it 3e-8 past.
  state_.scroll.letters.front()->x = 1.78f;
  clock_.Advance(10);
  media::Flip(-1);  // factor 1.0
  DemoScroll::UpdateAll(state_);
  EXPECT_EQ(state_.scroll.letters.front()->x, 0.0f);
}

}  // namespace
}  // namespace app
