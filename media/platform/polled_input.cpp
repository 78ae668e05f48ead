// Polled input state and the hook that keeps it. The SDL side (what becomes an event) lives
// in sdl_event_translation.cpp; this file only sees events.
#include "media/platform/polled_input.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <utility>

#include "media/platform/sdl_event_translation.h"

namespace media {

namespace {

constexpr int kKeyCount = 256;
constexpr int kCharRingSize = 256;

struct PolledInputState {
  bool hookInstalled = false;                       // events change state only while set
  bool polling = false;                             // a poll is running: nested polls return
  std::array<std::int32_t, kKeyCount> keyStates{};  // 1 while held, by key code
  std::array<std::int32_t, kKeyCount> keyHits{};    // presses since last asked, by key code
  std::int32_t terminateRequested = 0;              // close request not yet read
  std::int32_t suspended = 0;                       // 1 while another program is active
  std::array<int, kCharRingSize> chars{};           // typed characters, oldest at charHead
  int charHead = 0;                                 // index of the next character to read
  int charCount = 0;                                // unread characters in the ring
  MouseState mouse;                                 // buttons, position and wheel
  std::function<void(const Event&)> observer;       // test observer, after the hook
};

PolledInputState& State() {
  static PolledInputState state;
  return state;
}

bool IsKeyCode(int key) {
  return key >= 0 && key < kKeyCount;
}

void ClearKeysCharsAndMouse(PolledInputState& s) {
  s.keyStates.fill(0);
  s.keyHits.fill(0);
  s.charHead = 0;
  s.charCount = 0;
  s.mouse = MouseState{};
}

void PushChar(PolledInputState& s, int character) {
  if (s.charCount == kCharRingSize) return;  // a full ring keeps the oldest characters
  s.chars[static_cast<std::size_t>((s.charHead + s.charCount) % kCharRingSize)] = character;
  ++s.charCount;
}

void SetMouseButton(PolledInputState& s, int button, int held) {
  if (button >= 1 && button <= 3) s.mouse.buttons[button] = held;
}

void PolledInputHook(PolledInputState& s, const Event& event) {
  switch (event.id) {
    case kEventKeyDown:
      // Only the press from up to down counts, so a key held down counts once.
      if (IsKeyCode(event.data) && s.keyStates[static_cast<std::size_t>(event.data)] == 0) {
        s.keyStates[static_cast<std::size_t>(event.data)] = 1;
        ++s.keyHits[static_cast<std::size_t>(event.data)];
      }
      break;
    case kEventKeyUp:
      if (IsKeyCode(event.data)) s.keyStates[static_cast<std::size_t>(event.data)] = 0;
      break;
    case kEventAppTerminate:
      s.terminateRequested = 1;
      break;
    case kEventAppSuspend:
    case kEventAppResume:
      // Key-ups made while another program was active never reach us: forget every key.
      ClearKeysCharsAndMouse(s);
      s.suspended = event.id == kEventAppSuspend ? 1 : 0;
      break;
    case kEventKeyChar:
      PushChar(s, event.data);
      break;
    case kEventMouseDown:
      SetMouseButton(s, event.data, 1);
      break;
    case kEventMouseUp:
      SetMouseButton(s, event.data, 0);
      break;
    case kEventMouseMove:
      s.mouse.x = event.x;
      s.mouse.y = event.y;
      break;
    case kEventMouseWheel:
      s.mouse.wheel += event.data;
      break;
    default:  // KeyRepeat, MouseEnter, MouseLeave: nothing to keep
      break;
  }
}

// Marks a poll as running for as long as it lives.
class PollGuard {
 public:
  explicit PollGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~PollGuard() { flag_ = false; }
  PollGuard(const PollGuard&) = delete;
  PollGuard& operator=(const PollGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void EnablePolledInput() {
  PolledInputState& s = State();
  s.hookInstalled = true;
  ClearKeysCharsAndMouse(s);
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) StartSdlEventTranslation();
}

void DisablePolledInput() {
  State().hookInstalled = false;
}

void PollSystem() {
  PolledInputState& s = State();
  if (s.polling) return;
  // Before anything started SDL's event loop there is no queue to drain, and pumping
  // would only fail.
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  PollGuard guard(s.polling);
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) TranslateSdlEvent(event);
}

void EmitEvent(const Event& event) {
  PolledInputState& s = State();
  if (s.hookInstalled) PolledInputHook(s, event);
  if (s.observer) s.observer(event);
}

int KeyHit(int key) {
  PollSystem();
  if (!IsKeyCode(key)) return 0;
  const auto index = static_cast<std::size_t>(key);
  return std::exchange(State().keyHits[index], 0);
}

int KeyDown(int key) {
  PollSystem();
  if (!IsKeyCode(key)) return 0;
  return State().keyStates[static_cast<std::size_t>(key)];
}

int AppTerminate() {
  PollSystem();
  return std::exchange(State().terminateRequested, 0);
}

int AppSuspended() {
  PollSystem();
  return State().suspended;
}

int GetChar() {
  PollSystem();
  PolledInputState& s = State();
  if (s.charCount == 0) return 0;
  const int character = s.chars[static_cast<std::size_t>(s.charHead)];
  s.charHead = (s.charHead + 1) % kCharRingSize;
  --s.charCount;
  return character;
}

MouseState PolledMouse() {
  PollSystem();
  return State().mouse;
}

void ResetPolledInputForTesting() {
  State() = PolledInputState{};
  ResetSdlEventTranslation();
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void SetEventObserver(std::function<void(const Event&)> observer) {
  State().observer = std::move(observer);
}

}  // namespace media
