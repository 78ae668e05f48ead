#include "app/scroll_text.h"

#include "app/app_state.h"

namespace app {

int DemoScroll::add(ScrollState& scroll, std::u16string_view text) {
  scroll.created = true;
  auto letter = std::make_unique<DemoScroll>();
  letter->character = text;
  letter->x = 810.0f;
  letter->y = 5.0f;
  scroll.letters.push_back(std::move(letter));
  return 0;
}

int DemoScroll::UpdateAll(AppState& /*state*/) {
  // Moving, emitting and drawing the letters arrive with the text renderer.
  return 0;
}

std::u16string AssembleScrollText() {
  std::u16string text;
  text += u"  nocturnals  `";
  text += u"   Presents   `";
  text += u"Music Colly #1`";
  text += u"     Hi Kelvarion! Whats up? VOK are proud to present this music colly for you all. "
          u"Hope you like it? ";
  text += u"Graphics and code by    Quillon/VOK  ` ... Greetings to everybody we know! ";
  text += u" Enjoy the tunes! C ya!                               ";
  return text;
}

}  // namespace app
