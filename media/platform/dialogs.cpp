#include "media/platform/dialogs.h"

#include <SDL.h>

#include <utility>

#include "media/platform/app_title.h"
#include "media/platform/video.h"

#if defined(_WIN32)
#include "media/platform/windows_question_box.h"
#else
#include <SDL_syswm.h>

#include "media/platform/question_box.h"
#endif

namespace media {

namespace {

ProceedHook& Hook() {
  static ProceedHook hook;
  return hook;
}

// The display opens right after the question: video is brought up here once and left up,
// so the box and the display share one video driver, as they always have.
void EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) StartVideo();
}

#if !defined(_WIN32)
unsigned long X11WindowOf(SDL_Window* window) {
  if (window == nullptr) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (info.subsystem == SDL_SYSWM_X11) return info.info.x11.window;
#endif
  return 0;
}

// Our own box answers every key a Yes/No/Cancel box should: Y, N and C at once, Tab and the
// arrows, Return and Space. The desktop's dialog (zenity) wants Alt with its letters and
// gives Tab to its text first, so it shows only where no X display can be opened (a
// Wayland session without X); SDL's box, which no key answers No, is the last resort.
int AskOnThisDesktop(const QuestionBoxRequest& request) {
  if (const std::optional<int> answer = AskWithOwnX11Box(request)) return *answer;
  if (const std::optional<int> answer = AskWithDesktopDialog(request)) return *answer;
  return AskWithSdlBox(request);
}
#endif

int ShowQuestionBox(std::u16string_view text, int serious) {
  EnsureVideo();
  SDL_Window* const focusWindow = SDL_GetKeyboardFocus();
#if defined(_WIN32)
  const int answer = ShowWindowsQuestionBox(text, serious, AppTitle());
#else
  QuestionBoxRequest request;
  request.text = text;
  request.caption = AppTitle();
  request.serious = serious;
  request.owner = focusWindow;  // owned by the active window; none before the display exists
  request.ownerX11Window = X11WindowOf(focusWindow);
  const int answer = AskOnThisDesktop(request);
#endif
  if (focusWindow != nullptr) SDL_RaiseWindow(focusWindow);
  return answer;
}

}  // namespace

int Proceed(std::u16string_view text, int serious) {
  if (Hook()) return Hook()(text, serious);
  return ShowQuestionBox(text, serious);
}

void SetProceedHook(ProceedHook hook) {
  Hook() = std::move(hook);
}

}  // namespace media
