#include "media/draw2d/display_drivers.h"

#include <array>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "media/draw2d/canvas.h"
#include "media/draw2d/gl/gl_driver.h"
#include "media/draw2d/soft/soft_driver.h"

namespace media {

namespace {

struct DriverList {
  std::array<TDriverChoice, 4> choices{};
  std::size_t count = 0;
  int defaultFlags = kGraphicsBackBuffer;
};

DriverList AtStart() {
  DriverList list;
  list.choices[0] = {GLCanvasDriver(), false};
  list.choices[1] = {SoftCanvasDriver(), false};
  list.count = 2;
  return list;
}

DriverList& Drivers() {
  static DriverList list = AtStart();
  return list;
}

std::shared_ptr<TGraphics> TryCreate(TCanvasDriver* driver, int width, int height, int depth,
                                     int hertz, int flags) {
  try {
    return driver->CreateGraphics(width, height, depth, hertz, flags);
  } catch (const std::exception&) {
    return nullptr;
  }
}

}  // namespace

void SetGraphicsDrivers(std::initializer_list<TDriverChoice> drivers, int defaultFlags) {
  DriverList& list = Drivers();
  list.count = 0;
  for (const TDriverChoice& choice : drivers) {
    if (choice.driver != nullptr && list.count < list.choices.size())
      list.choices[list.count++] = choice;
  }
  list.defaultFlags = defaultFlags;
}

void SetGraphicsDriver(TCanvasDriver* driver, int defaultFlags) {
  SetGraphicsDrivers({{driver, false}}, defaultFlags);
}

void SelectProgramDrivers(int defaultFlags) {
  const char* wanted = std::getenv("MUSICDISK_RENDERER");
  const std::string_view choice = wanted != nullptr ? wanted : "";
  if (choice == "software") {
    SetGraphicsDriver(SoftCanvasDriver(), defaultFlags);
    return;
  }
  SetGraphicsDrivers({{GLCanvasDriver(), choice != "gl"}, {SoftCanvasDriver(), false}},
                     defaultFlags);
}

std::shared_ptr<TGraphics> OpenAcceptedDisplay(int width, int height, int depth, int hertz,
                                               int flags, TCanvasDriver*& chosen) {
  const DriverList& list = Drivers();
  flags |= list.defaultFlags;
  for (std::size_t i = 0; i < list.count; ++i) {
    const TDriverChoice& choice = list.choices[i];
    // Without a GPU the display could only draw on the CPU: not worth loading that GL to see.
    if (choice.refusesCpuRenderer && !choice.driver->MayDrawOnGpu()) continue;
    std::shared_ptr<TGraphics> graphics =
        TryCreate(choice.driver, width, height, depth, hertz, flags);
    if (!graphics) continue;
    if (choice.refusesCpuRenderer && graphics->drawsOnCpu) continue;  // closes it unseen
    graphics->Show();
    chosen = choice.driver;
    return graphics;
  }
  return nullptr;
}

void ResetGraphicsDrivers() {
  Drivers() = AtStart();
}

}  // namespace media
