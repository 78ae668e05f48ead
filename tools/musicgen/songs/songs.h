// The song definitions, one file each. Each returns the complete song as data.
// Depends on: song, pattern_notation.
#pragma once

#include "musicgen/song.h"

namespace musicgen::songs {

Song vortek3();      // driving electronic, F minor, 128 BPM
Song basswobbler();  // half-time wobble bass, E minor, 140 BPM
Song nova();         // oldskool trance, A minor, 138 BPM
Song nova2();        // Nova's theme in a new arrangement, 140 BPM
Song glow();         // mellow melodic electronica, D major, 105 BPM
Song music();        // short chip-flavoured loop, C major, 120 BPM

}  // namespace musicgen::songs
