#include "media/audio/sdl_output_device.h"

#include <cstring>

namespace media::audio {
namespace {

// 1024 frames (23 ms at 44.1 kHz): short enough for the spectrum to follow the music,
// long enough that a busy desktop does not starve the callback.
constexpr Uint16 kCallbackFrames = 1024;

}  // namespace

BassError SdlOutputDevice::Open(int rate, AudioSource& source, std::string& detail) {
  Close();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    detail = SDL_GetError();
    return kBassErrorDriver;
  }
  subsystemStarted_ = true;
  const char* name = nullptr;
  if (deviceIndex_ >= 0) {
    name = SDL_GetAudioDeviceName(deviceIndex_, 0);
    if (name == nullptr) {
      detail = SDL_GetError();
      Close();
      return kBassErrorDevice;
    }
  }
  source_ = &source;

  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = kCallbackFrames;
  want.callback = &SdlOutputDevice::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No allowed changes: whatever the hardware wants, SDL converts our float stereo to it.
  device_ = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
  if (device_ == 0) {
    detail = SDL_GetError();
    Close();
    return kBassErrorDriver;
  }
  bufferFrames_ = have.samples;
  lost_ = false;
  SDL_PauseAudioDevice(device_, paused_ ? 1 : 0);
  return kBassOk;
}

void SdlOutputDevice::Close() {
  if (Lost()) {
    // What replaces an output that went away is the one the system now plays through.
    lost_ = true;
    deviceIndex_ = -1;
  }
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);  // waits for a running callback to return
    device_ = 0;
  }
  if (subsystemStarted_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemStarted_ = false;
  }
  source_ = nullptr;
}

void SdlOutputDevice::SetPaused(bool paused) {
  paused_ = paused;
  if (device_ != 0) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

bool SdlOutputDevice::Lost() const {
  // SDL reports a device that was opened and went away as stopped (paused is "paused").
  return lost_ || (device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED);
}

void SdlOutputDevice::Callback(void* userdata, Uint8* stream, int len) {
  auto* self = static_cast<SdlOutputDevice*>(userdata);
  // SDL keeps calling back for a device that went away, to play nowhere; mixing on would
  // carry the music on unheard, so it waits here until the output is opened again.
  if (SDL_GetAudioDeviceStatus(self->device_) == SDL_AUDIO_STOPPED) {
    std::memset(stream, 0, static_cast<std::size_t>(len));
    return;
  }
  const int frames = len / static_cast<int>(2 * sizeof(float));
  self->source_->Render(reinterpret_cast<float*>(stream), frames);
}

}  // namespace media::audio
