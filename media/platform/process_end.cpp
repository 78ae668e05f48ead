#include "media/platform/process_end.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace media {

namespace {

struct EndState {
  std::vector<std::function<void()>> handlers;  // in registration order
  std::function<void()> hook;                   // empty: end the process
};

EndState& State() {
  static EndState state;
  return state;
}

[[noreturn]] void ExitProcess() {
  std::fflush(nullptr);
  std::exit(0);
}

}  // namespace

void OnEnd(std::function<void()> handler) {
  if (handler) State().handlers.push_back(std::move(handler));
}

void End() {
  // Take the handlers out first: a handler that itself calls End must not run them again.
  std::vector<std::function<void()>> handlers = std::move(State().handlers);
  State().handlers.clear();
  for (auto it = handlers.rbegin(); it != handlers.rend(); ++it) (*it)();

  if (State().hook) {
    // Copied, so a hook that replaces itself does not destroy the function running.
    const std::function<void()> hook = State().hook;
    hook();
  }
  // Reached only without a hook, or when a hook broke its promise and returned.
  ExitProcess();
}

void SetEndHook(std::function<void()> hook) {
  State().hook = std::move(hook);
  State().handlers.clear();
}

}  // namespace media
