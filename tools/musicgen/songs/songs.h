// The song definitions, one file each. Each returns the complete song as data.
// Depends on: song, pattern_notation, songs/composition.
#pragma once

#include "musicgen/song.h"

namespace musicgen::songs {

Song vortek3();      // driving electronic, F minor, 128 BPM, 102 bars
Song basswobbler();  // half-time wobble bass, E minor, 140 BPM, 133 bars
Song nova();         // oldskool trance, A minor, 137 BPM, 140 bars
Song nova2();        // Nova remixed: acid, a new cadence, 139.5 BPM, 142 bars
Song glow();         // mellow melodic electronica, D major, 104.4 BPM, 84 bars
Song music();        // chip-flavoured loop, C major, 120 BPM, 20 bars

}  // namespace musicgen::songs
