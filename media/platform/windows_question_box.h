// The question box on Windows: the system's own Yes/No/Cancel message box, which answers
// Y and N, moves between its buttons with Tab and the arrows and gives Cancel on Escape or
// its close box, as every Windows program's box does.
// Depends on: user32 (MessageBoxW). Built on Windows only.
#pragma once

#include <string_view>

namespace media {

// Shows `text` under `caption` with an information icon when `serious` is 0 and a warning
// icon otherwise, above every other window and owned by the active one. Returns 1 for Yes,
// 0 for No and -1 for anything else; the owner gets the keyboard focus back.
int ShowWindowsQuestionBox(std::u16string_view text, int serious, std::u16string_view caption);

}  // namespace media
