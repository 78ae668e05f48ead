// The per-frame path allocates nothing in steady state: the whole program runs in the
// harness while the counting allocation functions of tests/support count what the main thread asks
// for between two frames. (The harness keeps no draw calls here, so the count is the
// program's.) C libraries that call malloc directly are not counted.
#include <gtest/gtest.h>

#include <cstdio>

#include "media/draw2d/image.h"
#include "media/draw2d/image_font.h"
#include "media/platform/key_codes.h"
#include "tests/app/program_harness.h"
#include "tests/support/allocation_counter.h"

namespace app::testing {
namespace {

class SteadyFrames : public ProgramHarness {
 protected:
  void SetUp() override {
    ProgramHarness::SetUp();
    keepCalls_ = false;
  }
  void TearDown() override {
    test_support::StopCountingAllocations();
    ProgramHarness::TearDown();
  }

  // Counts from frame `from` to frame `to` (both while presented). Glyph images are made
  // on a glyph's first use, so every glyph of both fonts is made first: the program is in
  // that state once its scroll text and panels have all been shown.
  void CountBetween(int from, int to) {
    OnFrame(1, [this] {
      for (media::TImageFont* font : {state_.scrollFont.get(), state_.panelFont.get()}) {
        ASSERT_NE(font, nullptr);
        for (int index = 0; index < font->CountGlyphs(); ++index) {
          const media::TImageGlyph& glyph = font->LoadGlyph(index);
          if (glyph._image) glyph._image->Frame(0);
        }
      }
    });
    OnFrame(from, [] { test_support::StartCountingAllocations(); });
    OnFrame(to, [] { test_support::StopCountingAllocations(); });
  }
};

// Each panel draws its own texts every frame, so each is counted while it is on screen: the
// track list (no key), the greetings, the credits and the track information.
class SteadyPanels : public SteadyFrames, public ::testing::WithParamInterface<int> {};

TEST_P(SteadyPanels, PlayingTheDiskAllocatesNothingPerFrame) {
  if (GetParam() != 0) PressAt(100, GetParam());
  CountBetween(300, 900);
  ASSERT_TRUE(RunMain(901));
  std::fprintf(stderr, "allocations in 600 playing frames: %ld (%ld bytes)\n",
               test_support::CountedAllocations(), test_support::CountedBytes());
  EXPECT_EQ(test_support::CountedAllocations(), 0)
      << test_support::CountedBytes() << " bytes in 600 frames";
}

INSTANTIATE_TEST_SUITE_P(EveryPanel, SteadyPanels,
                         ::testing::Values(0, media::kKeyG, media::kKeyC, media::kKeyI));

TEST_F(SteadyFrames, ThePausedDiskAllocatesNothingPerFrame) {
  PressAt(100, media::kKeySpace);
  PressAt(110, media::kKeyI);
  CountBetween(300, 600);
  ASSERT_TRUE(RunMain(601));
  EXPECT_EQ(test_support::CountedAllocations(), 0)
      << test_support::CountedBytes() << " bytes in 300 frames";
}

}  // namespace
}  // namespace app::testing
