// The GL device of one display: the SDL window, its OpenGL 2.1 (or OpenGL ES 2.0) context
// and the objects every frame uses: the shader program, the vertex buffer and the
// framebuffer object the picture is drawn into at the window's real resolution.
// Depends on: SDL2 video, libepoxy.
#pragma once

#include <epoxy/gl.h>

#include <SDL.h>

#include <cstdint>

#include "media/draw2d/canvas_driver.h"
#include "media/draw2d/display_window.h"

namespace media {

// A display of the GL driver: the window, its context and the objects made in it.
class TGLGraphics final : public TGraphics {
 public:
  ~TGLGraphics() override { Close(); }

  void Close() override {
    // Deleting the context frees every object made in it.
    if (context != nullptr) SDL_GL_DeleteContext(context);
    context = nullptr;
    if (window != nullptr && ownsWindow) SDL_DestroyWindow(window);
    if (window != nullptr) ReleaseVideo();
    window = nullptr;
  }
  // A window of its own is made hidden and untitled until the front end accepts it.
  void Show() override;

  SDL_Window* window = nullptr;
  bool ownsWindow = false;          // false for an attached window
  SDL_GLContext context = nullptr;  // null while lost
  bool es = false;                  // an OpenGL ES context
  std::uint32_t generation = 0;     // of the context; textures remember it
  GLuint program = 0;
  GLint projectionUniform = -1;  // vec4: x scale, y scale, x offset, y offset
  GLint alphaRefUniform = -1;    // fragments with alpha below it are discarded
  GLuint vertexBuffer = 0;
  GLuint framebuffer = 0;  // what every frame is drawn into, then copied to the window
  GLuint framebufferTexture = 0;
  int framebufferWidth = 0;  // in pixels: the picture's fitted size in the drawable
  int framebufferHeight = 0;
  GLint framebufferFilter = 0;  // as last set, for presenting
  GLuint whiteTexture = 0;      // bound when nothing is: colour from the vertices alone
  GLint maxTextureSize = 0;
  // How the context reports that the driver reset it; kNone where it cannot.
  enum class ResetQuery { kNone, kCore, kArb, kExt };
  ResetQuery resetQuery = ResetQuery::kNone;
};

// The pixel format the display window is created with: 8-bit RGB, double-buffered, no
// depth or stencil.
void SetGLWindowAttributes();
// Makes a context on graphics.window (OpenGL 2.1, else OpenGL ES 2.0), makes it current and
// builds the objects. False when no kind of context works; the context is then null.
bool CreateGLDevice(TGLGraphics& graphics);

// True when the driver reset the current context (it must then be made again).
bool ContextWasReset(const TGLGraphics& graphics);
// Gives the framebuffer object a width x height texture, black, nearest-filtered; leaves
// the framebuffer and its texture bound. False when the device cannot make one that size.
bool ResizeFramebuffer(TGLGraphics& graphics, int width, int height);
// Filtering and clamped addressing of the bound texture.
void SetTextureParameters(GLint filter, GLint minFilter);
// Forgets earlier errors, so that the next glGetError speaks of what follows.
void ClearGLErrors();

// Where the vertex shader reads each corner's parts.
constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kTexcoordAttribute = 1;
constexpr GLuint kColorAttribute = 2;

}  // namespace media
