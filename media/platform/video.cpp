#include "media/platform/video.h"

#include <SDL.h>

#include <cstring>
#include <initializer_list>

namespace media {

namespace {

// SDL falls back to drivers that show nothing (an offscreen one) when no window system
// answers; those count as a display only when asked for by name, as tests and headless
// tools do through SDL_VIDEODRIVER.
bool ShowsNothing(const char* driver) {
  return driver != nullptr &&
         (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

bool WindowSystemNamed() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = SDL_getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

bool StartVideo() {
  return ConnectPatiently([] { return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; });
}

bool VideoAvailable() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && !StartVideo()) return false;
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  if (ShowsNothing(SDL_GetCurrentVideoDriver()) && (requested == nullptr || *requested == '\0')) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  return true;
}

}  // namespace media
