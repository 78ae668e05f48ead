// The information pad: the shown panel (track list, greetings, credits, track info) with its
// fade, the fixed pictures and the key legend.
#pragma once

namespace app {

struct AppState;

int DrawPanels(AppState& state);

}  // namespace app
