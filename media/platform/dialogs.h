// The question box: a modal Yes/No/Cancel message with the application title as caption.
// Depends on: SDL2 message boxes.
#pragma once

#include <functional>
#include <string_view>

namespace media {

// Shows `text` with Yes, No and Cancel; an information icon when `serious` is 0, a warning
// icon otherwise. Returns 1 for Yes, 0 for No and -1 for Cancel, Escape or a closed box.
// Return answers Yes. Keyboard focus goes back to the window that had it.
int Proceed(std::u16string_view text, int serious);

// Tests answer the question without a box: the hook gets the text and `serious`.
using ProceedHook = std::function<int(std::u16string_view text, int serious)>;
void SetProceedHookForTesting(ProceedHook hook);  // empty restores the real box

}  // namespace media
