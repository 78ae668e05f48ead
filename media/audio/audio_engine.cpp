#include "media/audio/audio_engine.h"

#include <algorithm>
#include <chrono>

namespace media::audio {
namespace {

// An idle decode thread looks for room in the rings this often even when nobody wakes it:
// a 0.74 s ring is then never less than 0.7 s ahead.
constexpr auto kDecodeIdleWait = std::chrono::milliseconds(10);

constexpr int kSlotBits = 7;  // 1 << kSlotBits == kMaxChannels
static_assert((1 << kSlotBits) == AudioEngine::kMaxChannels);

// Frequencies a slide may reach: down to 1 Hz (the stopping tape), up to 8 times the
// output rate, beyond which one output block would need more frames than a ring holds.
constexpr int kMaxRateFactor = 8;

}  // namespace

// The pause fades last 5 ms: short enough to feel instant, long enough to leave no step.
constexpr int kGateRampsPerSecond = 200;

AudioEngine::AudioEngine(std::unique_ptr<OutputDevice> device, TimeSource& time, int outputRate)
    : device_(std::move(device)),
      time_(time),
      outputRate_(outputRate),
      gateRampFrames_(std::max(1, outputRate / kGateRampsPerSecond)),
      gateLevel_(gateRampFrames_) {}

AudioEngine::~AudioEngine() {
  StopReopenThread();  // gives the device back, opened or not
  device_->Close();    // after this the mixer never runs again
  StopDecodeThread();
  // The slots release every channel; nothing else holds one now.
}

BassError AudioEngine::Start(std::string& detail) {
  lastRenderMicros_ = time_.NowMicros();
  if (!device_->DecodesOnPull()) decodeThread_ = std::thread([this] { DecodeThreadMain(); });
  const BassError error = device_->Open(outputRate_, *this, detail);
  if (error != kBassOk) StopDecodeThread();
  return error;
}

// Whole output ---------------------------------------------------------------------------------

bool AudioEngine::RestoreLostOutput() {
  if (reopening() || !device_->Lost()) return false;
  if (paused_) {
    // Nothing is heard across a reopen: a paused output comes back silent, with no fade.
    std::lock_guard lock(mutex_);
    gateLevel_ = 0;
    devicePaused_ = true;
  }
  if (!device_->DecodesOnPull()) {
    reopening_.store(true, std::memory_order_release);  // the device is the thread's now
    if (!reopenThread_.joinable()) reopenThread_ = std::thread([this] { ReopenThreadMain(); });
    {
      std::lock_guard lock(reopenMutex_);
      reopenRequested_ = true;
    }
    reopenWake_.notify_one();
    return false;
  }
  const std::int64_t now = time_.NowMicros();
  if (reopenFailed_ && now - lastReopenMicros_ < kReopenRetryMicros) return false;
  lastReopenMicros_ = now;
  reopenFailed_ = !ReopenDevice();
  return !reopenFailed_;
}

bool AudioEngine::ReopenDevice() {
  device_->Close();
  device_->SetPaused(devicePaused_);
  std::string detail;
  return device_->Open(outputRate_, *this, detail) == kBassOk;
}

void AudioEngine::ReopenThreadMain() {
  // One try per retry interval at most, also when an output opens and is lost again at once
  // (one that accepts the open and then fails every write): the first try after a loss is at
  // once, the rest wait their turn, or the end of the engine.
  const auto interval = std::chrono::microseconds(kReopenRetryMicros);
  auto nextTry = std::chrono::steady_clock::now();
  const auto quitting = [this] { return reopenQuit_; };
  struct ThreadEnd {
    OutputDevice& device;
    ~ThreadEnd() { device.ThreadDone(); }
  } threadEnd{*device_};
  std::unique_lock lock(reopenMutex_);
  for (;;) {
    reopenWake_.wait(lock, [this] { return reopenQuit_ || reopenRequested_; });
    reopenRequested_ = false;
    bool opened = false;
    while (!opened && !reopenWake_.wait_until(lock, nextTry, quitting)) {
      lock.unlock();
      nextTry = std::chrono::steady_clock::now() + interval;
      opened = ReopenDevice();
      lock.lock();
    }
    reopening_.store(false, std::memory_order_release);  // handed back to the main thread
    if (reopenQuit_) return;
  }
}

void AudioEngine::StopReopenThread() {
  if (!reopenThread_.joinable()) return;
  {
    std::lock_guard lock(reopenMutex_);
    reopenQuit_ = true;
  }
  reopenWake_.notify_all();
  reopenThread_.join();
}

bool AudioEngine::OutputHeard() const {
  return !reopening() && !device_->Lost();
}

BassError AudioEngine::Pause() {
  if (paused_) return kBassErrorAlready;
  {
    std::lock_guard lock(mutex_);
    gateOpen_ = false;  // the mixer fades out; SyncDevicePause then pauses the device
  }
  paused_ = true;
  return kBassOk;
}

BassError AudioEngine::Resume() {
  {
    std::lock_guard lock(mutex_);
    gateOpen_ = true;  // fades in from wherever the fade out got to
  }
  // While the reopen thread holds the device it opens it paused; the next Upkeep after that
  // resumes it.
  paused_ = false;
  SyncDevicePause();
  return kBassOk;
}

void AudioEngine::SyncDevicePause() {
  if (reopening()) return;
  bool wanted = false;  // the device pauses once a pause has faded out, and resumes at once
  if (paused_) {
    std::lock_guard lock(mutex_);
    wanted = gateLevel_ == 0;
  }
  if (wanted == devicePaused_) return;
  device_->SetPaused(wanted);
  devicePaused_ = wanted;
}

void AudioEngine::Set3DFactors(float distance, float rolloff, float doppler) {
  factors3D_ = {distance, rolloff, doppler};
}

// Streams --------------------------------------------------------------------------------------

std::uint32_t AudioEngine::CreateStream(std::unique_ptr<Decoder> decoder, int flags,
                                        BassError& error) {
  if (!decoder) {
    error = kBassErrorFileFormat;
    return 0;
  }
  Upkeep();
  // Made before the lock is taken: the mixer must never wait on the allocator.
  auto channel = std::make_shared<Channel>(std::move(decoder), (flags & kBassSampleLoop) != 0,
                                           (flags & kBassStreamAutoFree) != 0, outputRate_);
  std::uint32_t handle = 0;
  {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      Slot& slot = slots_[i];
      if (slot.channel) continue;
      const std::uint32_t serial = nextSerial_;
      nextSerial_ = nextSerial_ + 1 < (1u << (32 - kSlotBits)) ? nextSerial_ + 1 : 1;
      handle = (serial << kSlotBits) | static_cast<std::uint32_t>(i);
      slot.channel = std::move(channel);
      slot.handle = handle;
      break;
    }
  }
  if (handle == 0) {
    error = kBassErrorMemory;  // every slot taken; `channel` is freed here, unlocked
    return 0;
  }
  WakeDecoder();  // start decoding ahead before Play is even called
  error = kBassOk;
  return handle;
}

