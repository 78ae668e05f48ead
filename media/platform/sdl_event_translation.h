// Turns SDL events into the program's events (input_events.h) and hands each to EmitEvent.
// Internal to the platform layer: only the poll in polled_input.cpp calls it.
// Depends on: SDL2 events, key_codes.h.
#pragma once

union SDL_Event;

namespace media {

void TranslateSdlEvent(const SDL_Event& event);

// Forgets the modifier mask and the activation state, as in a new process.
void ResetSdlEventTranslation();

// Asks SDL for the window system's own messages too (once SDL's events are up).
void StartSdlEventTranslation();

}  // namespace media
