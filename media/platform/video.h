// Whether the window system can be reached at all: without it there is no question box and
// no display, and the program says so instead of ending as if the user had cancelled.
#pragma once

#include <SDL.h>

namespace media {

// Whether a window system is named in the environment, so that a refused connection is
// worth asking again.
bool WindowSystemNamed();

// Brings up SDL's video subsystem if it is not up yet; false when no video device works
// (no X server or Wayland compositor, or SDL_VIDEODRIVER names one that cannot start).
bool VideoAvailable();

// SDL_InitSubSystem(SDL_INIT_VIDEO), once more: true when it is up. A window system that is
// named (DISPLAY, WAYLAND_DISPLAY) but refuses the connection, as an X server does for a
// moment when its queue of new connections is full or while it resets after its last client
// left, is asked again for up to five seconds.
bool StartVideo();

// Why video could last not be started (SDL's words), or empty.
const char* VideoStartFailure();

// Runs `connect` until it gives a connection or five seconds have passed, under the same
// rule; for connections of our own to the window system.
template <typename Connect>
auto ConnectPatiently(Connect connect) -> decltype(connect()) {
  auto connection = connect();
  for (int tries = 0; !connection && tries < 100 && WindowSystemNamed(); ++tries) {
    SDL_Delay(50);
    connection = connect();
  }
  return connection;
}

}  // namespace media
