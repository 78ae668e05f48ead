// The per-frame path allocates nothing in steady state: the whole program runs in the
// harness while this file's global allocation functions count what the main thread asks
// for between two frames. (The harness keeps no draw calls here, so the count is the
// program's.) C libraries that call malloc directly are not counted.
#include <gtest/gtest.h>

#include <execinfo.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "media/draw2d/image.h"
#include "media/draw2d/image_font.h"
#include "media/platform/key_codes.h"
#include "tests/app/program_harness.h"

namespace {

thread_local bool tCounting = false;
thread_local long tAllocations = 0;
thread_local long tAllocatedBytes = 0;
// MUSICDISK_ALLOC_TRACE=1 prints the stack of every counted allocation (addr2line -C -f).
const bool kTrace = std::getenv("MUSICDISK_ALLOC_TRACE") != nullptr;

void PrintStack() {
  tCounting = false;  // backtrace may allocate on its first call
  void* frames[12];
  backtrace_symbols_fd(frames, backtrace(frames, 12), 2);
  tCounting = true;
}

}  // namespace

// GCC cannot tell that these replace the global pair and warns of new/free mismatches.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (tCounting) {
    ++tAllocations;
    tAllocatedBytes += static_cast<long>(size);
    if (kTrace) PrintStack();
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop

namespace app::testing {
namespace {

class SteadyFrames : public ProgramHarness {
 protected:
  void SetUp() override {
    ProgramHarness::SetUp();
    keepCalls_ = false;
  }
  void TearDown() override {
    tCounting = false;
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
    OnFrame(from, [] {
      tAllocations = 0;
      tAllocatedBytes = 0;
      tCounting = true;
    });
    OnFrame(to, [] { tCounting = false; });
  }
};

TEST_F(SteadyFrames, PlayingTheDiskAllocatesNothingPerFrame) {
  // The first track plays; the track list, then the credits after their fade, stay on screen.
  PressAt(100, media::kKeyC);
  CountBetween(300, 900);
  ASSERT_TRUE(RunMain(901));
  std::fprintf(stderr, "allocations in 600 playing frames: %ld (%ld bytes)\n", tAllocations,
               tAllocatedBytes);
  EXPECT_EQ(tAllocations, 0) << tAllocatedBytes << " bytes in 600 frames";
}

TEST_F(SteadyFrames, ThePausedDiskAllocatesNothingPerFrame) {
  PressAt(100, media::kKeySpace);
  PressAt(110, media::kKeyI);
  CountBetween(300, 600);
  ASSERT_TRUE(RunMain(601));
  EXPECT_EQ(tAllocations, 0) << tAllocatedBytes << " bytes in 300 frames";
}

}  // namespace
}  // namespace app::testing
