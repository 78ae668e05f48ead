// The display window both drivers open: caption = application title, the picture's size as
// client area, centred on the desktop, not resizable; full screen keeps the desktop's own
// mode and the picture is scaled into it.
// Depends on: SDL2 video, media/platform (application title).
#pragma once

#include <SDL.h>

#include <vector>

#include "media/draw2d/canvas_driver.h"

namespace media {

// Starts SDL's video subsystem (counted); false when there is no video device.
bool AcquireVideo();
void ReleaseVideo();

// The modes of the main display; empty without a video device.
std::vector<TGraphicsMode> DesktopDisplayModes();

// A window for a width x height picture; depth 0 = a window, otherwise full screen on the
// desktop's own mode. `extraFlags` adds SDL window flags (SDL_WINDOW_OPENGL ...). Untitled,
// a window is nobody's to find (a hidden one that may yet be refused): TitleDisplayWindow
// names it when it is kept.
SDL_Window* CreateDisplayWindow(int width, int height, int depth, Uint32 extraFlags,
                                bool titled = true);
void TitleDisplayWindow(SDL_Window* window);

// Where a width x height picture goes in a drawable of drawableWidth x drawableHeight:
// scaled uniformly to the largest size that fits, centred, whole pixels. Every driver
// letterboxes and scales through this (and HiDPI: the drawable is in real pixels).
SDL_Rect FitPicture(int drawableWidth, int drawableHeight, int width, int height);

// Puts the pointer on pixel (x, y) of the width x height picture as `window` shows it (in
// window coordinates, between the bars). Nothing without a window.
void MovePointerToPicture(SDL_Window* window, int width, int height, int x, int y);

// False while `window` is minimised or hidden, or there is none.
bool WindowShown(SDL_Window* window);

}  // namespace media
