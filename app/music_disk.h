// The main routine: start-up in its fixed order, one loop iteration per displayed frame,
// and the shutdown that ends the process.
#pragma once

namespace app {

struct AppState;

// Exit code when no display can be opened.
constexpr int kExitNoDisplay = 1;

// Runs the whole program on `state`. Returns only when the audio output cannot be opened
// (0), when no display can be opened (kExitNoDisplay) or when it has already run (0); every
// other end goes through media::End.
int MusicDiskMain(AppState& state);

// Start-up in two halves around opening the audio output and the display, for whoever runs
// the disk on other devices (benchmarks, tools). Before: the embedded files, the stream and
// timing modules, the GL driver selected, the scroll text, pictures and fonts.
void StartUpBeforeDevices(AppState& state);
// After the display opened: cleared to black, the clear colour set, the track list built,
// the pointer hidden and track 1 playing (its loading screen included).
void StartUpOnTheDisplay(AppState& state);

// One frame of the main loop. Returns true when the loop should end (Escape or a close
// request).
bool RunFrame(AppState& state);

// Acts on the keys pressed since the last frame, in the key table's order.
void HandleKeys(AppState& state);

// Stops the music, frees the audio output and ends the process.
[[noreturn]] void Shutdown(AppState& state);

// Forgets that the main routine has run, so that a test can run it again.
void ResetRunOnceGuardForTesting();

}  // namespace app