BassError AudioEngine::Play(std::uint32_t handle, bool restart) {
  Upkeep();
  {
    std::lock_guard lock(mutex_);
    Channel* channel = FindLocked(handle);
    if (channel == nullptr) return kBassErrorHandle;
    // Playing a stream that ran to its end starts it again from its first frame.
    if (restart || channel->state == PlayState::kEnded) ++channel->restartsRequested;
    if (channel->state != PlayState::kPlaying) channel->playStartFrame = framesRendered_;
    channel->state = PlayState::kPlaying;
  }
  WakeDecoder();
  return kBassOk;
}

BassError AudioEngine::Stop(std::uint32_t handle) {
  Upkeep();
  std::shared_ptr<Channel> released;  // dropped after unlocking
  std::lock_guard lock(mutex_);
  Channel* channel = FindLocked(handle);
  if (channel == nullptr) return kBassErrorHandle;
  if (channel->state == PlayState::kPlaying) channel->state = PlayState::kStopped;
  if (channel->autoFree) {
    ReleaseLocked(slots_[handle & (kMaxChannels - 1)], released);
  }
  return kBassOk;
}

BassError AudioEngine::SlideAttribute(std::uint32_t handle, int attribute, float value, int ms) {
  Upkeep();
  const std::int64_t now = time_.NowMicros();
  const std::int64_t duration = std::max(ms, 0) * std::int64_t{1000};
  std::lock_guard lock(mutex_);
  Channel* channel = FindLocked(handle);
  if (channel == nullptr) return kBassErrorHandle;
  switch (attribute) {
    case kBassAttribFrequency: {
      // 0 or less means the stream's own rate.
      const float target =
          value <= 0.0f ? static_cast<float>(channel->sourceRate)
                        : std::clamp(value, 1.0f, static_cast<float>(kMaxRateFactor * outputRate_));
      channel->frequency.Request(target, duration, now);
      return kBassOk;
    }
    case kBassAttribVolume:
      // A negative target fades to silence.
      channel->volume.Request(std::clamp(value, 0.0f, 1.0f), duration, now);
      return kBassOk;
    default:
      return kBassErrorIllegalParam;
  }
}

