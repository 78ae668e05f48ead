// Diagnostics on Windows go where Windows' tools look for them: the debugger output
// (OutputDebugString, shown by debuggers and DebugView), and standard error when the program
// was started with one (from a console or with its output redirected); a program started
// from Explorer has none.
// Depends on: kernel32. Built on Windows only.
#pragma once

#include <string_view>

namespace media {

// Writes `message` as one line.
void WriteWindowsDiagnostic(std::u16string_view message);

}  // namespace media
