// The frame path allocates nothing once every picture has its texture: counted by the
// allocation functions of tests/support, which replace this test program's.
#include <gtest/gtest.h>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/soft/soft_driver.h"
#include "media/platform/clock.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "tests/support/allocation_counter.h"

// AddressSanitizer brings its own allocation functions; there the test is skipped.
#if defined(__SANITIZE_ADDRESS__)
#define MUSICDISK_COUNTS_ALLOCATIONS 0
#else
#define MUSICDISK_COUNTS_ALLOCATIONS 1
#endif

namespace media {
namespace {

using testing::MakePixmap;
using testing::Rgba;

void CountFlip(void* context) {
  ++*static_cast<int*>(context);
}

TEST(CanvasAllocation, AFrameAllocatesNothingOnceTexturesExist) {
  if (!MUSICDISK_COUNTS_ALLOCATIONS) GTEST_SKIP() << "allocations are the sanitizer's here";
  ResetCanvasForTesting();
  ManualClock clock(0);
  SetCurrentClock(&clock);
  SetGraphicsDriver(OffscreenCanvasDriver(), kGraphicsBackBuffer);
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  int flips = 0;
  AddFlipHook(CountFlip, &flips, 0);
  auto filtered = TImage::Load(MakePixmap(145, 125,
                                          [](int x, int y) {
                                            return Rgba{x, y, 9, 128};
                                          }),
                               kDefaultImageFlags, 0, 0, 0);
  auto glyph = TImage::Load(MakePixmap(40, 50,
                                       [](int x, int y) {
                                         return Rgba{255, 255, 255, x * y};
                                       }),
                            kImageFiltered | kImageMipmapped, 0, 0, 0);
  auto frame = [&](int n) {
    SetClsColor(177, 142, 130);
    Cls();
    SetBlend(kBlendAlpha);
    SetAlpha(0.1f);
    DrawImage(filtered, 10.0f, 20.0f, 0);
    SetAlpha(1.0f);
    SetColor(200, 100, 50);
    for (int i = 0; i < 30; ++i) DrawImage(glyph, 10.0f + i * 20.3f + n * 0.37f, 300.0f, 0);
    SetColor(255, 255, 255);
    DrawRect(0.0f, 0.0f, 50.0f, 50.0f);
    Flip(-1);
  };
  frame(0);
  test_support::StartCountingAllocations();
  for (int n = 1; n <= 20; ++n) frame(n);
  test_support::StopCountingAllocations();
  EXPECT_EQ(test_support::CountedAllocations(), 0);
  EXPECT_EQ(flips, 21);

  RemoveFlipHook(CountFlip, &flips);
  ResetCanvasForTesting();
  SetCurrentClock(nullptr);
  SetEndHook(nullptr);
  ResetPolledInputForTesting();
}

}  // namespace
}  // namespace media
