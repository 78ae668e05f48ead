// Ending the process: run the registered exit handlers, then end with exit code 0. Tests
// replace the final step with a hook that unwinds, so a whole main routine can run inside
// a test.
#pragma once

#include <functional>

namespace media {

// Registers a handler run by End (the newest first), e.g. the drawing layer's display close.
void OnEnd(std::function<void()> handler);

// Runs the exit handlers, then the end hook; by default the process ends with exit code 0.
[[noreturn]] void End();

// Replaces what End does after the handlers: tests and the capture tool run the program in
// their own process. The hook must not return (they throw).
// An empty hook restores the process exit. Also forgets the registered handlers.
void SetEndHook(std::function<void()> hook);

}  // namespace media
