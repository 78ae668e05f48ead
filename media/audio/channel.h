// One stream of the engine. Its decoder fills a decode-ahead ring on the decode side; the
// mixer reads the ring at the channel's playback frequency (4-point cubic interpolation,
// step recomputed every output frame while the frequency slides), applies the volume, adds
// the result to the output block and keeps the last mixed samples for the spectrum.
// Depends on: the decoder and ring of this folder.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "media/audio/decoder.h"
#include "media/audio/frame_ring.h"
#include "media/audio/slide.h"

namespace media::audio {

enum class PlayState {
  kStopped,  // new, or stopped: keeps its position
  kPlaying,  // mixed into the output
  kEnded,    // a stream that does not loop ran out of frames
};

class Channel {
 public:
  static constexpr std::size_t kRingFrames = 32768;     // 0.74 s decoded ahead at 44.1 kHz
  static constexpr std::size_t kHistoryFrames = 16384;  // mixed samples kept for the FFT

  Channel(std::unique_ptr<Decoder> decoder, bool looping, bool autoFree, int outputRate);
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  // Channels alive in the process (made and not yet destroyed).
  static int LiveCount() { return liveCount_.load(std::memory_order_acquire); }

  // Decode side: one thread at a time, without the engine lock --------------------------------
  // Tops the ring up. Returns true when anything was decoded.
  bool DecodeAhead();
  // Goes back to the first frame and empties the ring, while the mixer skips this channel.
  void RewindDecoder();

  // Mixer: under the engine lock ---------------------------------------------------------------
  // Adds `frames` output frames into `out`; `firstFrame` is the engine's index of out[0].
  // A stream that runs out of frames turns kEnded.
  void MixInto(float* out, int frames, std::int64_t firstFrame, std::int64_t nowMicros);
  // Playback back to the first frame (after the decode side rewound).
  void ResetPlayback();
  // The 512 mono samples mixed before engine frame `endFrame`, oldest first; frames from
  // before the current play started count as silence.
  void CopyMixedHistory(std::int64_t endFrame, float* out, std::size_t count) const;
  // Source frames played so far, fractional, counting on across loops.
  double sourcePosition() const { return static_cast<double>(consumed_) - 3.0 + frac_; }

  // Fixed at creation.
  const bool looping;    // wraps sample-exactly at the end
  const bool autoFree;   // the engine frees it when it is stopped or ends
  const int sourceRate;  // Hz of the decoded sound
  const int outputRate;  // Hz of the engine's output

  // Shared between the main thread, the mixer and the decode side: under the engine lock.
  PlayState state = PlayState::kStopped;
  SlidingValue frequency;               // Hz; starts at sourceRate
  SlidingValue volume;                  // 0..1; starts at 1
  std::uint32_t restartsRequested = 0;  // bumped by Play(restart) and replay after the end
  std::uint32_t restartsDone = 0;       // the decode side has rewound up to this request
  std::int64_t playStartFrame = 0;      // engine frame at which the current play began

 private:
  // Moves the interpolation window one source frame on. False when the ring is empty
  // (starved), or the stream has ended.
  bool Advance(std::size_t& taken, std::size_t& available);
  // The fast path of MixInto; returns the frames it mixed (0 when it does not apply).
  int MixAtOwnPace(float* out, int frames, std::int64_t firstFrame, std::size_t available,
                   std::size_t& taken);
  void Shift(const float* frame);

  static std::atomic<int> liveCount_;

  // Decode side.
  std::unique_ptr<Decoder> decoder_;
  FrameRing ring_;
  bool decodeEnded_ = false;            // the end was written to the ring
  std::int64_t framesSinceRewind_ = 0;  // guards a loop over data that yields nothing

  // Mixer side (under the engine lock).
  std::array<std::array<float, 2>, 4> window_{};  // source frames n-1, n, n+1, n+2
  double frac_ = 3.0;                 // position past frame n; starts 3 frames before the first
  std::int64_t consumed_ = 0;         // source frames taken into the window
  int padFrames_ = 0;                 // silent frames shifted in after the end of the data
  std::unique_ptr<float[]> history_;  // kHistoryFrames mono samples, by engine frame index
};

}  // namespace media::audio
