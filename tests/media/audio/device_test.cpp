// The device half of the wrapper: opening and closing the output, its error codes, the
// settings we store or refuse, and the whole-output pause.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "tests/media/audio/engine_fixture.h"

namespace media::audio {
namespace {

using testkit::ManualEngineTest;
using testkit::ScopedEnv;

int InitDefault() {
  return TBass::Init(-1, 44100, 4, nullptr, nullptr);
}

// Waits (at most 2 s) until the SDL callback has mixed more than `frames` frames.
bool WaitForFramesBeyond(std::int64_t frames) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < deadline) {
    if (CurrentEngine()->framesRendered() > frames) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

TEST(TBassDevice, InitOpensTheOutputOnceAndFreeClosesIt) {
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  ASSERT_NE(InitDefault(), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassOk);
  EXPECT_TRUE(WaitForFramesBeyond(0)) << "the callback never pulled the mixer";

  EXPECT_EQ(InitDefault(), 0) << "a second Init must be refused";
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorAlready);
  EXPECT_NE(CurrentEngine(), nullptr) << "the refused Init must leave the output running";

  EXPECT_NE(TBass::Free(), 0);
  EXPECT_EQ(CurrentEngine(), nullptr);
  EXPECT_EQ(TBass::Free(), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorInit);

  // The output can be opened again after it was freed (SDL's audio is started and stopped
  // with the engine, not left behind).
  ASSERT_NE(InitDefault(), 0);
  EXPECT_TRUE(WaitForFramesBeyond(0));
  EXPECT_NE(TBass::Free(), 0);
}

TEST(TBassDevice, InitReportsWhyNoOutputOpened) {
  {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_EQ(InitDefault(), 0);
    EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorDriver);
  }
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  for (int device : {0, -2, 99}) {
    EXPECT_EQ(TBass::Init(device, 44100, 4, nullptr, nullptr), 0);
    EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorDevice) << device;
  }
  EXPECT_EQ(TBass::Init(-1, 0, 4, nullptr, nullptr), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorIllegalParam);
  EXPECT_EQ(CurrentEngine(), nullptr);

  // Nothing was opened: nothing to free, set, pause or start.
  EXPECT_EQ(TBass::Free(), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorInit);
  EXPECT_EQ(TBass::Set3DFactors(1.0f, 1.0f, 1.0f), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorInit);
  EXPECT_EQ(TBass::SetEAXParameters(-1, 0.0f, -1.0f, -1.0f), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorInit);
  EXPECT_EQ(TBass::Pause(), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorInit);
  EXPECT_EQ(TBass::Start(), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorInit);
}

TEST(TBassDevice, InitWithoutAForcedDriverFailsCleanlyOnAMachineWithoutSound) {
  ScopedEnv driver("SDL_AUDIODRIVER", nullptr);
  if (InitDefault() != 0) {
    TBass::Free();
    GTEST_SKIP() << "this machine has a sound output";
  }
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorDriver);
  EXPECT_EQ(CurrentEngine(), nullptr);
}

using TBassSettings = ManualEngineTest;

TEST_F(TBassSettings, Set3DFactorsStoresTheValuesAndOnlyNoReverbIsOffered) {
  EXPECT_EQ(TBass::Set3DFactors(2.0f, 0.5f, 3.0f), 1);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassOk);
  EXPECT_EQ(engine_->factors3D(), (std::array<float, 3>{2.0f, 0.5f, 3.0f}));

  EXPECT_EQ(TBass::SetEAXParameters(-1, 0.0f, -1.0f, -1.0f), 1) << "no reverb is what it has";
  EXPECT_EQ(TBass::SetEAXParameters(5, -1.0f, 2.0f, 0.5f), 1) << "the mix kept at none";
  EXPECT_EQ(TBass::SetEAXParameters(-1, 0.5f, -1.0f, -1.0f), 0);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassErrorNotAvailable);
  // A success clears the code again.
  EXPECT_EQ(TBass::Set3DFactors(1.0f, 1.0f, 1.0f), 1);
  EXPECT_EQ(TBass::ErrorGetCode(), kBassOk);
}

TEST(TBassDevicePause, PausingTheSdlDeviceStopsItsCallback) {
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  ASSERT_NE(InitDefault(), 0);
  ASSERT_TRUE(WaitForFramesBeyond(0));
  const std::int64_t before = CurrentEngine()->framesRendered();
  ASSERT_EQ(TBass::Pause(), 1);
  // The output fades out over the pause ramp (one callback) and then stands still.
  ASSERT_TRUE(WaitForFramesBeyond(before + CurrentEngine()->pauseRampFrames() - 1));
  const std::int64_t paused = CurrentEngine()->framesRendered();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(CurrentEngine()->framesRendered(), paused);
  ASSERT_EQ(TBass::Start(), 1);
  EXPECT_TRUE(WaitForFramesBeyond(paused));
  EXPECT_NE(TBass::Free(), 0);
}

}  // namespace
}  // namespace media::audio
