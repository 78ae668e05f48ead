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
[[maybe_unused]] void MarkKey(SDL_Keycode key, ScancodeSet& held) {
  if (key == SDLK_UNKNOWN) return;
  const SDL_Scancode scancode = SDL_GetScancodeFromKey(key);
  if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES) held.set(scancode);
}

[[maybe_unused]] bool WindowInfo(SDL_Window* window, SDL_SysWMinfo& info) {
  if (window == nullptr) return false;
  SDL_VERSION(&info.version);
  return SDL_GetWindowWMInfo(window, &info) == SDL_TRUE;
}

}  // namespace

void HeldKeysOfX11KeyVector([[maybe_unused]] SDL_Window* window, [[maybe_unused]] const char* keys,
                            ScancodeSet& held) {
  held.reset();
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  if (!WindowInfo(window, info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* const display = info.info.x11.display;
  // Each keycode's first symbol is the layout's name for the key. Latin-1 symbols are their
  // own characters in both systems; the rest (F3, Escape, Left) share their names.
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
#endif
}

void QueryHeldKeys([[maybe_unused]] SDL_Window* window, ScancodeSet& held) {
  held.reset();
#if defined(_WIN32)
  SDL_SysWMinfo info;
  if (!WindowInfo(window, info) || info.subsystem != SDL_SYSWM_WINDOWS) return;
  // The keys a person may hold while switching programs and that mean something to the disk.
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
#endif
}

}  // namespace media
