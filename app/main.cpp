// The music disk. It reads no command line, no configuration and no file: everything it
// shows and plays is inside the executable.
#include <cstdio>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "app/music_disk.h"
#include "media/resources/utf16.h"

int main() {
  app::SetDebugLogHook([](std::u16string_view message) {
    std::fprintf(stderr, "%s\n", media::Utf16ToUtf8(message).c_str());
  });
  static app::AppState state;
  return app::MusicDiskMain(state);
}
