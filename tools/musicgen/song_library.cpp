#include "musicgen/song_library.h"

#include "musicgen/songs/songs.h"

namespace musicgen {

namespace {

struct Entry {
  const char* id;
  Song (*make)();
};

// The order the tool lists them in; the ids are the names the disk's files come from.
constexpr Entry kSongs[] = {
    {"VorWIP2", songs::vortek3}, {"basswobbler", songs::basswobbler},
    {"nova", songs::nova},       {"nova2", songs::nova2},
    {"glow", songs::glow},       {"music", songs::music},
};

}  // namespace

std::vector<std::string> songIds() {
  std::vector<std::string> ids;
  for (const Entry& entry : kSongs) ids.emplace_back(entry.id);
  return ids;
}

std::optional<Song> findSong(std::string_view id) {
  for (const Entry& entry : kSongs) {
    if (id == entry.id) {
      Song song = entry.make();
      song.id = entry.id;
      return song;
    }
  }
  return std::nullopt;
}

}  // namespace musicgen
