// The catalogue of tracks: one entry per track with what the screen shows about it and the
// embedded music file it plays.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct AppState;
struct TrackList;

class DemoList {
 public:
  std::u16string name;      // title, in the list and the information panel
  std::u16string time;      // playing time as shown, "mm:ss"
  std::u16string composer;
  std::u16string style;
  std::u16string song;      // embedded music file, without the "incbin::" prefix
  int x = 0;                // left edge of the label
  int y = 0;                // top of the label
  int id = 0;               // track number, from 1: the function key that selects it

  // Appends an entry at x 360, y 130 + 24 * id. Nothing stops two entries sharing an id.
  static int add(TrackList& list, std::u16string_view name, std::u16string_view time, int id,
                 std::u16string_view composer, std::u16string_view style,
                 std::u16string_view song);
  // Draws every entry in order; nothing when the list was never created.
  static int UpdateAll(const TrackList& list, int currentTrack);
  int Update(int currentTrack) const;
  int Draw(int currentTrack) const;
};

struct TrackList {
  bool created = false;                          // false until the first add
  std::vector<std::unique_ptr<DemoList>> entries;  // in insertion order

  int Count() const { return static_cast<int>(entries.size()); }
  void Clear() { entries.clear(); }
};

// Seeds the scroller with one space, fills the list with the five tracks and makes track 1
// the current one.
void BuildTrackList(AppState& state);

}  // namespace app
