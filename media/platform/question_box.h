// The question box's backends outside Windows, in the order Proceed tries them: our own X11
// box, the desktop's own dialog (zenity) where no X display can be opened (a Wayland session
// without X), and SDL's message box where neither can show.
// Depends on: SDL2 (the owner window), Xlib, a dialog helper on PATH. Not built on Windows.
#pragma once

#include <SDL.h>

#include <optional>
#include <string_view>

namespace media {

inline constexpr int kAnswerYes = 1;
inline constexpr int kAnswerNo = 0;
inline constexpr int kAnswerCancel = -1;

struct QuestionBoxRequest {
  std::u16string_view text;          // the message; may hold line breaks
  std::u16string_view caption;       // the application title
  int serious = 0;                   // 0: information icon, otherwise a warning icon
  SDL_Window* owner = nullptr;       // the window the box belongs to; none before the display
  unsigned long ownerX11Window = 0;  // the owner's X11 window, 0 when it has none
};

// Runs the desktop's dialog helper and waits for it. Empty when there is no helper on PATH,
// no display to show it on, or it could not run; otherwise the answer (1, 0 or -1).
std::optional<int> AskWithDesktopDialog(const QuestionBoxRequest& request);

// Shows our own box on a fresh connection to the X display and closes everything again
// before it returns. Empty when no X display can be opened.
std::optional<int> AskWithOwnX11Box(const QuestionBoxRequest& request);

// SDL's message box: Return answers Yes and Escape Cancel, nothing answers No from the
// keyboard, so it is the last resort. -1 when it cannot be shown.
int AskWithSdlBox(const QuestionBoxRequest& request);

}  // namespace media
