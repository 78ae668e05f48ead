#include "media/platform/windows_question_box.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace media {

int ShowWindowsQuestionBox(std::u16string_view text, int serious, std::u16string_view caption) {
  // wchar_t is a UTF-16 code unit on Windows: the texts pass through unchanged.
  const std::wstring message(text.begin(), text.end());
  const std::wstring title(caption.begin(), caption.end());

  // Before the display opens there is no active window of ours and the box stands alone.
  HWND const owner = GetActiveWindow();
  const UINT style = MB_YESNOCANCEL | (serious == 0 ? MB_ICONINFORMATION : MB_ICONWARNING) |
                     MB_TOPMOST | (owner == nullptr ? MB_SETFOREGROUND : 0u);
  const int pressed = MessageBoxW(owner, message.c_str(), title.c_str(), style);

  if (owner != nullptr) {
    SetForegroundWindow(owner);
    SetFocus(owner);
  }
  return pressed == IDYES ? 1 : pressed == IDNO ? 0 : -1;
}

}  // namespace media
