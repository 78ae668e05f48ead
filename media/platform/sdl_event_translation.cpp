#include "media/platform/sdl_event_translation.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <array>
#include <string>

#include "media/platform/held_keys.h"
#include "media/platform/input_events.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"
#include "media/resources/utf16.h"

namespace media {

namespace {

struct TranslationState {
  int mods = 0;            // modifier mask carried by every event, from the last key event
  bool suspended = false;  // AppSuspend emitted and not yet followed by AppResume
  // The code each held key was given when it went down, so that its release and repeats
  // carry the same code even if the layout changed in between. 0 for keys that are up.
  std::array<unsigned char, SDL_NUM_SCANCODES> codeOfHeldKey{};
  // Keys already held when the window got the focus back. The window system sends such a
  // key down again (its auto-repeat), but it is no new press.
  ScancodeSet heldSinceResume;
  // X11 tells which keys were held at the focus change in the KeymapNotify right after it.
  Uint32 keyVectorFor = 0;  // the window that got the focus back, until that event came
};

TranslationState state;

void Emit(int id, int data = 0, int x = 0, int y = 0) {
  EmitEvent(Event{id, data, state.mods, x, y});
}

int ModifierMask(Uint16 sdlMods) {
  int mask = 0;
  if (sdlMods & KMOD_SHIFT) mask |= kModShift;
  if (sdlMods & KMOD_CTRL) mask |= kModCtrl;
  if (sdlMods & KMOD_ALT) mask |= kModAlt;
  if (sdlMods & KMOD_GUI) mask |= kModSystem;
  return mask;
}

void TranslateKey(const SDL_KeyboardEvent& key) {
  // SDL stamps each key event with the modifiers as they are after that event, so a press
  // or release of Shift, Ctrl, Alt or a logo key is reflected at once.
  state.mods = ModifierMask(key.keysym.mod);
  const int scancode = key.keysym.scancode;
  if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES) return;
  const auto index = static_cast<std::size_t>(scancode);
  unsigned char& heldCode = state.codeOfHeldKey[index];
  state.keyVectorFor = 0;  // a key event before any key vector: none is coming for this focus
  const int code = heldCode != 0 ? heldCode : KeyCodeFromKey(scancode, key.keysym.sym);
  if (code < 1 || code > 255) return;
  if (key.type == SDL_KEYUP) {
    heldCode = 0;
    state.heldSinceResume.reset(index);
    Emit(kEventKeyUp, code);
    return;
  }
  heldCode = static_cast<unsigned char>(code);
  const bool newPress = key.repeat == 0 && !state.heldSinceResume.test(index);
  Emit(newPress ? kEventKeyDown : kEventKeyRepeat, code);
  // Most window managers turn Alt+F4 into a close request before we see it; where one does
  // not, the keys arrive here and mean the same.
  if (newPress && code == kKeyF1 + 3 && (state.mods & kModAlt) != 0) {
    Emit(kEventAppTerminate);
  }
}

void TranslateText(const SDL_TextInputEvent& text) {
  // One event per UTF-16 code unit, as the rest of the program handles text.
  for (const char16_t unit : Utf8ToUtf16(text.text)) Emit(kEventKeyChar, unit);
}

// When focus moves between two of our own windows, SDL queues the loss on one and the gain
// on the other together; that is no switch to another program.
bool FocusMovesToOwnWindow(Uint32 losingWindowId) {
  SDL_Event pending[16];
  const int count = SDL_PeepEvents(pending, static_cast<int>(SDL_arraysize(pending)), SDL_PEEKEVENT,
                                   SDL_WINDOWEVENT, SDL_WINDOWEVENT);
  for (int i = 0; i < count; ++i) {
    const SDL_WindowEvent& w = pending[i].window;
    if (w.event == SDL_WINDOWEVENT_FOCUS_GAINED && w.windowID != losingWindowId) return true;
  }
  return false;
}

bool IsMinimised(Uint32 windowId) {
  SDL_Window* const window = SDL_GetWindowFromID(windowId);
  return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0;
}

void Resume(Uint32 windowId) {
  state.suspended = false;
  QueryHeldKeys(SDL_GetWindowFromID(windowId), state.heldSinceResume);
  state.keyVectorFor = windowId;
  Emit(kEventAppResume);
}

// The X server's record of the keys held when the focus came, in the event that follows the
// FocusIn: read from it, not from the server later, a key pressed after the focus came back
// is a press even when it is still down by the time the program looks.
void TranslateSystemEvent([[maybe_unused]] const SDL_SysWMmsg* message) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (message == nullptr || message->subsystem != SDL_SYSWM_X11 || state.keyVectorFor == 0) return;
  const XEvent& event = message->msg.x11.event;
  if (event.type != KeymapNotify) return;
  HeldKeysOfX11KeyVector(SDL_GetWindowFromID(state.keyVectorFor), event.xkeymap.key_vector,
                         state.heldSinceResume);
  state.keyVectorFor = 0;
#endif
}

void TranslateWindowEvent(const SDL_WindowEvent& window) {
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      // Only a request: the window stays open until the program ends.
      Emit(kEventAppTerminate);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (!state.suspended && !FocusMovesToOwnWindow(window.windowID)) {
        state.suspended = true;
        state.heldSinceResume.reset();
        state.codeOfHeldKey.fill(0);
        Emit(kEventAppSuspend);
      }
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // A minimised window that gets the focus is not yet back in front of the user; its
      // restore below resumes.
      if (state.suspended && !IsMinimised(window.windowID)) Resume(window.windowID);
      break;
    case SDL_WINDOWEVENT_RESTORED: {
      SDL_Window* const restored = SDL_GetWindowFromID(window.windowID);
      if (state.suspended && restored != nullptr && SDL_GetKeyboardFocus() == restored) {
        Resume(window.windowID);
      }
      break;
    }
    case SDL_WINDOWEVENT_ENTER:
      Emit(kEventMouseEnter);
      break;
    case SDL_WINDOWEVENT_LEAVE:
      Emit(kEventMouseLeave);
      break;
    default:
      break;
  }
}

int MouseButtonNumber(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 3;
    default:
      return 0;  // side buttons have no number
  }
}

void TranslateMouseButton(const SDL_MouseButtonEvent& button) {
  const int number = MouseButtonNumber(button.button);
  if (number == 0) return;
  Emit(button.type == SDL_MOUSEBUTTONDOWN ? kEventMouseDown : kEventMouseUp, number, button.x,
       button.y);
}

void TranslateMouseWheel(const SDL_MouseWheelEvent& wheel) {
  // SDL already counts in notches; a "natural scrolling" desktop reports them flipped.
  const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
  if (notches != 0) Emit(kEventMouseWheel, notches);
}

}  // namespace

void TranslateSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(event.key);
      break;
    case SDL_TEXTINPUT:
      TranslateText(event.text);
      break;
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(event.window);
      break;
    case SDL_QUIT:
      // The last window closed, or the desktop session asks the program to quit.
      Emit(kEventAppTerminate);
      break;
    case SDL_SYSWMEVENT:
      TranslateSystemEvent(event.syswm.msg);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      TranslateMouseButton(event.button);
      break;
    case SDL_MOUSEMOTION:
      Emit(kEventMouseMove, 0, event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEWHEEL:
      TranslateMouseWheel(event.wheel);
      break;
    default:
      break;
  }
}

void ResetSdlEventTranslation() {
  state = TranslationState{};
}

void StartSdlEventTranslation() {
  // The window system's own messages, for the key vector that follows a focus change.
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

}  // namespace media
