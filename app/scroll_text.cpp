#include "app/scroll_text.h"

#include <iterator>

#include "app/app_state.h"
#include "media/draw2d/canvas.h"
#include "timing/delta.h"

namespace app {

namespace {

constexpr float kEntryX = 810.0f;
constexpr float kEntryY = 5.0f;
// 1.78 pixels per unit of the time factor, as the 32-bit value the speed has always had.
constexpr double kSpeed = static_cast<double>(1.78f);
constexpr float kRemovalX = -50.0f;
// (810 + 50) / 1.78 pixels a frame is 483 frames on screen, one letter every 19: 26 letters.
constexpr int kLettersOnScreen = 28;
constexpr int kPauseFrames = 100;
constexpr char16_t kPauseMark = u'`';

// Simple upper-case mapping for the scripts a greeting is likely to use: Basic Latin,
// Latin-1, Latin Extended-A, Greek and Cyrillic. Everything else is kept as it is.
char16_t ToUpperSimple(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
      c != 0x17F) {
    // Pairs alternate upper, lower; the run 0x139..0x148 and 0x179..0x17E start one later.
    const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const bool lower = shifted ? (c % 2 == 0) : (c % 2 == 1);
    return lower ? static_cast<char16_t>(c - 1) : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

// The character emitted at the scroll position, upper case; a pause mark becomes a space
// and stops the line.
std::u16string NextCharacter(AppState& state) {
  ScrollState& scroll = state.scroll;
  scroll.scrollPos += 1;
  // The wrap test is `pos > length - 1`: the text's last character is never shown.
  if (scroll.scrollPos > static_cast<int>(state.scrollText.size()) - 1) scroll.scrollPos = 1;
  char16_t c = state.scrollText[static_cast<size_t>(scroll.scrollPos - 1)];
  if (c == kPauseMark) {
    state.pauseTick = 1;
    scroll.scrollPaused = 1;
    c = u' ';
  }
  return std::u16string(1, ToUpperSimple(c));
}

}  // namespace

int DemoScroll::add(ScrollState& scroll, std::u16string_view text) {
  if (!scroll.created) {
    // As many letters as the line holds at full speed, made before the first frame.
    for (int i = 0; i < kLettersOnScreen; ++i) {
      scroll.spare.push_back(std::make_unique<DemoScroll>());
    }
  }
  scroll.created = true;
  if (scroll.spare.empty()) {
    scroll.letters.push_back(std::make_unique<DemoScroll>());
  } else {
    scroll.letters.splice(scroll.letters.end(), scroll.spare, scroll.spare.begin());
  }
  DemoScroll& letter = *scroll.letters.back();
  letter.character = text;
  letter.x = kEntryX;
  letter.y = kEntryY;
  return 0;
}

int DemoScroll::Update(AppState& state, std::list<std::unique_ptr<DemoScroll>>::iterator self) {
  ScrollState& scroll = state.scroll;
  bool leaving = false;
  if (scroll.scrollPaused != 0) {
    // A paused line neither moves nor emits; it moves again in the first frame in which
    // pauseTick is a multiple of 100, 99 frames after the mark.
    if (state.pauseTick % kPauseFrames == 0) scroll.scrollPaused = 0;
  } else {
    x = static_cast<float>(static_cast<double>(x) - kSpeed * timing::Delta::Factor());
    if (state.frameTick % scroll.scrollDelay == 0) {
      // Emitting counts as a frame too, so the letters after this one in the same pass do
      // not emit again, and emissions come every 19 frames, not 20.
      state.frameTick += 1;
      add(scroll, NextCharacter(state));
    }
    leaving = !(x >= kRemovalX);
  }
  Draw();  // drawn once more in the frame it leaves
  // Moves this letter to the spare list: nothing of it may be used after this.
  if (leaving) scroll.spare.splice(scroll.spare.end(), scroll.letters, self);
  return 0;
}

int DemoScroll::Draw() const {
  media::DrawText(character, x, y);
  return 0;
}

int DemoScroll::UpdateAll(AppState& state) {
  auto& letters = state.scroll.letters;
  // The next letter is fetched before the current one is updated: a letter may remove
  // itself, and one appended by the last letter of the list waits for the next frame.
  for (auto it = letters.begin(); it != letters.end();) {
    const auto next = std::next(it);
    (*it)->Update(state, it);
    it = next;
  }
  return 0;
}

std::u16string AssembleScrollText() {
  std::u16string text;
  text += u"  nocturnals  `";
  text += u"   Presents   `";
  text += u"Music Colly #1`";
  text +=
      u"     Hi Kelvarion! Whats up? VOK are proud to present this music colly for you all. "
      u"Hope you like it? ";
  text += u"Graphics and code by    Quillon/VOK  ` ... Greetings to everybody we know! ";
  text += u" Enjoy the tunes! C ya!                               ";
  return text;
}

}  // namespace app
