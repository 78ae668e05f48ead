#include "musicgen/envelope.h"

#include <algorithm>
#include <cmath>

namespace musicgen {

namespace {

// Per-sample factor that shrinks a value by 60 dB over `seconds`.
double fallFactor(double seconds, double sampleRate) {
  const double frames = std::max(1.0, seconds * sampleRate);
  return std::exp(std::log(0.001) / frames);
}

}  // namespace

EnvelopeGenerator::EnvelopeGenerator(const Adsr& shape, double sampleRate, std::int64_t gateFrames)
    : attackStep_(1.0 / std::max(1.0, static_cast<double>(shape.attack) * sampleRate)),
      decayFactor_(fallFactor(shape.decay, sampleRate)),
      releaseFactor_(fallFactor(shape.release, sampleRate)),
      sustain_(std::clamp(static_cast<double>(shape.sustain), 0.0, 1.0)),
      gateFrames_(std::max<std::int64_t>(1, gateFrames)),
      releaseFrames_(std::llround(std::max(1.0, shape.release * sampleRate))) {}

float EnvelopeGenerator::next() {
  if (stage_ == Stage::Done) return 0.0f;
  if (frame_ == gateFrames_) {
    stage_ = Stage::Release;
    releaseFrames_ += frame_;
  }
  switch (stage_) {
    case Stage::Attack:
      level_ += attackStep_;
      if (level_ >= 1.0) {
        level_ = 1.0;
        stage_ = Stage::Decay;
      }
      break;
    case Stage::Decay:
      level_ = sustain_ + (level_ - sustain_) * decayFactor_;
      break;
    case Stage::Release:
      level_ *= releaseFactor_;
      if (frame_ >= releaseFrames_) {
        level_ = 0.0;
        stage_ = Stage::Done;
      }
      break;
    case Stage::Done:
      break;
  }
  ++frame_;
  return static_cast<float>(level_);
}

}  // namespace musicgen
