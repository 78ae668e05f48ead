#include "media/platform/app_title.h"

namespace media {

namespace {

// A function-local static, so the title is usable from other modules' static initialisers.
std::u16string& Title() {
  // Never shown by the program, which sets its own title before any window or box exists.
  static std::u16string title = u"Application";
  return title;
}

}  // namespace

void SetAppTitle(std::u16string_view title) {
  Title() = title;
}

const std::u16string& AppTitle() {
  return Title();
}

}  // namespace media
