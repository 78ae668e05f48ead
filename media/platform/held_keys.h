// Which keys the window system reports held down right now, as SDL scan codes. Used when the
// window gets the focus back: a key held since before then is no new press.
// Depends on: SDL2, and on X11 or Windows where SDL runs on them.
#pragma once

#include <SDL.h>

#include <bitset>

namespace media {

using ScancodeSet = std::bitset<SDL_NUM_SCANCODES>;

// Fills `held` with the keys held now, as far as the window system of `window` can tell;
// leaves it empty where it cannot (a video driver without such a query).
void QueryHeldKeys(SDL_Window* window, ScancodeSet& held);

}  // namespace media
