// The material "Nova" and its remix share: the four-bar theme and its chords, in A minor
// with the song root on A2.
// Depends on: nothing.
#pragma once

#include <string_view>
#include <vector>

namespace musicgen::songs {

// Am, F, C, G, one bar each.
inline constexpr std::string_view kNovaTheme =
    "31 - - 29 | - - 27 - | 31 - - 29 | - - 24 - |"
    "32 - - 31 | - - 29 - | 27 - - 29 | - - 24 - |"
    "31 - - 29 | - - 27 - | 34 - - 31 | - - 27 - |"
    "26 - - 27 | - - 29 - | 26 - - - | . . . . ";

// Close voicings that move as little as possible from chord to chord.
inline const std::vector<std::string_view> kNovaChords = {"12+15+19", "12+15+20", "10+15+19",
                                                          "10+14+17"};

// Chord roots from A1 for the bass: A, F, C, G.
inline const std::vector<int> kNovaRoots = {0, -4, 3, -2};

}  // namespace musicgen::songs
