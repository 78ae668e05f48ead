// Diagnostics: a replaceable hook that does nothing by default. The program installs one
// that writes each message as a line to standard error.
#pragma once

#include <functional>
#include <string_view>

namespace app {

void DebugLog(std::u16string_view message);

using DebugLogHook = std::function<void(std::u16string_view message)>;
// Installs `hook`; an empty hook restores the silent default.
void SetDebugLogHook(DebugLogHook hook);

}  // namespace app
