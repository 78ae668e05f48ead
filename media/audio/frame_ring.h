// Decode-ahead buffer of one stream: a single-producer single-consumer ring of stereo float
// frames. The decoder side writes, the mixer side reads; neither ever waits for the other,
// and nothing allocates after construction.
// Depends on: nothing.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace media::audio {

class FrameRing {
 public:
  // `capacityFrames` must be a power of two.
  explicit FrameRing(std::size_t capacityFrames)
      : capacity_(capacityFrames),
        mask_(capacityFrames - 1),
        samples_(std::make_unique<float[]>(2 * capacityFrames)) {}

  std::size_t capacity() const { return capacity_; }

  // Producer side -------------------------------------------------------------------------
  std::size_t FreeFrames() const {
    return capacity_ - static_cast<std::size_t>(written_.load(std::memory_order_relaxed) -
                                                read_.load(std::memory_order_acquire));
  }
  // Where the next frames go: a run of `frames` free frames without a wrap, so that a
  // decoder can write into the ring directly. Publish them with Commit.
  float* WriteSpan(std::size_t& frames) {
    const auto at = static_cast<std::size_t>(written_.load(std::memory_order_relaxed) & mask_);
    frames = std::min(FreeFrames(), capacity_ - at);
    return samples_.get() + 2 * at;
  }
  void Commit(std::size_t frames) {
    written_.store(written_.load(std::memory_order_relaxed) + frames, std::memory_order_release);
  }
  // Copies up to `count` frames in; returns how many fitted.
  std::size_t Write(const float* frames, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
      std::size_t run = 0;
      float* to = WriteSpan(run);
      run = std::min(run, count - done);
      if (run == 0) break;
      std::copy(frames + 2 * done, frames + 2 * (done + run), to);
      Commit(run);
      done += run;
    }
    return done;
  }
  // No more frames will come (a stream that does not loop has been decoded to its end).
  void MarkEnd() { ended_.store(true, std::memory_order_release); }

  // Consumer side -------------------------------------------------------------------------
  std::size_t AvailableFrames() const {
    return static_cast<std::size_t>(written_.load(std::memory_order_acquire) -
                                    read_.load(std::memory_order_relaxed));
  }
  // The frame `offset` frames after the read position; offset < AvailableFrames().
  const float* Peek(std::size_t offset) const {
    const std::uint64_t r = read_.load(std::memory_order_relaxed);
    return samples_.get() + 2 * static_cast<std::size_t>((r + offset) & mask_);
  }
  // How many frames follow Peek(offset) in memory before the ring wraps (itself included).
  std::size_t ContiguousFrom(std::size_t offset) const {
    const std::uint64_t r = read_.load(std::memory_order_relaxed);
    return capacity_ - static_cast<std::size_t>((r + offset) & mask_);
  }
  void Consume(std::size_t frames) {
    read_.store(read_.load(std::memory_order_relaxed) + frames, std::memory_order_release);
  }
  // True once the producer has written its last frame. Frames counted after seeing it
  // are all there will be.
  bool EndMarked() const { return ended_.load(std::memory_order_acquire); }

  // Both sides ------------------------------------------------------------------------------
  // Empties the ring and clears the end mark. Only while neither side is using it.
  void Reset() {
    read_.store(0, std::memory_order_relaxed);
    written_.store(0, std::memory_order_relaxed);
    ended_.store(false, std::memory_order_release);
  }

 private:
  const std::size_t capacity_;
  const std::uint64_t mask_;
  std::unique_ptr<float[]> samples_;       // 2 * capacity_ floats, L R interleaved
  std::atomic<std::uint64_t> written_{0};  // frames written since the last Reset
  std::atomic<std::uint64_t> read_{0};     // frames read since the last Reset
  std::atomic<bool> ended_{false};         // the producer has written its last frame
};

}  // namespace media::audio
