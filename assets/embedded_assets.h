// The files linked into the executable (pictures, fonts, music), in the order start-up
// registers them with the resource store.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace assets {

struct EmbeddedAsset {
  std::u16string_view name;      // the name the program asks for, e.g. u"gfx/logo.png"
  const unsigned char* begin;    // first byte in the executable's read-only data
  const unsigned char* end;      // one past the last byte

  std::int32_t size() const { return static_cast<std::int32_t>(end - begin); }
};

std::span<const EmbeddedAsset> EmbeddedAssets();

}  // namespace assets
