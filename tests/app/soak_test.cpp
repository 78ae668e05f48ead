// The whole program for a long run on the manual clock: random keys from a fixed seed, a
// track change every two seconds, the audio pulled frame by frame. It must not crash, must
// never hold more than the playing stream and the one fading out, and must not grow.
//
// CI runs 900 frames (15 s of the disk, seven track changes). One hour at 60 fps:
//   MUSICDISK_SOAK_FRAMES=216000 build/release/tests/app/app_test --gtest_filter='Soak.*'
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "media/audio/audio_engine.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"
#include "tests/app/program_harness.h"
#include "tests/support/portable_process.h"

namespace app::testing {
namespace {

int SoakFrames() {
  const char* frames = std::getenv("MUSICDISK_SOAK_FRAMES");
  return frames != nullptr && std::atoi(frames) > 0 ? std::atoi(frames) : 900;
}

class Soak : public ProgramHarness {
 protected:
  void SetUp() override {
    ProgramHarness::SetUp();
    keepCalls_ = false;
  }

  void EveryFrame(int frame) override {
    maxStreams_ = std::max(maxStreams_, media::audio::CurrentEngine()->StreamCount());
    // Every track has started and every panel has been seen by then: what grows later is
    // a leak, not a first use.
    if (frame == warmFrame_) residentAtWarm_ = test_support::ResidentBytes();
    if (frame % 120 == 0) Press(media::kKeyF1 + static_cast<int>(random_() % 5));
    // About one key in twenty frames, from every key the program knows and a few it ignores.
    static constexpr std::array<int, 12> kKeys = {
        media::kKeyM,     media::kKeyC,      media::kKeyG,      media::kKeyI,
        media::kKeySpace, media::kKeyF1,     media::kKeyF1 + 4, media::kKeyF1 + 7,
        media::kKeyA,     media::kKeyReturn, media::kKeyUp,     media::kKeyTab};
    if (random_() % 20 == 0) Press(kKeys[random_() % kKeys.size()]);
    if (frame % 36000 == 0) std::fprintf(stderr, "soak: frame %d\n", frame);
  }

  void Press(int key) {
    media::EmitEvent({media::kEventKeyDown, key});
    media::EmitEvent({media::kEventKeyUp, key});
  }

  std::mt19937 random_{20240601u};
  int maxStreams_ = 0;
  int warmFrame_ = 0;
  long residentAtWarm_ = 0;
};

TEST_F(Soak, RandomKeysAndTrackChangesRunOnWithoutGrowth) {
  const int frames = SoakFrames();
  warmFrame_ = std::min(1500, frames / 2);
  ASSERT_TRUE(RunMain(frames)) << "the program did not end through Escape";
  const long growth = test_support::ResidentBytes() - residentAtWarm_;
  EXPECT_EQ(loopFrame_, frames);
  EXPECT_LE(maxStreams_, 2) << "more than the playing stream and the one fading out";
  EXPECT_GT(residentAtWarm_, 0);
#ifndef __SANITIZE_ADDRESS__
  // (The address sanitizer keeps freed memory in quarantine: resident size says nothing there.)
  EXPECT_LE(growth, 1024 * 1024) << "resident memory grew by " << growth << " bytes";
#endif
  std::fprintf(stderr, "soak: %d frames, at most %d streams, resident growth %ld bytes\n", frames,
               maxStreams_, growth);
}

}  // namespace
}  // namespace app::testing
