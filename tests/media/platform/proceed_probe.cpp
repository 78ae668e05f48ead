// Asks one real question and prints the answer, for proceed_xvfb_test.sh to drive with keys
// typed through a virtual X display.
//   platform_proceed_probe [sdl|zenity] [owned] [SERIOUS]
// "sdl" shows SDL's box and "zenity" the desktop's dialog, which Proceed keeps for displays
// without X; otherwise Proceed picks the box (our own on X). "owned" first opens a window
// titled "Probe Owner" and asks once the test has given it the keyboard focus.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <SDL_syswm.h>

#include "media/platform/app_title.h"
#include "media/platform/dialogs.h"
#include "media/platform/question_box.h"

int main(int argc, char** argv) {
  media::SetAppTitle(u"Probe Title");
  int arg = 1;
  const bool sdl = arg < argc && std::strcmp(argv[arg], "sdl") == 0;
  const bool zenity = arg < argc && std::strcmp(argv[arg], "zenity") == 0;
  if (sdl || zenity) ++arg;
  const bool owned = arg < argc && std::strcmp(argv[arg], "owned") == 0;
  if (owned) ++arg;
  const int serious = arg < argc ? std::atoi(argv[arg]) : 0;
  int answer = 0;
  if (sdl) {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    answer = media::AskWithSdlBox({u"Question?", media::AppTitle(), serious, nullptr, 0});
  } else {
    if (owned) {
      SDL_InitSubSystem(SDL_INIT_VIDEO);
      SDL_Window* owner = SDL_CreateWindow("Probe Owner", 0, 0, 200, 100, SDL_WINDOW_SHOWN);
      for (int tries = 0; owner != nullptr && SDL_GetKeyboardFocus() != owner && tries < 1000;
           ++tries) {
        SDL_PumpEvents();
        SDL_Delay(10);
      }
    }
    if (zenity) {
      SDL_Window* const owner = SDL_GetKeyboardFocus();
      unsigned long ownerX11 = 0;
      SDL_SysWMinfo info;
      SDL_VERSION(&info.version);
      if (owner != nullptr && SDL_GetWindowWMInfo(owner, &info) == SDL_TRUE) {
        ownerX11 = info.info.x11.window;
      }
      answer =
          media::AskWithDesktopDialog({u"Question?", media::AppTitle(), serious, owner, ownerX11})
              .value_or(-99);
    } else {
      answer = media::Proceed(u"Question?", serious);
    }
  }
  std::printf("%d\n", answer);
  // Out before anything at exit can end the process abnormally (a sanitizer's leak report
  // about the system's D-Bus library, for one).
  std::fflush(stdout);
  return 0;
}
