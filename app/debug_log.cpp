#include "app/debug_log.h"

#include <utility>

namespace app {

namespace {

DebugLogHook& Hook() {
  static DebugLogHook hook;
  return hook;
}

}  // namespace

void DebugLog(std::u16string_view message) {
  if (Hook()) Hook()(message);
}

void SetDebugLogHook(DebugLogHook hook) { Hook() = std::move(hook); }

}  // namespace app
