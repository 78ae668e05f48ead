// Changing the playing track: wind the old one down, show the loading screen for a second,
// start the new one looping.
#pragma once

namespace app {

struct AppState;

// Plays track `n` of the track list. Returns 0.
int PlaySong(AppState& state, int n);

}  // namespace app
