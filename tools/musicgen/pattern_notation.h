// A compact text notation for writing patterns by hand in the song files.
//
// Melodic: whitespace-separated tokens, one per sixteenth step.
//   "0"      a note, in semitones above the song's root (negative allowed)
//   "0+3+7"  a chord
//   "5@2"    a note that sets the LFO to 2 cycles per beat
//   "~5"     a note that slides in from the pattern's previous note
//   "5!"     an accent: full velocity (the pattern's velocity is for the others) and the
//            instrument's accent on the filter; marks combine as "~5!@2"
//   "-"      holds the previous note or chord one more step
//   "."      rest
//   "|"      a bar line for the reader; separates like a space
// Rhythmic: one character per step: 'X' accent, 'x' normal, 'o' ghost, '.' rest;
// spaces and '|' are ignored.
// Comping: one chord per bar played to a rhythm: 'x' strikes the chord, '-' holds it,
// '.' rests; spaces and '|' are ignored.
// Depends on: song (Pattern, Note).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "musicgen/song.h"

namespace musicgen {

// Both throw std::invalid_argument on a token they do not understand.
Pattern melody(std::string name, std::string_view text, float velocity = 1.0f);
Pattern rhythm(std::string name, std::string_view text);
// chords: melodic chord tokens such as "0+3+7", one per bar in order.
Pattern comping(std::string name, const std::vector<std::string_view>& chords,
                std::string_view rhythm);

}  // namespace musicgen
