#include "media/platform/gpu_devices.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace media {

bool MayHaveGpu(const char* devices) {
#ifdef _WIN32
  (void)devices;
  return true;
#else
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path root(devices);
  // A render node or a display card of any GPU driver, the proprietary NVIDIA driver's own
  // nodes, or the GPU a Windows host lends its Linux subsystem.
  for (const fs::path& folder : {root / "dri", root}) {
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const std::string name = it->path().filename().string();
      const std::string_view n = name;
      if (folder == root ? (n.starts_with("nvidia") || n == "dxg")
                         : (n.starts_with("renderD") || n.starts_with("card")))
        return true;
    }
    error.clear();
  }
  return false;
#endif
}

}  // namespace media
