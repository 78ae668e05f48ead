// The real output path without a sound card: SDL's `disk` driver writes what the callback
// mixed to a file, its `dummy` driver runs the callback at real-time pace. Here the engine's
// threads (callback, decoder, main) run for real.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "tests/media/audio/engine_fixture.h"
#include "tests/media/audio/test_data.h"

namespace media::audio {
namespace {

using namespace std::chrono_literals;
using testkit::Bytes;
using testkit::ReadTestFile;
using testkit::ScopedEnv;

std::shared_ptr<TBassStream> CreateMem(const Bytes& bytes, int flags) {
  return std::make_shared<TBassStream>()->CreateMem(bytes.data(),
                                                    static_cast<std::int64_t>(bytes.size()), flags);
}

TEST(SdlOutput, TheDiskDriverRecordsTheTrackAsMixed) {
  const std::string path = ::testing::TempDir() + "media_audio_disk_output.raw";
  std::remove(path.c_str());
  ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  ScopedEnv file("SDL_DISKAUDIOFILE", path.c_str());
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  ASSERT_NE(TBass::Init(-1, 44100, 4, nullptr, nullptr), 0);
  auto stream = CreateMem(mp3, 0x40004);
  ASSERT_TRUE(stream);
  ASSERT_EQ(stream->Play(0), 1);
  // Until the file holds 0.3 s of float stereo (the driver writes at the music's pace, so a
  // busy machine only makes this take longer).
  const auto enough = static_cast<std::uintmax_t>(0.3 * 44100 * 2 * sizeof(float));
  const auto begin = std::chrono::steady_clock::now();
  std::error_code error;
  while (std::filesystem::file_size(path, error) < enough || error) {
    ASSERT_LT(std::chrono::steady_clock::now() - begin, 20s) << "the device stopped writing";
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_NE(TBass::Free(), 0);

  std::ifstream in(path, std::ios::binary);
  const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  std::vector<float> written(raw.size() / sizeof(float));
  std::memcpy(written.data(), raw.data(), written.size() * sizeof(float));
  ASSERT_GT(written.size(), 2u * 8000) << "the device wrote less than 0.2 s";

  // The file may begin with silence (before the first decoded frames arrived); from the
  // first sound on it is the decoded track, sample for sample.
  std::size_t start = 0;
  while (start < written.size() && written[start] == 0.0f) ++start;
  start -= start % 2;
  const std::size_t frames = (written.size() - start) / 2;
  ASSERT_GT(frames, 4000u);
  const std::vector<float> expected = testkit::DecodeAll(mp3, frames);
  ASSERT_EQ(expected.size(), 2 * frames);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(),
                         written.begin() + static_cast<std::ptrdiff_t>(start)));
  std::remove(path.c_str());
}

// The track change of the program: slow down and fade, poll IsSliding with 1 ms sleeps,
// stop. Returns how long the wait took.
std::chrono::milliseconds WindDown(TBassStream& stream) {
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(stream.SlideAttribute(1, 1000.0f, 500), 1);
  EXPECT_EQ(stream.SlideAttribute(2, -1.0f, 200), 1);
  while (stream.IsSliding(0) != 0 && std::chrono::steady_clock::now() - begin < 5s) {
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(stream.Stop(), 1);
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               begin);
}

TEST(SdlOutput, TheTrackChangeWaitEndsAfterHalfASecondPlayingOrPaused) {
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  ASSERT_NE(TBass::Init(-1, 44100, 4, nullptr, nullptr), 0);
  auto playing = CreateMem(mp3, 0x40004);
  ASSERT_TRUE(playing);
  ASSERT_EQ(playing->Play(0), 1);
  std::this_thread::sleep_for(50ms);
  auto waited = WindDown(*playing);
  EXPECT_GE(waited, 500ms);
  EXPECT_LT(waited, 1500ms);

  auto paused = CreateMem(mp3, 0x40004);
  ASSERT_TRUE(paused);
  ASSERT_EQ(paused->Play(0), 1);
  ASSERT_EQ(TBass::Pause(), 1);
  waited = WindDown(*paused);
  EXPECT_GE(waited, 500ms);
  EXPECT_LT(waited, 1500ms);
  EXPECT_EQ(CurrentEngine()->StreamCount(), 0);
  ASSERT_NE(TBass::Free(), 0);
}

TEST(SdlOutput, MainThreadHammersTheEngineWhileTheCallbackMixes) {
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  const Bytes mp3 = ReadTestFile(testkit::kStereoMp3);
  const Bytes ogg = ReadTestFile(testkit::kMonoOgg);
  ASSERT_NE(TBass::Init(-1, 44100, 4, nullptr, nullptr), 0);
  auto music = CreateMem(mp3, 0x40004);
  ASSERT_TRUE(music);
  ASSERT_EQ(music->Play(0), 1);
  const std::int64_t framesBefore = CurrentEngine()->framesRendered();

  std::array<float, 512> spectrum{};
  const auto end = std::chrono::steady_clock::now() + 1200ms;
  int heard = 0;
  for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
    ASSERT_EQ(music->SlideAttribute(1, 1000.0f + static_cast<float>(i % 50) * 1000.0f, i % 7), 1);
    ASSERT_EQ(music->SlideAttribute(2, static_cast<float>(i % 11) / 10.0f, i % 5), 1);
    music->IsSliding(0);
    ASSERT_EQ(music->GetData(spectrum.data(), kBassDataFft512), 1024);
    for (std::size_t k = 0; k < 256; ++k) {
      ASSERT_TRUE(std::isfinite(spectrum[k]) && spectrum[k] >= 0.0f);
    }
    heard += spectrum[5] > 0.0f ? 1 : 0;
    if (i % 97 == 0) {
      TBass::Pause();
      TBass::Start();
    }
    if (i % 53 == 0) {
      // Short-lived streams: freed by the main thread or, while the decoder holds them,
      // by the decode thread.
      auto extra = CreateMem(i % 2 == 0 ? mp3 : ogg, 0x40004);
      ASSERT_TRUE(extra);
      ASSERT_EQ(extra->Play(0), 1);
      ASSERT_EQ(extra->Stop(), 1);
    }
    if (i % 211 == 0) {
      ASSERT_EQ(music->Play(1), 1);  // rewinds on the decode side
    }
    if (i % 16 == 0) std::this_thread::sleep_for(100us);
  }
  EXPECT_GT(CurrentEngine()->framesRendered(), framesBefore + 22050) << "the callback ran";
  EXPECT_GT(heard, 0) << "the spectrum saw the music";
  ASSERT_EQ(music->Stop(), 1);
  ASSERT_NE(TBass::Free(), 0);
  EXPECT_EQ(Channel::LiveCount(), 0);
}

}  // namespace
}  // namespace media::audio
