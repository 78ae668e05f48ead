// Start-up's first step: every file the program carries becomes known to the resource store.
#pragma once

namespace app {

// Registers the fourteen embedded files, in their fixed order, with their exact lengths.
void RegisterApplicationFiles();

}  // namespace app
