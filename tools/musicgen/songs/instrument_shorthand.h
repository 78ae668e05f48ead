// Shorthand for the instruments most songs share, so a song file reads as music rather
// than as struct syntax. Every value stays overridable in the song itself.
// Depends on: song.
#pragma once

#include <string>

#include "musicgen/song.h"

namespace musicgen::songs {

inline Instrument drum(std::string name, DrumKind kind, MixSettings mix, float tune = 1.0f,
                       float decay = 1.0f, float tone = 0.5f) {
  return {std::move(name), DrumPatch{kind, tune, decay, tone}, mix};
}

inline Instrument synth(std::string name, SynthPatch patch, MixSettings mix) {
  return {std::move(name), std::move(patch), mix};
}

}  // namespace musicgen::songs
