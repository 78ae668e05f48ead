// Hand-pulled output: nothing plays; the caller pulls mixed frames when it wants them, on its
// own thread, and every stream is decoded just before each pull. This makes the whole engine
// exact and thread-free in tests and lets benchmarks pull a track as fast as it decodes.
// Depends on: nothing.
#pragma once

#include <vector>

#include "media/audio/output_device.h"

namespace media::audio {

class ManualOutput final : public OutputDevice {
 public:
  // `latencyFrames` pretends the heard sound lags the pulled frames by that much, as a real
  // device's buffer makes it do.
  explicit ManualOutput(int latencyFrames = 0) : latencyFrames_(latencyFrames) {}

  BassError Open(int rate, AudioSource& source, std::string& detail) override;
  void Close() override { source_ = nullptr; }
  void SetPaused(bool paused) override { paused_ = paused; }
  int LatencyFrames() const override { return latencyFrames_; }
  bool DecodesOnPull() const override { return true; }

  // Pulls `frames` stereo frames into `out` (2 floats each). Paused or closed output gives
  // silence without touching the engine, as a paused sound card does.
  void Pull(float* out, int frames);
  // The same into a vector sized to fit.
  std::vector<float> Pull(int frames);

  bool paused() const { return paused_; }
  int rate() const { return rate_; }

 private:
  int latencyFrames_;
  int rate_ = 0;
  bool paused_ = false;
  AudioSource* source_ = nullptr;
};

}  // namespace media::audio
