// Events the platform layer emits for window-system messages, and the hook they pass.
#pragma once

#include <cstdint>

namespace media {

enum EventId : int {
  kEventAppSuspend = 0x101,    // our window lost activation to another program
  kEventAppResume = 0x102,     // our window became active again
  kEventAppTerminate = 0x103,  // close request of the display window
  kEventKeyDown = 0x201,       // data = key code; not an auto-repeat
  kEventKeyUp = 0x202,         // data = key code
  kEventKeyChar = 0x203,       // data = character code
  kEventKeyRepeat = 0x204,     // data = key code
  kEventMouseDown = 0x401,     // data = 1 left, 2 right, 3 middle
  kEventMouseUp = 0x402,
  kEventMouseMove = 0x403,     // x, y in client coordinates
  kEventMouseWheel = 0x404,    // data = notches
  kEventMouseEnter = 0x405,
  kEventMouseLeave = 0x406,
};

// Modifier mask carried by every event.
enum ModifierMask : int { kModShift = 1, kModCtrl = 2, kModAlt = 4, kModSystem = 8 };

struct Event {
  int id = 0;
  int data = 0;
  int mods = 0;
  int x = 0;
  int y = 0;
};

}  // namespace media
