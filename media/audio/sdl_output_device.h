// The real output: an SDL audio device at the engine's rate, stereo float, whose callback
// thread pulls the mixer. SDL converts when the hardware wants another format; its `dummy`
// and `disk` drivers run this path without a sound card. When the device goes away (SDL
// marks it stopped and goes on calling back) it stops pulling and reports itself lost; it
// then opens the default output next time.
// Depends on: SDL2 audio.
#pragma once

#include <SDL.h>

#include "media/audio/output_device.h"

namespace media::audio {

class SdlOutputDevice final : public OutputDevice {
 public:
  // `deviceIndex` -1 opens the default output, 0.. the n-th output SDL lists.
  explicit SdlOutputDevice(int deviceIndex = -1) : deviceIndex_(deviceIndex) {}
  ~SdlOutputDevice() override { Close(); }

  BassError Open(int rate, AudioSource& source, std::string& detail) override;
  void Close() override;
  void SetPaused(bool paused) override;
  int LatencyFrames() const override { return bufferFrames_; }
  bool DecodesOnPull() const override { return false; }
  bool Lost() const override;
  // SDL keeps per-thread data (its error text) that only threads of its own free.
  void ThreadDone() override { SDL_TLSCleanup(); }

 private:
  static void Callback(void* userdata, Uint8* stream, int len);

  int deviceIndex_;                // -1 = the default output
  SDL_AudioDeviceID device_ = 0;   // 0 while closed
  bool paused_ = false;            // as last set; applied when the device opens
  bool lost_ = false;              // went away, and no output has opened since
  bool subsystemStarted_ = false;  // this device holds one SDL_InitSubSystem(AUDIO)
  int bufferFrames_ = 0;           // frames SDL asks for per callback
  AudioSource* source_ = nullptr;  // pulled from the callback thread
};

}  // namespace media::audio
