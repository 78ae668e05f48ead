// The output side must not touch the allocator: the mixer runs on the device's callback
// thread, and the spectrum is fetched every frame. The allocation functions of tests/support
// count what the calling thread asks for.
#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "media/audio/bass.h"
#include "tests/media/audio/engine_fixture.h"
#include "tests/media/audio/test_data.h"
#include "tests/support/allocation_counter.h"

namespace media::audio {
namespace {

// Counts the allocations `work` makes on this thread.
template <typename Work>
int AllocationsIn(Work work) {
  test_support::StartCountingAllocations();
  work();
  test_support::StopCountingAllocations();
  return static_cast<int>(test_support::CountedAllocations());
}

// The zero counts below mean something only if the counter sees allocations at all.
TEST(AllocationCounter, CountsWhatThisThreadAllocates) {
  static std::unique_ptr<long> kept;  // escapes, so the allocation cannot be elided
  test_support::StartCountingAllocations();
  kept = std::make_unique<long>(7);
  test_support::StopCountingAllocations();
  EXPECT_EQ(test_support::CountedAllocations(), 1);
  EXPECT_EQ(test_support::CountedBytes(), static_cast<long>(sizeof(long)));
  kept.reset();
  // Libraries allocate with the nothrow form too: counted, and released by the plain
  // delete without a mismatch (AddressSanitizer checks that pairing).
  static long* nothrowKept = nullptr;
  test_support::StartCountingAllocations();
  nothrowKept = new (std::nothrow) long[4];
  test_support::StopCountingAllocations();
  ASSERT_NE(nothrowKept, nullptr);
  EXPECT_EQ(test_support::CountedAllocations(), 1);
  EXPECT_EQ(test_support::CountedBytes(), static_cast<long>(4 * sizeof(long)));
  delete[] nothrowKept;
}

using OutputSide = testkit::ManualEngineTest;

TEST_F(OutputSide, MixingSlidingAndTheSpectrumAllocateNothing) {
  const testkit::Bytes mp3 = testkit::ReadTestFile(testkit::kStereoMp3);
  auto stream = std::make_shared<TBassStream>()->CreateMem(
      mp3.data(), static_cast<std::int64_t>(mp3.size()), 0x40004);
  ASSERT_TRUE(stream);
  ASSERT_EQ(stream->Play(0), 1);
  engine_->DecodeAhead();
  std::vector<float> block(2 * 512);
  std::array<float, 512> spectrum{};

  EXPECT_EQ(AllocationsIn([&] {
              for (int i = 0; i < 40; ++i) engine_->Render(block.data(), 512);
            }),
            0);
  EXPECT_EQ(AllocationsIn([&] {
              for (int i = 0; i < 100; ++i) stream->GetData(spectrum.data(), kBassDataFft512);
            }),
            0);
  EXPECT_EQ(AllocationsIn([&] {
              stream->SlideAttribute(1, 1000.0f, 500);
              stream->SlideAttribute(2, -1.0f, 200);
              for (int i = 0; i < 20; ++i) {
                engine_->Render(block.data(), 512);
                stream->IsSliding(0);
              }
            }),
            0);
  EXPECT_EQ(AllocationsIn([&] {
              TBass::Pause();
              TBass::Start();
            }),
            0);
}

}  // namespace
}  // namespace media::audio
