#include "media/platform/held_keys.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/XKBlib.h>
#endif
#if defined(_WIN32)
#include <windows.h>
#endif

namespace media {

namespace {

// SDL names a key by its layout symbol; a held key is found again through that symbol.
void MarkKey(SDL_Keycode key, ScancodeSet& held) {
  if (key == SDLK_UNKNOWN) return;
  const SDL_Scancode scancode = SDL_GetScancodeFromKey(key);
  if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES) held.set(scancode);
}

#if defined(SDL_VIDEO_DRIVER_X11)
// X names each held key by its keycode; the keycode's first symbol is the layout's name for
// it. Latin-1 symbols are their own characters in both systems, the rest (F3, Escape, Left)
// share their names.
void QueryX11(Display* display, ScancodeSet& held) {
  char keys[32];
  XQueryKeymap(display, keys);
  for (int keycode = 8; keycode < 256; ++keycode) {
    if ((keys[keycode / 8] & (1 << (keycode % 8))) == 0) continue;
    const KeySym symbol = XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0);
    if (symbol == NoSymbol) continue;
    if (symbol < 0x100) {
      MarkKey(
          static_cast<SDL_Keycode>(symbol >= 'A' && symbol <= 'Z' ? symbol - 'A' + 'a' : symbol),
          held);
    } else if (const char* name = XKeysymToString(symbol)) {
      MarkKey(SDL_GetKeyFromName(name), held);
    }
  }
}
#endif

#if defined(_WIN32)
// The keys a person may hold while switching programs and that mean something to the disk.
void QueryWindows(ScancodeSet& held) {
  const auto down = [](int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; };
  for (int vk = 'A'; vk <= 'Z'; ++vk) {
    if (down(vk)) MarkKey(vk - 'A' + 'a', held);
  }
  for (int vk = '0'; vk <= '9'; ++vk) {
    if (down(vk)) MarkKey(vk, held);
  }
  for (int n = 0; n < 12; ++n) {
    if (down(VK_F1 + n)) MarkKey(SDLK_F1 + n, held);
  }
  if (down(VK_SPACE)) MarkKey(SDLK_SPACE, held);
  if (down(VK_ESCAPE)) MarkKey(SDLK_ESCAPE, held);
  if (down(VK_RETURN)) MarkKey(SDLK_RETURN, held);
}
#endif

}  // namespace

void QueryHeldKeys(SDL_Window* window, ScancodeSet& held) {
  held.reset();
  if (window == nullptr) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) return;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (info.subsystem == SDL_SYSWM_X11) QueryX11(info.info.x11.display, held);
#endif
#if defined(_WIN32)
  if (info.subsystem == SDL_SYSWM_WINDOWS) QueryWindows(held);
#endif
}

}  // namespace media
