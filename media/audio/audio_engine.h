// Audio engine: decodes memory streams (MP3, Ogg Vorbis), mixes them for an output device,
// slides frequency and volume, and keeps the last heard samples for the FFT.
//
// Threads. The main thread calls the operations below. A lost output device is opened again
// on a thread of the engine's own (an open that fails can take a tenth of a second, and the
// frame loop must not wait for it); a hand-pulled output is reopened on the caller's thread,
// so that tests stay exact. The device pulls Render,
// from its callback thread (SDL) or from the caller's thread (hand-pulled output). Decoding
// runs ahead into each stream's ring on a decode thread of the engine, or just before each
// pull when the device decodes on pull. One mutex guards the channel table and the
// per-channel state the three sides share; nobody holds it for more than a mix block, and
// nobody decodes, allocates or frees memory while holding it.
// Depends on: the output device, decoders, channel and spectrum of this folder.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "media/audio/bass.h"
#include "media/audio/channel.h"
#include "media/audio/output_device.h"
#include "media/audio/spectrum.h"
#include "media/audio/time_source.h"

namespace media::audio {

class AudioEngine final : public AudioSource {
 public:
  static constexpr int kMaxChannels = 128;

  // `time` must outlive the engine.
  AudioEngine(std::unique_ptr<OutputDevice> device, TimeSource& time, int outputRate);
  ~AudioEngine() override;
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  // Opens the device and starts the decode thread when the device needs one.
  BassError Start(std::string& detail);

  // Whole output ----------------------------------------------------------------------------
  // When the output device was lost (unplugged, its sound system gone), closes it and opens
  // it again, paused if the output is; the streams go on from where they stopped. A failed
  // try is repeated kReopenRetryMicros later. A device with a thread of its own is reopened
  // by the engine's reopen thread: this call only hands it over and returns false. A
  // hand-pulled device is reopened here: true when that worked. Every stream operation below
  // calls it first, so the program's frame loop keeps the output alive without knowing.
  bool RestoreLostOutput();
  static constexpr std::int64_t kReopenRetryMicros = 500'000;
  // True while the reopen thread holds the device: nothing is heard then.
  bool reopening() const { return reopening_.load(std::memory_order_acquire); }
  // Pause fades the whole output out over a few milliseconds and then stops every stream
  // where it is; Resume fades it back in from there. A hard cut would leave a step the size
  // of the waveform at that instant, which is heard as a click.
  BassError Pause();
  BassError Resume();
  bool paused() const { return paused_; }
  int pauseRampFrames() const { return gateRampFrames_; }
  void Set3DFactors(float distance, float rolloff, float doppler);
  std::array<float, 3> factors3D() const { return factors3D_; }
  int outputRate() const { return outputRate_; }

  // Streams (main thread) ---------------------------------------------------------------------
  // Takes `decoder` over as a new stopped stream. Flags: kBassSampleLoop, kBassStreamAutoFree.
  // Returns its handle, or 0 with `error` set.
  std::uint32_t CreateStream(std::unique_ptr<Decoder> decoder, int flags, BassError& error);
  BassError Play(std::uint32_t handle, bool restart);
  BassError Stop(std::uint32_t handle);
  BassError SlideAttribute(std::uint32_t handle, int attribute, float value, int ms);
  // True while a slide of `attribute` (kBassAttribAny: any) has time left; `error` tells
  // whether the handle was valid.
  bool IsSliding(std::uint32_t handle, int attribute, BassError& error);
  // The spectrum of what is heard of this stream now: 256 magnitudes (see spectrum.h).
  BassError GetFft(std::uint32_t handle, float* magnitudes);
  // Streams that exist (not freed). Frees auto-free streams that ended first.
  int StreamCount();

  // For tests: the stream's source position in frames and its current attribute values as
  // the mixer last used them; false for an unknown handle.
  struct ChannelProbe {
    double sourcePosition = 0.0;
    float frequency = 0.0f;
    float volume = 0.0f;
    PlayState state = PlayState::kStopped;
    bool looping = false;
    bool autoFree = false;
  };
  bool Probe(std::uint32_t handle, ChannelProbe& probe);
  // Output frames mixed since the engine started.
  std::int64_t framesRendered() const;

  // AudioSource -------------------------------------------------------------------------------
  void Render(float* out, int frames) override;
  void DecodeAhead() override;

