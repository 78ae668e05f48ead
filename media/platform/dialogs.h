// The question box: a modal Yes/No/Cancel message with the application title as caption.
// On Windows the system's box; elsewhere the desktop's own dialog (zenity) when installed,
// else our own X11 box, else SDL's box (a display without X).
// Depends on: SDL2; Xlib and a dialog helper outside Windows.
#pragma once

#include <functional>
#include <string_view>

namespace media {

// Shows `text` with Yes, No and Cancel; an information icon when `serious` is 0, a warning
// icon otherwise. Returns 1 for Yes, 0 for No and -1 for Cancel, Escape or a closed box.
// Yes has the focus first, so Return answers Yes. Keyboard focus goes back to the window that
// had it.
int Proceed(std::u16string_view text, int serious);

// Tests and the capture tool answer the question without a box: the hook gets the text and
// `serious`.
using ProceedHook = std::function<int(std::u16string_view text, int serious)>;
void SetProceedHook(ProceedHook hook);  // empty restores the real box

}  // namespace media