bool AudioEngine::IsSliding(std::uint32_t handle, int attribute, BassError& error) {
  const std::int64_t now = time_.NowMicros();
  std::lock_guard lock(mutex_);
  Channel* channel = FindLocked(handle);
  if (channel == nullptr) {
    error = kBassErrorHandle;
    return false;
  }
  error = kBassOk;
  switch (attribute) {
    case kBassAttribAny:
      return channel->frequency.SlidingAt(now) || channel->volume.SlidingAt(now);
    case kBassAttribFrequency:
      return channel->frequency.SlidingAt(now);
    case kBassAttribVolume:
      return channel->volume.SlidingAt(now);
    default:
      error = kBassErrorIllegalParam;
      return false;
  }
}

BassError AudioEngine::GetFft(std::uint32_t handle, float* magnitudes) {
  Upkeep();
  std::lock_guard spectrumLock(spectrumMutex_);
  // Nothing is heard while the output is gone: the letters rest.
  bool audible = OutputHeard();
  {
    const std::int64_t now = time_.NowMicros();
    std::lock_guard lock(mutex_);
    Channel* channel = FindLocked(handle);
    if (channel == nullptr) return kBassErrorHandle;
    // Paused output and stopped streams are heard as silence.
    audible = audible && channel->state == PlayState::kPlaying && !paused_;
    if (audible) channel->CopyMixedHistory(HeardFrameLocked(now), heard_.data(), heard_.size());
  }
  if (audible) {
    spectrum_.Compute(heard_.data(), magnitudes);
  } else {
    std::fill(magnitudes, magnitudes + SpectrumAnalyzer::kBins, 0.0f);
  }
  return kBassOk;
}

int AudioEngine::StreamCount() {
  Upkeep();
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(slots_.begin(), slots_.end(),
                                        [](const Slot& slot) { return slot.channel != nullptr; }));
}

bool AudioEngine::Probe(std::uint32_t handle, ChannelProbe& probe) {
  std::lock_guard lock(mutex_);
  Channel* channel = FindLocked(handle);
  if (channel == nullptr) return false;
  probe.sourcePosition = channel->sourcePosition();
  probe.frequency = channel->frequency.value();
  probe.volume = channel->volume.value();
  probe.state = channel->state;
  probe.looping = channel->looping;
  probe.autoFree = channel->autoFree;
  return true;
}

std::int64_t AudioEngine::framesRendered() const {
  std::lock_guard lock(mutex_);
  return framesRendered_;
}

Channel* AudioEngine::FindLocked(std::uint32_t handle) {
  if (handle == 0) return nullptr;
  Slot& slot = slots_[handle & (kMaxChannels - 1)];
  return slot.handle == handle ? slot.channel.get() : nullptr;
}

void AudioEngine::ReleaseLocked(Slot& slot, std::shared_ptr<Channel>& released) {
  released = std::move(slot.channel);
  slot.handle = 0;
}

void AudioEngine::Upkeep() {
  RestoreLostOutput();
  ReapEnded();
  SyncDevicePause();
}

void AudioEngine::ReapEnded() {
  if (!endedPending_.exchange(false, std::memory_order_acq_rel)) return;
  ChannelRefs released;  // freed when this function returns, after unlocking
  std::size_t count = 0;
  std::lock_guard lock(mutex_);
  for (Slot& slot : slots_) {
    if (slot.channel && slot.channel->autoFree && slot.channel->state == PlayState::kEnded) {
      ReleaseLocked(slot, released[count++]);
    }
  }
}

