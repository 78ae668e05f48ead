#include "musicgen/song.h"

#include <set>
#include <stdexcept>

namespace musicgen {

namespace {

[[noreturn]] void reject(const Song& song, const std::string& why) {
  throw std::invalid_argument("song '" + song.id + "': " + why);
}

template <typename T>
std::set<std::string> uniqueNames(const Song& song, const std::vector<T>& items, const char* kind) {
  std::set<std::string> names;
  for (const T& item : items)
    if (!names.insert(item.name).second)
      reject(song, std::string("two ") + kind + "s named '" + item.name + "'");
  return names;
}

}  // namespace

void validateSong(const Song& song) {
  if (!(song.bpm >= 20.0 && song.bpm <= 400.0)) reject(song, "tempo out of range");
  if (song.beatsPerBar < 1) reject(song, "bars need at least one beat");
  if (song.swing < 0.0f || song.swing >= 0.5f) reject(song, "swing must be in [0, 0.5)");
  if (song.tailSeconds < 0.0) reject(song, "negative tail");
  if (song.sections.empty()) reject(song, "no sections");
  const auto instruments = uniqueNames(song, song.instruments, "instrument");
  const auto patterns = uniqueNames(song, song.patterns, "pattern");
  for (const Pattern& pattern : song.patterns) {
    if (pattern.steps < 1) reject(song, "pattern '" + pattern.name + "' has no steps");
    for (const Note& note : pattern.notes)
      if (note.step < 0 || note.step >= pattern.steps || note.length < 1)
        reject(song, "pattern '" + pattern.name + "' has a note outside its steps");
  }
  for (const Section& section : song.sections) {
    if (section.bars < 1) reject(song, "section '" + section.name + "' has no bars");
    for (const Clip& clip : section.clips) {
      if (!instruments.contains(clip.instrument))
        reject(song,
               "section '" + section.name + "' plays unknown instrument '" + clip.instrument + "'");
      if (!patterns.contains(clip.pattern))
        reject(song, "section '" + section.name + "' plays unknown pattern '" + clip.pattern + "'");
      const int start = clip.startBar < 0 ? section.bars + clip.startBar : clip.startBar;
      if (start < 0 || start >= section.bars || clip.bars < 0 || start + clip.bars > section.bars)
        reject(song, "section '" + section.name + "' has a clip of '" + clip.instrument +
                         "' outside its bars");
    }
  }
}

}  // namespace musicgen
