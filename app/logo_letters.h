// The three faint letters of the group tag that bob on a sine and jitter with the bass.
#pragma once

namespace app {

struct AppState;

int DrawLogoLetters(AppState& state);

}  // namespace app
