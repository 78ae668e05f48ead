// Which keys are held down when the window gets the focus back, as SDL scan codes: such a
// key is no new press, though the window system sends it down again.
// Depends on: SDL2, and on X11 or Windows where SDL runs on them.
#pragma once

#include <SDL.h>

#include <bitset>

namespace media {

using ScancodeSet = std::bitset<SDL_NUM_SCANCODES>;

// X11: the keys an X key vector holds down (32 bytes, one bit a keycode, as the server sends
// in the KeymapNotify that follows every FocusIn, so exactly as they were when the focus
// came). `window`'s display names the keycodes. Elsewhere: nothing.
void HeldKeysOfX11KeyVector(SDL_Window* window, const char* keys, ScancodeSet& held);

// Windows: the keys held down now. Elsewhere: nothing (X11 tells through its key vector).
void QueryHeldKeys(SDL_Window* window, ScancodeSet& held);

}  // namespace media
