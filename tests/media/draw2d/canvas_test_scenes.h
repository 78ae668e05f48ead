// Small scenes drawn through the front end, the same for every driver: the GL driver's
// output is compared with the software driver's scene by scene.
#pragma once

#include <string>
#include <vector>

namespace media::testing {

struct CanvasScene {
  std::string name;
  // Largest channel difference allowed between the drivers, and why.
  int tolerance;
  const char* why;
  void (*draw)();
};

// Every scene; each starts from a display's initial state and leaves its drawing in the back
// buffer (it does not flip).
const std::vector<CanvasScene>& CanvasScenes();

}  // namespace media::testing
