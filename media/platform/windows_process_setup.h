// What the program sets up on Windows before anything opens: window sizes in desktop units,
// so that on a scaled (HiDPI) desktop the 800x600 window has the size it has elsewhere while
// the picture is drawn at the screen's real pixels. The executable's manifest makes the
// process per-monitor DPI aware; this tells SDL to size windows by the monitor's scale.
// Depends on: SDL2 hints. Built on Windows only.
#pragma once

namespace media {

void PrepareWindowsProcess();

}  // namespace media
