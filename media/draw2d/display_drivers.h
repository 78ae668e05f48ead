// Which drivers Graphics tries, in order, and which displays it accepts from them. The one
// place that knows the program's preference: GL, except where GL itself rasterises on the
// CPU (a virtual machine, a remote desktop, a bare X server), where our own rasteriser
// draws the same frame at a fraction of the cost; then the software driver.
// Depends on: canvas_driver, gl_driver, soft_driver.
#pragma once

#include <initializer_list>
#include <memory>

#include "media/draw2d/canvas_driver.h"

namespace media {

struct TDriverChoice {
  TCanvasDriver* driver = nullptr;
  // A display whose device draws on the CPU (TGraphics::drawsOnCpu) is closed unseen and
  // the next driver tried; where the driver says it cannot have a GPU (MayDrawOnGpu) it is not
  // tried.
  bool refusesCpuRenderer = false;
};

// The drivers for later Graphics calls, most wanted first (at most four); `defaultFlags` is
// ORed into their flags. At start: GL, then the software driver, each accepted as it is.
void SetGraphicsDrivers(std::initializer_list<TDriverChoice> drivers, int defaultFlags);
// One driver alone, accepted as it is; null leaves none.
void SetGraphicsDriver(TCanvasDriver* driver, int defaultFlags);

// The program's choice. MUSICDISK_RENDERER=gl keeps GL even where it draws on the CPU,
// =software uses only our own rasteriser; this is the one setting the drawing layer reads
// from the environment, for comparing the two on a given machine.
void SelectProgramDrivers(int defaultFlags);

// Opens a display with the first driver that gives one it accepts, shows it and names the
// driver in `chosen`; null (and `chosen` untouched) when none does. A driver that throws
// half way gives no display.
std::shared_ptr<TGraphics> OpenAcceptedDisplay(int width, int height, int depth, int hertz,
                                               int flags, TCanvasDriver*& chosen);

// Back to the drivers at start.
void ResetGraphicsDrivers();

}  // namespace media
