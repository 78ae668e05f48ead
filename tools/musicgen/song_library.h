// Every song the generator knows, by the id the tool is called with.
// Depends on: song, songs/*.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "musicgen/song.h"

namespace musicgen {

std::vector<std::string> songIds();
std::optional<Song> findSong(std::string_view id);

}  // namespace musicgen