std::int64_t AudioEngine::HeardFrameLocked(std::int64_t nowMicros) const {
  // A pull hands the device a block that it plays after what it already holds: right after
  // a pull the listener hears the frame `latency` before its end, and from then on the
  // heard frame moves on in real time until the next pull.
  const std::int64_t maxLatency =
      static_cast<std::int64_t>(Channel::kHistoryFrames - SpectrumAnalyzer::kSamples) - 1;
  const std::int64_t latency = std::clamp<std::int64_t>(device_->LatencyFrames(), 0, maxLatency);
  const std::int64_t elapsed = (nowMicros - lastRenderMicros_) * outputRate_ / 1'000'000;
  return framesRendered_ - latency + std::clamp<std::int64_t>(elapsed, 0, latency);
}

// Mixer ----------------------------------------------------------------------------------------

void AudioEngine::Render(float* out, int frames) {
  std::fill(out, out + 2 * static_cast<std::size_t>(frames), 0.0f);
  const std::int64_t now = time_.NowMicros();
  bool ended = false;
  std::lock_guard lock(mutex_);
  // Fading out, the streams play on until the fade reaches silence, then stand still.
  const int live = gateOpen_ ? frames : std::min(frames, gateLevel_);
  for (Slot& slot : slots_) {
    Channel* channel = slot.channel.get();
    if (channel == nullptr || channel->state != PlayState::kPlaying) continue;
    if (channel->restartsDone != channel->restartsRequested) continue;  // being rewound
    channel->MixInto(out, live, framesRendered_, now);
    ended = ended || (channel->state == PlayState::kEnded && channel->autoFree);
  }
  if (!gateOpen_ || gateLevel_ != gateRampFrames_) {
    const float perLevel = 1.0f / static_cast<float>(gateRampFrames_);
    for (int i = 0; i < live; ++i) {
      gateLevel_ += gateOpen_ ? (gateLevel_ < gateRampFrames_ ? 1 : 0) : -1;
      const float gain = static_cast<float>(gateLevel_) * perLevel;
      out[2 * i] *= gain;
      out[2 * i + 1] *= gain;
    }
  }
  framesRendered_ += live;
  lastRenderMicros_ = now;
  if (ended) endedPending_.store(true, std::memory_order_release);
}

// Decode side ----------------------------------------------------------------------------------

void AudioEngine::DecodeAhead() {
  DecodeRound(pullWork_);
}

bool AudioEngine::DecodeRound(ChannelRefs& work) {
  std::array<std::uint32_t, kMaxChannels> restartTo{};
  std::array<bool, kMaxChannels> rewind{};
  std::size_t count = 0;
  {
    std::lock_guard lock(mutex_);
    for (Slot& slot : slots_) {
      if (!slot.channel) continue;
      work[count] = slot.channel;  // a reference, so that a Free meanwhile cannot delete it
      restartTo[count] = slot.channel->restartsRequested;
      rewind[count] = slot.channel->restartsDone != slot.channel->restartsRequested;
      ++count;
    }
  }
  bool decoded = false;
  for (std::size_t i = 0; i < count; ++i) {
    Channel& channel = *work[i];
    if (rewind[i]) {
      // The mixer skips the channel until restartsDone catches up, so the ring and the
      // playback state can be reset here.
      channel.RewindDecoder();
      channel.DecodeAhead();
      std::lock_guard lock(mutex_);
      channel.ResetPlayback();
      channel.restartsDone = restartTo[i];
      decoded = true;
    } else {
      decoded = channel.DecodeAhead() || decoded;
    }
  }
  // A channel freed meanwhile is deleted here, on the decode side, outside the lock.
  for (std::size_t i = 0; i < count; ++i) work[i].reset();
  return decoded;
}

void AudioEngine::DecodeThreadMain() {
  ChannelRefs work;
  for (;;) {
    const bool busy = DecodeRound(work);
    std::unique_lock lock(wakeMutex_);
    if (!busy && !quit_) {
      wake_.wait_for(lock, kDecodeIdleWait, [this] { return quit_ || wakeRequested_; });
    }
    wakeRequested_ = false;
    if (quit_) return;
  }
}

void AudioEngine::StopDecodeThread() {
  if (!decodeThread_.joinable()) return;
  {
    std::lock_guard lock(wakeMutex_);
    quit_ = true;
  }
  wake_.notify_all();
  decodeThread_.join();
}

void AudioEngine::WakeDecoder() {
  if (!decodeThread_.joinable()) return;
  {
    std::lock_guard lock(wakeMutex_);
    wakeRequested_ = true;
  }
  wake_.notify_one();
}

}  // namespace media::audio
