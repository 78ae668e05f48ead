// Whether the window system can be reached at all: without it there is no question box and
// no display, and the program says so instead of ending as if the user had cancelled.
#pragma once

namespace media {

// Brings up SDL's video subsystem if it is not up yet; false when no video device works
// (no X server or Wayland compositor, or SDL_VIDEODRIVER names one that cannot start).
bool VideoAvailable();

}  // namespace media
