#include "media/draw2d/display_window.h"

#include <algorithm>
#include <string>

#include "media/platform/app_title.h"
#include "media/platform/video.h"
#include "media/resources/utf16.h"

namespace media {

bool AcquireVideo() {
  return StartVideo();
}

void ReleaseVideo() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::vector<TGraphicsMode> DesktopDisplayModes() {
  std::vector<TGraphicsMode> modes;
  if (!AcquireVideo()) return modes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    modes.push_back(
        {mode.w, mode.h, static_cast<int>(SDL_BITSPERPIXEL(mode.format)), mode.refresh_rate});
  }
  ReleaseVideo();
  return modes;
}

SDL_Window* CreateDisplayWindow(int width, int height, int depth, Uint32 extraFlags, bool titled) {
  Uint32 flags = extraFlags;
  // Full screen never switches the mode: a mode switch disturbs the rest of the desktop, and
  // the picture is scaled into the desktop's own resolution instead.
  if (depth != 0) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  const std::string title = titled ? Utf16ToUtf8(AppTitle()) : std::string();
  return SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                          height, flags);
}

void TitleDisplayWindow(SDL_Window* window) {
  SDL_SetWindowTitle(window, Utf16ToUtf8(AppTitle()).c_str());
}

SDL_Rect FitPicture(int drawableWidth, int drawableHeight, int width, int height) {
  if (width <= 0 || height <= 0 || drawableWidth <= 0 || drawableHeight <= 0) {
    return SDL_Rect{0, 0, std::max(drawableWidth, 0), std::max(drawableHeight, 0)};
  }
  // Compare drawableWidth / width with drawableHeight / height without rounding.
  SDL_Rect rect;
  if (static_cast<long long>(drawableWidth) * height <=
      static_cast<long long>(drawableHeight) * width) {
    rect.w = drawableWidth;
    rect.h = static_cast<int>(static_cast<long long>(height) * drawableWidth / width);
  } else {
    rect.h = drawableHeight;
    rect.w = static_cast<int>(static_cast<long long>(width) * drawableHeight / height);
  }
  rect.x = (drawableWidth - rect.w) / 2;
  rect.y = (drawableHeight - rect.h) / 2;
  return rect;
}

void MovePointerToPicture(SDL_Window* window, int width, int height, int x, int y) {
  if (window == nullptr || width <= 0 || height <= 0) return;
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window, &w, &h);
  const SDL_Rect fitted = FitPicture(w, h, width, height);
  SDL_WarpMouseInWindow(window, fitted.x + x * fitted.w / width, fitted.y + y * fitted.h / height);
}

bool WindowShown(SDL_Window* window) {
  return window != nullptr &&
         (SDL_GetWindowFlags(window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

}  // namespace media