 private:
  struct Slot {
    std::shared_ptr<Channel> channel;  // null when free
    std::uint32_t handle = 0;          // the handle of the channel in this slot
  };
  using ChannelRefs = std::array<std::shared_ptr<Channel>, kMaxChannels>;

  // Under mutex_: the channel for `handle`, or null.
  Channel* FindLocked(std::uint32_t handle);
  // Under mutex_: moves the slot's channel into `released` (dropped after unlocking).
  void ReleaseLocked(Slot& slot, std::shared_ptr<Channel>& released);
  // Frees auto-free streams that the mixer found ended.
  void ReapEnded();
  // What every main-thread stream operation does first: reopen a lost output, reap, and
  // pause the device once a pause has faded out (or resume it).
  void Upkeep();
  void SyncDevicePause();
  // Closes the device and opens it again, paused if the output is (main thread, or the
  // reopen thread while it holds the device).
  bool ReopenDevice();
  void ReopenThreadMain();
  void StopReopenThread();
  // The device is there and the engine holds it (main thread).
  bool OutputHeard() const;
  // Frame the listener hears now, estimated from the last pull and the device's buffer.
  std::int64_t HeardFrameLocked(std::int64_t nowMicros) const;
  bool DecodeRound(ChannelRefs& work);
  void DecodeThreadMain();
  void StopDecodeThread();
  void WakeDecoder();

  std::unique_ptr<OutputDevice> device_;
  TimeSource& time_;
  const int outputRate_;
  bool paused_ = false;                               // main thread only
  bool devicePaused_ = false;                         // the device itself; main thread
  const int gateRampFrames_;                          // length of the pause fades
  bool reopenFailed_ = false;                         // the last reopen failed; main thread
  std::int64_t lastReopenMicros_ = 0;                 // when it was tried; main thread
  std::array<float, 3> factors3D_{1.0f, 1.0f, 1.0f};  // stored, unused: no 3D sound

  mutable std::mutex mutex_;  // guards everything below up to the marker
  std::array<Slot, kMaxChannels> slots_{};
  std::uint32_t nextSerial_ = 1;       // makes handles of reused slots differ
  std::int64_t framesRendered_ = 0;    // engine frame index of the next pull
  std::int64_t lastRenderMicros_ = 0;  // time of the last pull
  bool gateOpen_ = true;               // where the pause fade is heading
  int gateLevel_ = 0;                  // 0 (silent) .. gateRampFrames_ (full); set in the ctor
  // ---- end of mutex_-guarded state
  std::atomic<bool> endedPending_{false};  // the mixer saw an auto-free stream end

  // Decode side.
  ChannelRefs pullWork_;      // DecodeAhead's work list (pulling thread)
  std::thread decodeThread_;  // absent when the device decodes on pull
  std::mutex wakeMutex_;
  std::condition_variable wake_;
  bool wakeRequested_ = false;  // under wakeMutex_
  bool quit_ = false;           // under wakeMutex_

  // Reopen side. While reopening_ is set the reopen thread owns device_ and devicePaused_;
  // the main thread leaves both alone until it reads it cleared.
  std::thread reopenThread_;
  std::mutex reopenMutex_;
  std::condition_variable reopenWake_;
  bool reopenRequested_ = false;  // under reopenMutex_
  bool reopenQuit_ = false;       // under reopenMutex_
  std::atomic<bool> reopening_{false};

  std::mutex spectrumMutex_;  // one FFT at a time through the shared scratch
  SpectrumAnalyzer spectrum_;
  std::array<float, SpectrumAnalyzer::kSamples> heard_{};
};

// The engine the TBass functions drive: at most one per process, made by TBass::Init or by
// InitEngineWithOutput, destroyed by TBass::Free. Main thread only.
AudioEngine* CurrentEngine();
// TBass::Init on a given output and time source (tests pass a ManualOutput and a
// ManualTimeSource). Same results and error codes as TBass::Init.
int InitEngineWithOutput(std::unique_ptr<OutputDevice> device, TimeSource& time, int rate);

// Makes the next TBass::Init open `device`, timed by `time` (not owned), instead of the
// default SDL output. The whole program then runs on a hand-pulled output: tests use it for
// exact frames, and so can a capture of the disk. A null device restores the default.
void UseOutputForNextInit(std::unique_ptr<OutputDevice> device, TimeSource* time);

}  // namespace media::audio
