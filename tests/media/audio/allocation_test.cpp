// The output side must not touch the allocator: the mixer runs on the device's callback
// thread, and the spectrum is fetched every frame. This file replaces the global allocation
// functions of the test program to count allocations on the calling thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "media/audio/bass.h"
#include "tests/media/audio/engine_fixture.h"
#include "tests/media/audio/test_data.h"

namespace {

thread_local bool tCounting = false;
thread_local int tAllocations = 0;

}  // namespace

// GCC cannot tell that these replace the global pair and warns of new/free mismatches.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (tCounting) ++tAllocations;
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

namespace media::audio {
namespace {

// Counts the allocations `work` makes on this thread.
template <typename Work>
int AllocationsIn(Work work) {
  tAllocations = 0;
  tCounting = true;
  work();
  tCounting = false;
  return tAllocations;
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
