// Asks one real question and prints the answer, for proceed_xvfb_test.sh to drive with
// synthetic key presses under a virtual X display.
#include <cstdio>

#include "media/platform/app_title.h"
#include "media/platform/dialogs.h"

int main() {
  media::SetAppTitle(u"Probe Title");
  const int answer = media::Proceed(u"Question?", 0);
  std::printf("%d\n", answer);
  // Out before anything at exit can end the process abnormally (a sanitizer's leak report
  // about the system's D-Bus library, for one).
  std::fflush(stdout);
  return 0;
}
