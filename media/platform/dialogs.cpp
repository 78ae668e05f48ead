#include "media/platform/dialogs.h"

#include <SDL.h>

#include <string>
#include <utility>

#include "media/platform/app_title.h"
#include "media/resources/utf16.h"

namespace media {

namespace {

constexpr int kYes = 1;
constexpr int kNo = 0;
constexpr int kCancel = -1;

ProceedHook& Hook() {
  static ProceedHook hook;
  return hook;
}

// SDL can show a box before video is up, but the display opens right after the question:
// video is brought up here once and left up, so the box runs under the same video driver as
// the display will.
void EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) SDL_InitSubSystem(SDL_INIT_VIDEO);
}

int ShowQuestionBox(std::u16string_view text, int serious) {
  EnsureVideo();
  SDL_Window* const focusWindow = SDL_GetKeyboardFocus();

  const std::string caption = Utf16ToUtf8(AppTitle());
  const std::string message = Utf16ToUtf8(text);
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "Yes"},
      {0, kNo, "No"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kCancel, "Cancel"},
  };
  SDL_MessageBoxData box{};
  box.flags = (serious == 0 ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_WARNING) |
              SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  box.window = focusWindow;  // owned by the active window; none before the display exists
  box.title = caption.c_str();
  box.message = message.c_str();
  box.numbuttons = static_cast<int>(SDL_arraysize(buttons));
  box.buttons = buttons;

  // A box closed by the window manager reports -1, the same as Cancel.
  int pressed = kCancel;
  const bool shown = SDL_ShowMessageBox(&box, &pressed) == 0;

  if (focusWindow != nullptr) SDL_RaiseWindow(focusWindow);
  if (!shown) return kCancel;
  return pressed == kYes ? kYes : pressed == kNo ? kNo : kCancel;
}

}  // namespace

int Proceed(std::u16string_view text, int serious) {
  if (Hook()) return Hook()(text, serious);
  return ShowQuestionBox(text, serious);
}

void SetProceedHookForTesting(ProceedHook hook) {
  Hook() = std::move(hook);
}

}  // namespace media
