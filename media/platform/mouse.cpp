#include "media/platform/mouse.h"

#include <SDL.h>

namespace media {

// SDL's cursor visibility is a single flag rather than a counter, so repeated calls cannot
// leave the pointer "hidden twice". It applies only over SDL's own windows: outside the
// display window the desktop's pointer stays visible, as wanted.
void HideMouse() {
  SDL_ShowCursor(SDL_DISABLE);
}

void ShowMouse() {
  SDL_ShowCursor(SDL_ENABLE);
}

}  // namespace media
