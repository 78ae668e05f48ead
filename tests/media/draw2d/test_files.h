// Files the draw2d tests read from the source tree.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace media::testing {

inline std::string AssetPath(const std::string& name) {
  return std::string(MUSICDISK_ASSET_DIR) + "/" + name;
}

inline std::string TestDataPath(const std::string& name) {
  return std::string(MUSICDISK_TEST_DATA_DIR) + "/" + name;
}

// The whole file, or nothing when it cannot be read.
inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace media::testing
