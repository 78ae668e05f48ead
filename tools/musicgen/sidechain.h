// Side-chain pumping: every kick pulls the other instruments down for a moment and lets
// them swell back before the next beat. Computed from the kick's note times rather than
// its audio, so the pump is exactly on the grid and costs nothing to detect.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace musicgen {

struct SidechainPatch {
  float attackMs = 4.0f;      // the dip is quick but never a click
  float releaseBeats = 0.3f;  // time constant of the recovery
};

class SidechainEnvelope {
 public:
  // triggerFrames: when the keying instrument's notes start, in any order.
  SidechainEnvelope(std::vector<std::int64_t> triggerFrames, const SidechainPatch& patch,
                    double framesPerBeat, double sampleRate);

  // 0 (no dip) .. 1 (fully down) at a song frame. An instrument's gain is 1 - duck * this.
  float at(std::int64_t frame) const;

 private:
  float shapeAfter(std::int64_t framesSinceTrigger) const;

  std::vector<std::int64_t> triggers_;  // sorted, unique
  double attackFrames_;
  double releaseFrames_;
};

}  // namespace musicgen
