// The music disk. It reads no command line, no configuration and no file: everything it
// shows and plays is inside the executable.
#include <cstdio>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "app/music_disk.h"
#include "media/resources/utf16.h"

#if defined(_WIN32)
// SDL's WinMain turns the Windows entry into this main; the program ignores its arguments.
#include <SDL_main.h>

#include "media/platform/windows_diagnostics.h"
#include "media/platform/windows_process_setup.h"
#endif

int main(int, char**) {
#if defined(_WIN32)
  media::PrepareWindowsProcess();
  app::SetDebugLogHook(media::WriteWindowsDiagnostic);
#else
  app::SetDebugLogHook([](std::u16string_view message) {
    std::fprintf(stderr, "%s\n", media::Utf16ToUtf8(message).c_str());
  });
#endif
  static app::AppState state;
  return app::MusicDiskMain(state);
}
