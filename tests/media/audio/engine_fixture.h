// Shared set-up of the audio tests: the engine on the hand-pulled output with a manual clock,
// SDL environment variables set for one test, and generated decoders whose exact samples
// let a test read positions and gains straight off the output.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <type_traits>

#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "media/audio/manual_output.h"
#include "media/audio/time_source.h"

namespace media::audio::testkit {

// Sets an environment variable that SDL reads for the lifetime of the object, then restores
// it. "Unset" is the empty value, which SDL treats the same way.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = SDL_getenv(name)) old_ = old;
    SDL_setenv(name, value != nullptr ? value : "", 1);
  }
  ~ScopedEnv() { SDL_setenv(name_.c_str(), old_.c_str(), 1); }

 private:
  std::string name_;
  std::string old_;
};

// Sound made by a formula instead of a file: frame n is f(n), a float for both sides or a
// {left, right} pair.
template <typename Formula>
class FormulaDecoder final : public Decoder {
 public:
  FormulaDecoder(Formula formula, std::int64_t frames, int rate = 44100)
      : formula_(formula), frames_(frames), rate_(rate) {}
  int sampleRate() const override { return rate_; }
  std::size_t Read(float* out, std::size_t maxFrames) override {
    std::size_t n = 0;
    for (; n < maxFrames && next_ < frames_; ++n, ++next_) {
      const auto value = formula_(next_);
      if constexpr (std::is_same_v<decltype(value), const float>) {
        out[2 * n] = out[2 * n + 1] = value;
      } else {
        out[2 * n] = value[0];
        out[2 * n + 1] = value[1];
      }
    }
    return n;
  }
  bool Rewind() override {
    next_ = 0;
    return true;
  }

 private:
  Formula formula_;
  std::int64_t frames_;
  int rate_;
  std::int64_t next_ = 0;
};

template <typename Formula>
std::unique_ptr<Decoder> MakeFormulaDecoder(Formula formula, std::int64_t frames,
                                            int rate = 44100) {
  return std::make_unique<FormulaDecoder<Formula>>(formula, frames, rate);
}

// A rising line: the value of frame n is n / kRampScale, so the output reads back the
// source position the mixer was at (cubic interpolation is exact on straight lines).
constexpr double kRampScale = 1 << 20;
inline std::unique_ptr<Decoder> MakeRampDecoder(std::int64_t frames, int rate = 44100) {
  return MakeFormulaDecoder(
      [](std::int64_t n) { return static_cast<float>(static_cast<double>(n) / kRampScale); },
      frames, rate);
}

inline std::unique_ptr<Decoder> MakeConstantDecoder(float value, std::int64_t frames) {
  return MakeFormulaDecoder([value](std::int64_t) { return value; }, frames);
}

// A sine of `amplitude` at `hz`.
inline std::unique_ptr<Decoder> MakeSineDecoder(double hz, float amplitude, std::int64_t frames) {
  return MakeFormulaDecoder(
      [hz, amplitude](std::int64_t n) {
        return amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * hz *
                                                       static_cast<double>(n) / 44100.0));
      },
      frames);
}

// The engine on the hand-pulled output: exact, single-threaded, timed by `time`.
class ManualEngineTest : public ::testing::Test {
 protected:
  explicit ManualEngineTest(int latencyFrames = 0) : latencyFrames_(latencyFrames) {}

  void SetUp() override {
    auto output = std::make_unique<ManualOutput>(latencyFrames_);
    output_ = output.get();
    ASSERT_NE(InitEngineWithOutput(std::move(output), time_, 44100), 0);
    engine_ = CurrentEngine();
  }
  void TearDown() override {
    if (CurrentEngine() != nullptr) TBass::Free();
  }

  // A stream over a generated decoder.
  std::uint32_t Create(std::unique_ptr<Decoder> decoder, int flags = 0) {
    BassError error = kBassOk;
    const std::uint32_t handle = engine_->CreateStream(std::move(decoder), flags, error);
    EXPECT_EQ(error, kBassOk);
    return handle;
  }
  TBassChannel Channel(std::uint32_t handle) {
    TBassChannel channel;
    channel.handle = handle;
    return channel;
  }
  AudioEngine::ChannelProbe Probe(std::uint32_t handle) {
    AudioEngine::ChannelProbe probe;
    EXPECT_TRUE(engine_->Probe(handle, probe));
    return probe;
  }
  // Pulls `frames` frames while the manual clock follows the output (to the microsecond,
  // rounded up, so that N frames always count as at least their duration).
  std::vector<float> PullInStep(int frames) {
    std::vector<float> out = output_->Pull(frames);
    const auto micros = [](std::int64_t n) { return (n * 1'000'000 + 44099) / 44100; };
    time_.AdvanceMicros(micros(framesInStep_ + frames) - micros(framesInStep_));
    framesInStep_ += frames;
    return out;
  }

  int latencyFrames_;
  std::int64_t framesInStep_ = 0;  // frames pulled by PullInStep
  ManualTimeSource time_;
  ManualOutput* output_ = nullptr;
  AudioEngine* engine_ = nullptr;
};

}  // namespace media::audio::testkit
