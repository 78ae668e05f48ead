// Send effects shared by all instruments: a tempo-synced ping-pong delay and a feedback
// delay network reverb. Each turns a block of send signal into its wet return, in place.
// Depends on: nothing.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace musicgen {

struct DelayPatch {
  float beats = 0.75f;        // echo spacing; dotted eighths suit most of our tempos
  float feedback = 0.35f;     // 0..0.95
  float dampingHz = 4500.0f;  // each echo is darker than the one before
};

struct ReverbPatch {
  float seconds = 2.2f;       // time to fall by 60 dB
  float dampingHz = 6500.0f;  // high frequencies die sooner, as in a real room
  float predelayMs = 18.0f;
};

class PingPongDelay {
 public:
  PingPongDelay(const DelayPatch& patch, double framesPerBeat, double sampleRate);
  // Mono sum of the send in, echoes alternating left and right out.
  void process(float* left, float* right, std::size_t frames);

 private:
  std::vector<float> lineLeft_, lineRight_;
  std::size_t cursor_ = 0;
  float feedback_;
  float dampCoefficient_;
  float dampLeft_ = 0.0f, dampRight_ = 0.0f;
};

class Reverb {
 public:
  Reverb(const ReverbPatch& patch, double sampleRate);
  void process(float* left, float* right, std::size_t frames);

 private:
  static constexpr std::size_t kLines = 8;

  struct DelayLine {
    std::vector<float> buffer;
    std::size_t cursor = 0;
    float read() const { return buffer[cursor]; }
    void write(float value) {
      buffer[cursor] = value;
      if (++cursor == buffer.size()) cursor = 0;
    }
  };

  struct Allpass {
    DelayLine line;
    float process(float input);
  };

  std::vector<float> predelayLeft_, predelayRight_;
  std::size_t predelayCursor_ = 0;
  std::array<Allpass, 4> diffusers_;  // two per side smear the attacks before the tank
  std::array<DelayLine, kLines> lines_;
  std::array<float, kLines> lineGain_{};  // per-pass loss that gives the decay time
  std::array<float, kLines> damp_{};      // one-pole low-pass state per line
  float dampCoefficient_;
};

}  // namespace musicgen
