#include "media/platform/gpu_devices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/portable_process.h"

namespace media {
namespace {

namespace fs = std::filesystem;

TEST(GpuDevices, AGpuIsSeenByItsDeviceNodesOnly) {
#ifdef _WIN32
  EXPECT_TRUE(MayHaveGpu("no-such-folder")) << "Windows always asks its GL";
#else
  const fs::path root =
      fs::temp_directory_path() / ("gpu_devices_test." + std::to_string(test_support::ProcessId()));
  fs::remove_all(root);
  fs::create_directories(root / "dri");
  std::ofstream(root / "null") << "";
  std::ofstream(root / "dri" / "by-path") << "";  // a folder's own entries are no GPU
  EXPECT_FALSE(MayHaveGpu(root.c_str()));
  EXPECT_FALSE(MayHaveGpu((root / "missing").c_str()));
  for (const char* node : {"dri/renderD128", "dri/card0", "nvidia0", "dxg"}) {
    std::ofstream(root / node) << "";
    EXPECT_TRUE(MayHaveGpu(root.c_str())) << node;
    fs::remove(root / node);
  }
  fs::remove_all(root);
#endif
}

}  // namespace
}  // namespace media
