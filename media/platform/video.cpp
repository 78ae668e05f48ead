#include "media/platform/video.h"

#include <SDL.h>

#include <cstring>
#include <initializer_list>
#include <string>

namespace media {

namespace {

// SDL falls back to drivers that show nothing (an offscreen one) when no window system
// answers; those count as a display only when asked for by name, as tests and headless
// tools do through SDL_VIDEODRIVER.
bool ShowsNothing(const char* driver) {
  return driver != nullptr &&
         (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

std::string& LastFailure() {
  static std::string failure;
  return failure;
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
  // Where no window system answers, SDL comes up on a driver that shows nothing: that is a
  // refusal like any other, asked again while a window system is named, and video is left
  // down. Only a driver asked for by name (tests, headless tools) counts as it is.
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  const bool named = requested != nullptr && *requested != '\0';
  std::string blind;
  const bool started = ConnectPatiently([&] {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    if (named || !ShowsNothing(SDL_GetCurrentVideoDriver())) return true;
    blind = std::string("no window system, only SDL's ") + SDL_GetCurrentVideoDriver();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  });
  LastFailure() = started ? "" : (blind.empty() ? SDL_GetError() : blind);
  return started;
}

const char* VideoStartFailure() {
  return LastFailure().c_str();
}

bool VideoAvailable() {
  return SDL_WasInit(SDL_INIT_VIDEO) != 0 || StartVideo();
}

}  // namespace media
