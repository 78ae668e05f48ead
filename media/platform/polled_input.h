// Polled keyboard input: every query first drains the window system's queue on the calling
// thread and turns its messages into events; a hook on those events keeps the key state
// the queries read. Holding a key counts as one hit; switching to another program and back
// forgets every key.
// Depends on: SDL2 events, key_codes.h.
#pragma once

#include <functional>

#include "media/platform/input_events.h"

namespace media {

// Installs the event hook (once) and clears all key, character and mouse state. The drawing
// layer calls it whenever it opens a display.
void EnablePolledInput();
// Removes the hook; events then change no key state.
void DisablePolledInput();

// Drains the window system's queue and dispatches every message as events. A call made
// while a poll is running (from inside a handler) returns at once.
void PollSystem();

// Hands one event to the polled-input hook (and to nothing else but a test observer). Used
// by the event translation and by tests that inject events.
void EmitEvent(const Event& event);

// Presses of `key` since it was last asked, then resets that count. 0 for codes outside 0..255.
int KeyHit(int key);
// 1 while `key` is held down.
int KeyDown(int key);
// 1 when the display window was asked to close since the last call; clears the request.
int AppTerminate();
// 1 while another program's window is active.
int AppSuspended();
// Next typed character from the ring, or 0.
int GetChar();

// The mouse as the hook last saw it (nothing in the program reads it; tests do).
struct MouseState {
  int buttons[4] = {};  // 1 while held: [1] left, [2] right, [3] middle; [0] unused
  int x = 0;            // last position, client coordinates
  int y = 0;
  int wheel = 0;  // notches turned in all, away from the user positive
};
// Polls, then returns the mouse state.
MouseState PolledMouse();

// Forgets everything, hook included, so that each test starts from a new process's state.
// Also drops whatever SDL still has queued.
void ResetPolledInputForTesting();

// Tests see every emitted event, after the hook, and may query input from inside (which is
// how a nested poll is provoked). An empty function removes the observer.
void SetEventObserver(std::function<void(const Event&)> observer);

}  // namespace media
