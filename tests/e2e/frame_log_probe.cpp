// The whole music disk, unchanged, with two additions that log to the file named by
// $FRAME_LOG, one line each, in microseconds of the steady clock:
//   "flip T"     every Flip began (from the flip hook, after frame timing's own hook)
//   "present T"  a finished frame went to the window system (SDL's GL swap or window-surface
//                update returned)
// The pacing measurement (tools/measure_pacing.sh) and the minimised session read the log;
// the program itself reads no environment.
#include <SDL.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "app/music_disk.h"
#include "media/draw2d/canvas.h"
#include "media/resources/utf16.h"

namespace {

std::FILE* frameLog = nullptr;

void Log(const char* what) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  std::fprintf(
      frameLog, "%s %lld\n", what,
      static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

// Runs after every other hook (frame timing included), as close to the present as a hook
// gets.
constexpr int kLastPriority = 1 << 30;

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The drivers' calls to these two land here first (the executable's own definitions win over
// the shared library's), are passed on, and are logged when they return.
extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
  static auto* next = Next<void (*)(SDL_Window*)>("SDL_GL_SwapWindow");
  next(window);
  if (frameLog != nullptr) Log("present");
}

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window) {
  static auto* next = Next<int (*)(SDL_Window*)>("SDL_UpdateWindowSurface");
  const int result = next(window);
  if (frameLog != nullptr) Log("present");
  return result;
}

int main() {
  const char* path = std::getenv("FRAME_LOG");
  if (path == nullptr) {
    std::fprintf(stderr, "set FRAME_LOG to the file the frame times go to\n");
    return 2;
  }
  frameLog = std::fopen(path, "w");
  if (frameLog == nullptr) {
    std::perror(path);
    return 2;
  }
  // Whole lines only, so that a log read while the program runs is never cut mid-number.
  setvbuf(frameLog, nullptr, _IOLBF, 0);
  media::AddFlipHook([](void*) { Log("flip"); }, nullptr, kLastPriority);
  app::SetDebugLogHook([](std::u16string_view message) {
    std::fprintf(stderr, "%s\n", media::Utf16ToUtf8(message).c_str());
  });
  static app::AppState state;
  return app::MusicDiskMain(state);
}
