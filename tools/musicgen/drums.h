// Synthesised drums, each hit rendered whole as a mono one-shot: a kick with a falling
// pitch, a snare, a hand clap, closed/open hats, a crash cymbal and a tom. Noise comes from the
// hit's own seed, so the same hit always sounds the same. Depends on: oscillator,
// state_variable_filter, rng.
#pragma once

#include <cstdint>
#include <vector>

namespace musicgen {

enum class DrumKind { Kick, Snare, Clap, ClosedHat, OpenHat, Crash, Tom };

struct DrumPatch {
  DrumKind kind = DrumKind::Kick;
  float tune = 1.0f;   // multiplies every frequency of the sound
  float decay = 1.0f;  // multiplies every decay time
  float tone = 0.5f;   // 0..1: kick click, snare rattle, clap/hat/crash brightness, tom skin
};

// One hit at velocity 0..1, as long as its decay needs (never empty).
std::vector<float> renderDrum(const DrumPatch& patch, float velocity, double sampleRate,
                              std::uint64_t seed);

}  // namespace musicgen
