// The scroller: one line of big black capitals entering at the right edge, one letter
// every 19 frames, standing still for 99 frames at each pause mark, repeating for ever.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <string_view>

namespace app {

struct AppState;
class DemoScroll;

struct ScrollState {
  bool created = false;                            // false until the first add
  std::list<std::unique_ptr<DemoScroll>> letters;  // live letters, oldest first
  // Letters that have left, kept (list nodes included) for the next emissions: once the
  // line has filled the screen, scrolling allocates nothing.
  std::list<std::unique_ptr<DemoScroll>> spare;
  int scrollPos = 0;     // 1-based position of the last emitted character
  int scrollDelay = 20;  // emission test value, in frames
  int scrollPaused = 0;  // 1 while the line stands still
};

class DemoScroll {
 public:
  std::u16string character;  // the one character shown, already upper case
  float x = 0.0f;
  float y = 0.0f;

  // Appends a letter showing `text` just beyond the right edge (x 810, y 5).
  static int add(ScrollState& scroll, std::u16string_view text);
  // Updates and draws every letter in list order.
  static int UpdateAll(AppState& state);
  // Moves this letter, emits the next character when it is time, draws it, and removes it
  // from the list (`self` is its place there) once it has passed the left edge.
  int Update(AppState& state, std::list<std::unique_ptr<DemoScroll>>::iterator self);
  int Draw() const;
};

// The 276-character greeting text; the grave accent is the pause mark.
std::u16string AssembleScrollText();

}  // namespace app
