// An output that goes away (unplugged, the sound system restarted): the engine opens it again
// and the music goes on from where it stopped. First on a fake device, exactly; then on SDL's
// disk driver, whose device SDL drops when a write fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "media/audio/manual_output.h"
#include "media/audio/sdl_output_device.h"
#include "tests/media/audio/engine_fixture.h"
#include "tests/media/audio/test_data.h"

namespace media::audio {
namespace {

using namespace std::chrono_literals;
using testkit::Bytes;
using testkit::ScopedEnv;

// A hand-pulled output that can be unplugged: while lost it pulls nothing, as SDL's device
// does; Open may be made to fail, as when no other output is there yet.
class UnpluggableOutput final : public OutputDevice {
 public:
  BassError Open(int rate, AudioSource& source, std::string& detail) override {
    ++opens;
    if (failOpens > 0) {
      --failOpens;
      return kBassErrorDriver;
    }
    lost = false;
    return inner_.Open(rate, source, detail);
  }
  void Close() override {
    ++closes;
    inner_.Close();
  }
  void SetPaused(bool paused) override { inner_.SetPaused(paused); }
  int LatencyFrames() const override { return 0; }
  bool DecodesOnPull() const override { return true; }
  bool Lost() const override { return lost; }

  std::vector<float> Pull(int frames) {
    if (lost) return std::vector<float>(2 * static_cast<std::size_t>(frames), 0.0f);
    return inner_.Pull(frames);
  }
  bool paused() const { return inner_.paused(); }
  int rate() const { return inner_.rate(); }

  bool lost = false;
  int failOpens = 0;  // Opens that fail before one works
  int opens = 0;
  int closes = 0;

 private:
  ManualOutput inner_;
};

class OutputLoss : public ::testing::Test {
 protected:
  void SetUp() override {
    auto output = std::make_unique<UnpluggableOutput>();
    output_ = output.get();
    ASSERT_NE(InitEngineWithOutput(std::move(output), time_, 44100), 0);
    engine_ = CurrentEngine();
    BassError error = kBassOk;
    // Frame n of the ramp reads n / kRampScale, so the output shows the position.
    ramp_ = engine_->CreateStream(testkit::MakeRampDecoder(44100 * 10), 0, error);
    ASSERT_EQ(error, kBassOk);
    ASSERT_EQ(engine_->Play(ramp_, false), kBassOk);
  }
  void TearDown() override {
    if (CurrentEngine() != nullptr) TBass::Free();
  }
  static double Position(float sample) { return static_cast<double>(sample) * testkit::kRampScale; }

