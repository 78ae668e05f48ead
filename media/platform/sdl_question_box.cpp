// The question box through SDL's message box, where neither the desktop's dialog nor our
// own X11 box can show.
#include <string>

#include "media/platform/question_box.h"
#include "media/resources/utf16.h"

namespace media {

int AskWithSdlBox(const QuestionBoxRequest& request) {
  const std::string caption = Utf16ToUtf8(request.caption);
  const std::string message = Utf16ToUtf8(request.text);
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kAnswerYes, "Yes"},
      {0, kAnswerNo, "No"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kAnswerCancel, "Cancel"},
  };
  SDL_MessageBoxData box{};
  box.flags = (request.serious == 0 ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_WARNING) |
              SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  box.window = request.owner;
  box.title = caption.c_str();
  box.message = message.c_str();
  box.numbuttons = static_cast<int>(SDL_arraysize(buttons));
  box.buttons = buttons;

  // A box closed by the window manager reports -1, the same as Cancel.
  int pressed = kAnswerCancel;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) return kAnswerCancel;
  return pressed == kAnswerYes ? kAnswerYes : pressed == kAnswerNo ? kAnswerNo : kAnswerCancel;
}

}  // namespace media
