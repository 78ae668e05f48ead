// The whole music disk, unchanged, with one addition: every Flip appends the time it began
// (microseconds of the steady clock) to the file named by $FRAME_LOG. The pacing measurement
// (tools/measure_pacing.sh) reads the log; the program itself reads no environment.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "app/music_disk.h"
#include "media/draw2d/canvas.h"
#include "media/resources/utf16.h"

namespace {

// Runs after every other hook (frame timing included), as close to the present as a hook
// gets.
constexpr int kLastPriority = 1 << 30;

void LogFlip(void* context) {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  std::fprintf(static_cast<std::FILE*>(context), "%lld\n",
               static_cast<long long>(
                   std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

}  // namespace

int main() {
  const char* path = std::getenv("FRAME_LOG");
  if (path == nullptr) {
    std::fprintf(stderr, "set FRAME_LOG to the file the flip times go to\n");
    return 2;
  }
  std::FILE* log = std::fopen(path, "w");
  if (log == nullptr) {
    std::perror(path);
    return 2;
  }
  // Whole lines only, so that a log read while the program runs is never cut mid-number.
  setvbuf(log, nullptr, _IOLBF, 0);
  media::AddFlipHook(LogFlip, log, kLastPriority);
  app::SetDebugLogHook([](std::u16string_view message) {
    std::fprintf(stderr, "%s\n", media::Utf16ToUtf8(message).c_str());
  });
  static app::AppState state;
  return app::MusicDiskMain(state);
}