  ManualTimeSource time_;
  UnpluggableOutput* output_ = nullptr;
  AudioEngine* engine_ = nullptr;
  std::uint32_t ramp_ = 0;
};

TEST_F(OutputLoss, TheOutputOpensAgainAndTheStreamGoesOnFromWhereItStopped) {
  std::vector<float> out = output_->Pull(1000);
  ASSERT_DOUBLE_EQ(Position(out[2 * 999]), 999.0);
  {
    SCOPED_TRACE("a working output is left alone");
    EXPECT_FALSE(engine_->RestoreLostOutput());
    EXPECT_EQ(output_->opens, 1);
    EXPECT_EQ(output_->closes, 0);
  }

  output_->lost = true;
  output_->failOpens = 1;
  output_->Pull(5000);  // nobody pulls the mixer while the device is gone
  // The next stream operation of the main thread (here the frame loop's spectrum) reopens;
  // until that works nothing is heard, and the spectrum says so.
  std::vector<float> spectrum(256);
  EXPECT_EQ(engine_->GetFft(ramp_, spectrum.data()), kBassOk);
  EXPECT_EQ(output_->opens, 2);
  EXPECT_EQ(*std::max_element(spectrum.begin(), spectrum.end()), 0.0f);
  time_.AdvanceMicros(AudioEngine::kReopenRetryMicros);
  EXPECT_EQ(engine_->GetFft(ramp_, spectrum.data()), kBassOk);
  EXPECT_GT(*std::max_element(spectrum.begin(), spectrum.end()), 0.0f);
  EXPECT_EQ(output_->closes, 2);
  EXPECT_EQ(output_->opens, 3);
  EXPECT_EQ(output_->rate(), 44100);
  EXPECT_FALSE(output_->Lost());

  out = output_->Pull(10);
  EXPECT_DOUBLE_EQ(Position(out[0]), 1000.0) << "the stream skipped or repeated";
  EXPECT_DOUBLE_EQ(Position(out[2 * 9 + 1]), 1009.0);
}

TEST_F(OutputLoss, AFailedReopenIsRetriedAfterAWhileAndAPausedOutputStaysPaused) {
  output_->Pull(100);
  ASSERT_EQ(engine_->Pause(), kBassOk);
  output_->lost = true;
  output_->failOpens = 1;

  EXPECT_FALSE(engine_->RestoreLostOutput());
  EXPECT_EQ(output_->opens, 2);
  {
    SCOPED_TRACE("no new try before the retry interval is over");
    time_.AdvanceMicros(AudioEngine::kReopenRetryMicros - 1);
    EXPECT_FALSE(engine_->RestoreLostOutput());
    EXPECT_EQ(engine_->Play(ramp_, false), kBassOk);  // operations still work meanwhile
    EXPECT_EQ(output_->opens, 2);
  }
  time_.AdvanceMicros(1);
  EXPECT_TRUE(engine_->RestoreLostOutput());
  EXPECT_EQ(output_->opens, 3);
  EXPECT_TRUE(output_->paused()) << "the reopened output must keep the pause";
  EXPECT_EQ(output_->Pull(10), std::vector<float>(20, 0.0f));

  ASSERT_EQ(engine_->Resume(), kBassOk);
  const int ramp = engine_->pauseRampFrames();  // faded in, from where it stopped
  const std::vector<float> out = output_->Pull(ramp);
  EXPECT_NEAR(Position(out[2 * (ramp - 1)]), 100.0 + ramp - 1, 1e-3);
}

// Waits (at most `limit`) for `done`, checking every few milliseconds.
template <typename Condition>
bool WaitFor(Condition done, std::chrono::milliseconds limit = 3000ms) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

std::vector<float> ReadFloats(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  std::vector<float> samples(raw.size() / sizeof(float));
  std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(float));
  return samples;
}

TEST(SdlOutputLoss, ADeviceSdlDropsIsOpenedAgainAndPlaysOnFromWhereItStopped) {
  // The disk driver writes to /dev/full: the first write fails and SDL drops the device,
  // as it does when a sound card is unplugged.
  const std::string path = ::testing::TempDir() + "media_audio_reopened_output.raw";
  std::remove(path.c_str());
  ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  ScopedEnv file("SDL_DISKAUDIOFILE", "/dev/full");
  const Bytes mp3 = testkit::ReadTestFile(testkit::kStereoMp3);
  auto device = std::make_unique<SdlOutputDevice>();
  SdlOutputDevice* output = device.get();
  SteadyTimeSource time;
  ASSERT_NE(InitEngineWithOutput(std::move(device), time, 44100), 0);
  AudioEngine* engine = CurrentEngine();
  BassError error = kBassOk;
  const std::uint32_t music = engine->CreateStream(
      OpenDecoder(mp3.data(), static_cast<std::int64_t>(mp3.size()), error), 0, error);
  ASSERT_EQ(error, kBassOk);
  ASSERT_EQ(engine->Play(music, false), kBassOk);

  // The engine reopens it on its own thread (the stream operations above found it lost and
  // handed it over); /dev/full fails again at once. The device is the test's to look at
  // once the engine has handed it back.
  ASSERT_TRUE(WaitFor([&] { return !engine->reopening() && output->Lost(); }))
      << "SDL never dropped the device";
  // Gone: the mixer is not pulled any more, so the music waits at this frame.
  const std::int64_t rendered = engine->framesRendered();
  AudioEngine::ChannelProbe probe;
  ASSERT_TRUE(engine->Probe(music, probe));
  const auto stoppedAt = static_cast<std::int64_t>(probe.sourcePosition);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(engine->framesRendered(), rendered);

  // A working output appears; the main thread's next stream operation hands it to the
  // reopen thread without waiting for it.
  SDL_setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
  EXPECT_FALSE(engine->RestoreLostOutput());
  ASSERT_TRUE(WaitFor([&] { return !engine->reopening(); }));
  EXPECT_FALSE(output->Lost());
  ASSERT_TRUE(WaitFor([&] { return engine->framesRendered() > rendered + 8192; }));
  ASSERT_NE(TBass::Free(), 0);

  const std::vector<float> written = ReadFloats(path);
  std::size_t start = 0;
  while (start < written.size() && written[start] == 0.0f) ++start;
  start -= start % 2;
  const std::size_t frames = (written.size() - start) / 2;
  ASSERT_GT(frames, 4096u);
  // From its first sound on, the new output plays the track from the frame it stopped at.
  const std::vector<float> track =
      testkit::DecodeAll(mp3, static_cast<std::size_t>(stoppedAt) + frames);
  ASSERT_EQ(track.size(), 2 * (static_cast<std::size_t>(stoppedAt) + frames));
  EXPECT_TRUE(std::equal(track.begin() + 2 * stoppedAt, track.end(),
                         written.begin() + static_cast<std::ptrdiff_t>(start)));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace media::audio
