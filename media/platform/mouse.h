// The mouse pointer over the display window.
#pragma once

namespace media {

// Hides the pointer while it is over the display window's client area; outside the window
// it stays visible.
void HideMouse();
void ShowMouse();

}  // namespace media
