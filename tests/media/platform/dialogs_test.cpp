#include "media/platform/dialogs.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "media/platform/app_title.h"
#include "media/platform/video.h"
#include "tests/support/portable_process.h"

namespace media {
namespace {

TEST(Proceed, TheTestHookAnswersWithTheTextAndSeriousness) {
  std::u16string askedText;
  int askedSerious = -99;
  SetProceedHook([&](std::u16string_view text, int serious) {
    askedText = text;
    askedSerious = serious;
    return 0;
  });
  EXPECT_EQ(Proceed(u"Would you like a window? \u00C5", 3), 0);
  EXPECT_EQ(askedText, u"Would you like a window? \u00C5");
  EXPECT_EQ(askedSerious, 3);

  SetProceedHook([](std::u16string_view, int) { return 1; });
  EXPECT_EQ(Proceed(u"?", 0), 1);
  SetProceedHook({});
}

// With no display to show it on, the box cannot appear; that counts as Cancel and must not
// wait for anyone.
TEST(Proceed, ABoxThatCannotBeShownAnswersCancel) {
  SetProceedHook({});
  test_support::UnsetEnv("DISPLAY");
  test_support::UnsetEnv("WAYLAND_DISPLAY");
  test_support::SetEnv("SDL_VIDEODRIVER", "dummy");
  EXPECT_EQ(Proceed(u"Question?", 0), -1);
  EXPECT_EQ(Proceed(u"Question?", 1), -1);
  // The box brought video up for the display that opens next.
  EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  SDL_Quit();
}

#if !defined(_WIN32)
// A display that is named but does not answer (a busy or a gone X server) must not end up as
// SDL's offscreen driver, which shows nothing: it is asked again, then video stays down and
// says why.
TEST(Video, ANamedDisplayThatDoesNotAnswerLeavesVideoDown) {
  test_support::SetEnv("DISPLAY", ":987");  // no server there
  test_support::UnsetEnv("WAYLAND_DISPLAY");
  test_support::UnsetEnv("SDL_VIDEODRIVER");
  EXPECT_FALSE(StartVideo());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  EXPECT_NE(std::string(VideoStartFailure()), "");
  test_support::UnsetEnv("DISPLAY");
}
#endif

TEST(AppTitle, HasANeutralDefaultAndKeepsWhatIsSet) {
  EXPECT_FALSE(AppTitle().empty());
  const std::u16string before = AppTitle();
  SetAppTitle(u"Sm\u00F8rrebr\u00F8d #1");
  EXPECT_EQ(AppTitle(), u"Sm\u00F8rrebr\u00F8d #1");
  SetAppTitle(before);
}

}  // namespace
}  // namespace media
