#include "app/track_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <string>

#include "app/app_state.h"
#include "app/scroll_text.h"
#include "media/draw2d/canvas.h"

namespace app {

int DemoList::add(TrackList& list, std::u16string_view name, std::u16string_view time, int id,
                  std::u16string_view composer, std::u16string_view style,
                  std::u16string_view song) {
  list.created = true;
  auto entry = std::make_unique<DemoList>();
  entry->name = name;
  entry->time = time;
  entry->id = id;
  entry->composer = composer;
  entry->style = style;
  entry->song = song;
  entry->x = 360;
  entry->y = 130 + 24 * id;
  list.entries.push_back(std::move(entry));
  return 0;
}

int DemoList::UpdateAll(const TrackList& list, int currentTrack) {
  if (!list.created) return 0;
  for (const auto& entry : list.entries) entry->Update(currentTrack);
  return 0;
}

int DemoList::Update(int currentTrack) const {
  return Draw(currentTrack);
}

int DemoList::Draw(int currentTrack) const {
  if (currentTrack == id)
    media::DrawText(u"*", static_cast<float>(x) - 36.0f, static_cast<float>(y + 8));
  // "F<id>. <name>", put together on the stack: the list is drawn every frame, and labels
  // are longer than a string's own small buffer. Only a name too long for it takes the heap.
  char digits[16];
  const auto [digitsEnd, ec] = std::to_chars(std::begin(digits), std::end(digits), id);
  const std::size_t digitCount =
      ec == std::errc{} ? static_cast<std::size_t>(digitsEnd - digits) : 0;
  std::array<char16_t, 64> buffer;
  std::u16string longLabel;
  char16_t* out = buffer.data();
  if (3 + digitCount + name.size() > buffer.size()) {
    longLabel.resize(3 + digitCount + name.size());
    out = longLabel.data();
  }
  char16_t* end = out;
  *end++ = u'F';
  for (std::size_t i = 0; i < digitCount; ++i) *end++ = static_cast<char16_t>(digits[i]);
  *end++ = u'.';
  *end++ = u' ';
  end = std::copy(name.begin(), name.end(), end);
  const std::u16string_view label(out, static_cast<std::size_t>(end - out));
  // A two-digit number needs the room of one more digit: its label starts further left.
  const int labelX = id == 10 ? x - 13 : x;
  media::DrawText(label, static_cast<float>(labelX), static_cast<float>(y));
  media::DrawText(time, static_cast<float>(x + 360), static_cast<float>(y));
  return 0;
}

void BuildTrackList(AppState& state) {
  DemoScroll::add(state.scroll, u" ");
  if (state.trackList.created) state.trackList.Clear();
  state.currentTrack = 1;
  TrackList& list = state.trackList;
  DemoList::add(list, u"Vortek 3", u"03:11", 1, u"Ravenfel (Remix: Tosk)", u"Electronic",
                u"sound/VorWIP2.mp3");
  DemoList::add(list, u"BassWobbler", u"03:48", 2, u"Fennick", u"DubStep",
                u"sound/fennick - basswobbler.mp3");
  DemoList::add(list, u"Nova", u"04:05", 3, u"Morlane", u"Trance/Oldskool", u"sound/01.mp3");
  DemoList::add(list, u"Nova 2", u"04:04", 4, u"Morlane", u"Trance/Oldskool", u"sound/03.mp3");
  DemoList::add(list, u"Gl\u00f8w", u"03:13", 5, u"Fennick", u"Electronica",
                u"sound/fennick - glw.mp3");
}

}  // namespace app
