// The material "Nova" and its remix share: the eight-bar theme and its chords, in A minor
// with the song root on A2.
// Depends on: nothing.
#pragma once

#include <string_view>
#include <vector>

namespace musicgen::songs {

// Am, F, C, G, one bar each, twice: the call, then the answer that climbs to the B
// leading back to the start.
inline constexpr std::string_view kNovaTheme =
    "31 - - 29 | - - 27 - | 31 - - 29 | - - 24 - |"
    "32 - - 31 | - - 29 - | 27 - - 29 | - - 24 - |"
    "31 - - 29 | - - 27 - | 34 - - 31 | - - 27 - |"
    "26 - - 27 | - - 29 - | 26 - - - | . . . . |"
    "31 - - 29 | - - 27 - | 31 - - 29 | - - 24 - |"
    "32 - - 31 | - - 29 - | 27 - - 29 | - - 32 - |"
    "34 - - 31 | - - 27 - | 34 - - 36 | - - 34 - |"
    "29 - - 31 | - - 34 - | 38 - - - | - - . . ";

// A minor's notes in semitones from A, for harmonising the theme.
inline const std::vector<int> kAMinorScale = {0, 2, 3, 5, 7, 8, 10};

// Close voicings that move as little as possible from chord to chord.
inline const std::vector<std::string_view> kNovaChords = {"12+15+19", "12+15+20", "10+15+19",
                                                          "10+14+17"};

// Chord roots from A1 for the bass: A, F, C, G.
inline const std::vector<int> kNovaRoots = {0, -4, 3, -2};

}  // namespace musicgen::songs
