#include "musicgen/sidechain.h"

#include <algorithm>
#include <cmath>

namespace musicgen {

SidechainEnvelope::SidechainEnvelope(std::vector<std::int64_t> triggerFrames,
                                     const SidechainPatch& patch, double framesPerBeat,
                                     double sampleRate)
    : triggers_(std::move(triggerFrames)),
      attackFrames_(std::max(1.0, patch.attackMs * sampleRate / 1000.0)),
      releaseFrames_(std::max(1.0, patch.releaseBeats * framesPerBeat)) {
  std::sort(triggers_.begin(), triggers_.end());
  triggers_.erase(std::unique(triggers_.begin(), triggers_.end()), triggers_.end());
}

float SidechainEnvelope::shapeAfter(std::int64_t framesSinceTrigger) const {
  const double d = static_cast<double>(framesSinceTrigger);
  if (d < attackFrames_) return static_cast<float>(d / attackFrames_);
  return static_cast<float>(std::exp(-(d - attackFrames_) / releaseFrames_));
}

float SidechainEnvelope::at(std::int64_t frame) const {
  auto next = std::upper_bound(triggers_.begin(), triggers_.end(), frame);
  if (next == triggers_.begin()) return 0.0f;
  const auto latest = std::prev(next);
  float depth = shapeAfter(frame - *latest);
  // While a new dip is still ramping down, the previous one may not have recovered yet:
  // following whichever is deeper keeps the gain continuous.
  if (latest != triggers_.begin()) depth = std::max(depth, shapeAfter(frame - *std::prev(latest)));
  return depth;
}

}  // namespace musicgen
