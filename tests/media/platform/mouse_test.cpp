#include "media/platform/mouse.h"
#include "tests/support/portable_process.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace media {
namespace {

TEST(Mouse, HideAndShowSwitchThePointerOverOurWindows) {
  test_support::SetEnv("SDL_VIDEODRIVER", "dummy");
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("pointer", 0, 0, 64, 64, 0);
  ASSERT_NE(window, nullptr) << SDL_GetError();

  HideMouse();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  HideMouse();  // a flag, not a counter: one show undoes any number of hides
  ShowMouse();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  ShowMouse();
  HideMouse();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

  SDL_DestroyWindow(window);
  SDL_Quit();
}

}  // namespace
}  // namespace media
