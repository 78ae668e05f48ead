// The wrapper functions: each checks that the engine runs, passes its arguments on and
// records the error code that ErrorGetCode reports.
#include "media/audio/bass.h"

#include <string>

#include "media/audio/audio_engine.h"
#include "media/audio/decoder.h"
#include "media/audio/sdl_output_device.h"

namespace media {
namespace {

std::unique_ptr<audio::AudioEngine> gEngine;  // the process's engine; main thread only
thread_local int tLastError = kBassOk;        // per thread, as callers expect of an errno

int Fail(BassError error) {
  tLastError = error;
  return 0;
}

// 1 for kBassOk, else 0 with the error recorded.
int Result(BassError error) {
  tLastError = error;
  return error == kBassOk ? 1 : 0;
}

// Never destroyed: an engine still running when the process exits (the question box's
// Cancel ends the program without freeing the output) keeps reading it from its threads
// until its own destructor has closed the device.
audio::TimeSource& SteadyTime() {
  static auto* time = new audio::SteadyTimeSource;
  return *time;
}

// An output handed in for the next Init, with its time source; main thread only.
std::unique_ptr<audio::OutputDevice> gNextOutput;
audio::TimeSource* gNextTime = nullptr;

}  // namespace

namespace audio {

AudioEngine* CurrentEngine() {
  return gEngine.get();
}

int InitEngineWithOutput(std::unique_ptr<OutputDevice> device, TimeSource& time, int rate) {
  if (gEngine) return Fail(kBassErrorAlready);
  if (rate < 8000 || rate > 192000) return Fail(kBassErrorIllegalParam);
  auto engine = std::make_unique<AudioEngine>(std::move(device), time, rate);
  std::string detail;
  const BassError error = engine->Start(detail);
  if (error != kBassOk) return Fail(error);
  gEngine = std::move(engine);
  return Result(kBassOk);
}

void UseOutputForNextInit(std::unique_ptr<OutputDevice> device, TimeSource* time) {
  gNextOutput = std::move(device);
  gNextTime = gNextOutput ? time : nullptr;
}

}  // namespace audio

// TBass ----------------------------------------------------------------------------------------

int TBass::Init(int device, int freq, int /*flags*/, void* /*window*/, const void* /*classId*/) {
  if (gEngine) return Fail(kBassErrorAlready);
  // -1 is the default output; 1, 2, ... the outputs as SDL lists them.
  if (device < -1 || device == 0) return Fail(kBassErrorDevice);
  if (gNextOutput) {
    audio::TimeSource& time = gNextTime != nullptr ? *gNextTime : SteadyTime();
    gNextTime = nullptr;
    return audio::InitEngineWithOutput(std::move(gNextOutput), time, freq);
  }
  return audio::InitEngineWithOutput(
      std::make_unique<audio::SdlOutputDevice>(device == -1 ? -1 : device - 1), SteadyTime(), freq);
}

int TBass::Free() {
  if (!gEngine) return Fail(kBassErrorInit);
  gEngine.reset();  // closes the output, then frees every channel
  return Result(kBassOk);
}

int TBass::Set3DFactors(float distance, float rolloff, float doppler) {
  if (!gEngine) return Fail(kBassErrorInit);
  gEngine->Set3DFactors(distance, rolloff, doppler);
  return Result(kBassOk);
}

int TBass::SetEAXParameters(int /*environment*/, float volume, float /*decay*/,
                            float /*damping*/) {
  if (!gEngine) return Fail(kBassErrorInit);
  // Without any reverb mixed in, environment, decay and damping are not heard at all.
  if (volume > 0.0f) return Fail(kBassErrorNotAvailable);
  return Result(kBassOk);
}

int TBass::ErrorGetCode() {
  return tLastError;
}

int TBass::Pause() {
  if (!gEngine) return Fail(kBassErrorInit);
  return Result(gEngine->Pause());
}

int TBass::Start() {
  if (!gEngine) return Fail(kBassErrorInit);
  return Result(gEngine->Resume());
}

// TBassChannel ---------------------------------------------------------------------------------

int TBassChannel::Play(int restart) {
  if (!gEngine) return Fail(kBassErrorInit);
  return Result(gEngine->Play(handle, restart != 0));
}

int TBassChannel::Stop() {
  if (!gEngine) return Fail(kBassErrorInit);
  return Result(gEngine->Stop(handle));
}

int TBassChannel::SlideAttribute(int attribute, float value, int ms) {
  if (!gEngine) return Fail(kBassErrorInit);
  return Result(gEngine->SlideAttribute(handle, attribute, value, ms));
}

int TBassChannel::IsSliding(int attribute) {
  if (!gEngine) return Fail(kBassErrorInit);
  BassError error = kBassOk;
  const bool sliding = gEngine->IsSliding(handle, attribute, error);
  tLastError = error;
  return sliding ? 1 : 0;
}

int TBassChannel::GetData(void* buffer, std::uint32_t length) {
  if (!gEngine) {
    Fail(kBassErrorInit);
    return -1;
  }
  if (length != kBassDataFft512) {
    Fail(kBassErrorNotAvailable);  // only the 512-sample FFT is offered
    return -1;
  }
  if (buffer == nullptr) {
    Fail(kBassErrorIllegalParam);
    return -1;
  }
  const BassError error = gEngine->GetFft(handle, static_cast<float*>(buffer));
  tLastError = error;
  if (error != kBassOk) return -1;
  return static_cast<int>(audio::SpectrumAnalyzer::kBins * sizeof(float));
}

// TBassStream ----------------------------------------------------------------------------------

std::shared_ptr<TBassStream> TBassStream::CreateMem(const void* memory, std::int64_t length,
                                                    int flags) {
  handle = 0;
  if (!gEngine) {
    Fail(kBassErrorInit);
    return nullptr;
  }
  BassError error = kBassOk;
  auto decoder = audio::OpenDecoder(memory, length, error);
  if (!decoder) {
    Fail(error);
    return nullptr;
  }
  handle = gEngine->CreateStream(std::move(decoder), flags, error);
  if (handle == 0) {
    Fail(error);
    return nullptr;
  }
  tLastError = kBassOk;
  // Normally this object is already shared (made with make_shared); otherwise the caller gets
  // a shared copy carrying the same handle.
  if (auto self = weak_from_this().lock()) return self;
  return std::make_shared<TBassStream>(*this);
}

}  // namespace media
