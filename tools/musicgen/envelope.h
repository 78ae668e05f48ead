// ADSR envelope: linear attack, then exponential decay to the sustain level while the gate
// is held and an exponential release after it, the curves a listener hears as natural.
// Depends on: nothing.
#pragma once

#include <cstdint>

namespace musicgen {

// Times in seconds. Decay and release are the time to get within -60 dB of their target.
struct Adsr {
  float attack = 0.005f;
  float decay = 0.2f;
  float sustain = 1.0f;  // 0..1
  float release = 0.05f;
};

class EnvelopeGenerator {
 public:
  // gateFrames: how long the key is held; the release starts there.
  EnvelopeGenerator(const Adsr& shape, double sampleRate, std::int64_t gateFrames);

  float next();
  // True once the release has faded out; the voice can be dropped.
  bool finished() const { return stage_ == Stage::Done; }

 private:
  enum class Stage { Attack, Decay, Release, Done };

  Stage stage_ = Stage::Attack;
  double level_ = 0.0;
  double attackStep_;     // level added per sample
  double decayFactor_;    // per-sample factor on the distance to sustain
  double releaseFactor_;  // per-sample factor on the level
  double sustain_;
  std::int64_t gateFrames_;
  std::int64_t releaseFrames_;  // release ends here: -60 dB, then silence
  std::int64_t frame_ = 0;
};

}  // namespace musicgen
