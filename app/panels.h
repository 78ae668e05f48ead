// The information pad: the shown panel (track list, greetings, credits, track info) with its
// fade, the fixed pictures and the key legend.
#pragma once

namespace app {

struct AppState;

// One step of the panel fade; while it runs, sets alpha blending at the fade's alpha.
int UpdatePanelFade(AppState& state);

// Draws the shown panel, the band, the pad, the logo and the key legend. Leaves black at
// alpha 1.0, alpha blending and the panel font current, which the scroller relies on.
int DrawPanels(AppState& state);

}  // namespace app
