#include "media/platform/windows_process_setup.h"

#include <SDL.h>

namespace media {

void PrepareWindowsProcess() {
  SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
}

}  // namespace media
