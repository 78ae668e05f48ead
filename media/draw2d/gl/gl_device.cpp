#include "media/draw2d/gl/gl_device.h"

#include <cstddef>

#include "media/draw2d/display_window.h"
#include "media/draw2d/gl/gl_driver.h"

namespace media {

namespace {

// Written for both GLSL 1.20 and GLSL ES 1.00; the version line is put in front.
constexpr char kVertexShader[] = R"(
attribute vec2 a_position;
attribute vec2 a_texcoord;
attribute vec4 a_color;
uniform vec4 u_projection;
varying vec2 v_texcoord;
varying vec4 v_color;
void main() {
  gl_Position = vec4(a_position * u_projection.xy + u_projection.zw, 0.0, 1.0);
  v_texcoord = a_texcoord;
  v_color = a_color;
}
)";

constexpr char kFragmentShader[] = R"(
uniform sampler2D u_texture;
uniform float u_alphaRef;
varying vec2 v_texcoord;
varying vec4 v_color;
void main() {
  vec4 color = texture2D(u_texture, v_texcoord) * v_color;
  if (color.a < u_alphaRef) discard;
  gl_FragColor = color;
}
)";

constexpr char kDesktopPrefix[] = "#version 120\n";
constexpr char kEsPrefix[] =
    "#version 100\n#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n"
    "precision mediump float;\n#endif\n";

GLuint CompileShader(GLenum type, const char* prefix, const char* source) {
  const GLuint shader = glCreateShader(type);
  const char* parts[2] = {prefix, source};
  glShaderSource(shader, 2, parts, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

// A linked program of the vertex shader and `fragmentSource`, its sampler on texture unit 0;
// 0 when it does not compile or link.
GLuint LinkProgram(const TGLGraphics& g, const char* fragmentSource) {
  const char* prefix = g.es ? kEsPrefix : kDesktopPrefix;
  const GLuint vs = CompileShader(GL_VERTEX_SHADER, prefix, kVertexShader);
  const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, prefix, fragmentSource);
  if (vs == 0 || fs == 0) {
    if (vs != 0) glDeleteShader(vs);
    if (fs != 0) glDeleteShader(fs);
    return 0;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glBindAttribLocation(program, kPositionAttribute, "a_position");
  glBindAttribLocation(program, kTexcoordAttribute, "a_texcoord");
  glBindAttribLocation(program, kColorAttribute, "a_color");
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok != GL_TRUE) {
    glDeleteProgram(program);
    return 0;
  }
  glUseProgram(program);
  glUniform1i(glGetUniformLocation(program, "u_texture"), 0);
  return program;
}

bool BuildProgram(TGLGraphics& g) {
  g.program = LinkProgram(g, kFragmentShader);
  if (g.program == 0) return false;
  g.projectionUniform = glGetUniformLocation(g.program, "u_projection");
  g.alphaRefUniform = glGetUniformLocation(g.program, "u_alphaRef");
  return true;
}

// A context reports a reset of the driver (a GPU hang, a driver update) only when it was
// made to lose itself on one, and the query exists in this GL.
TGLGraphics::ResetQuery ResetQueryOf() {
  using Query = TGLGraphics::ResetQuery;
  Query query = Query::kNone;
  if ((epoxy_is_desktop_gl() && epoxy_gl_version() >= 45) ||
      (!epoxy_is_desktop_gl() && epoxy_gl_version() >= 32) ||
      epoxy_has_gl_extension("GL_KHR_robustness")) {
    query = Query::kCore;
  } else if (epoxy_is_desktop_gl() && epoxy_has_gl_extension("GL_ARB_robustness")) {
    query = Query::kArb;
  } else if (!epoxy_is_desktop_gl() && epoxy_has_gl_extension("GL_EXT_robustness")) {
    query = Query::kExt;
  }
  if (query == Query::kNone) return query;
  GLint strategy = GL_NO_RESET_NOTIFICATION;
  ClearGLErrors();
  glGetIntegerv(GL_RESET_NOTIFICATION_STRATEGY, &strategy);
  return glGetError() == GL_NO_ERROR && strategy == GL_LOSE_CONTEXT_ON_RESET ? query : Query::kNone;
}

bool BuildObjects(TGLGraphics& g) {
  ClearGLErrors();
  if (!BuildProgram(g)) return false;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &g.maxTextureSize);
  g.resetQuery = ResetQueryOf();

  glGenBuffers(1, &g.vertexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, g.vertexBuffer);
  glEnableVertexAttribArray(kPositionAttribute);
  glEnableVertexAttribArray(kTexcoordAttribute);
  glEnableVertexAttribArray(kColorAttribute);
  glVertexAttribPointer(kPositionAttribute, 2, GL_FLOAT, GL_FALSE, sizeof(TGLVertex),
                        reinterpret_cast<const void*>(offsetof(TGLVertex, x)));
  glVertexAttribPointer(kTexcoordAttribute, 2, GL_FLOAT, GL_FALSE, sizeof(TGLVertex),
                        reinterpret_cast<const void*>(offsetof(TGLVertex, u)));
  glVertexAttribPointer(kColorAttribute, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(TGLVertex),
                        reinterpret_cast<const void*>(offsetof(TGLVertex, color)));

  glActiveTexture(GL_TEXTURE0);
  const std::uint32_t white = 0xFFFFFFFFu;
  glGenTextures(1, &g.whiteTexture);
  glBindTexture(GL_TEXTURE_2D, g.whiteTexture);
  SetTextureParameters(GL_NEAREST, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &white);

  glGenTextures(1, &g.framebufferTexture);
  glGenFramebuffers(1, &g.framebuffer);
  if (!ResizeFramebuffer(g, g.width, g.height)) return false;
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return glGetError() == GL_NO_ERROR;
}

// Context kinds in order of preference: OpenGL 2.1, then OpenGL ES 2.0.
struct ContextKind {
  int profile;
  int major;
  int minor;
  bool es;
};
constexpr ContextKind kContextKinds[] = {
    {SDL_GL_CONTEXT_PROFILE_COMPATIBILITY, 2, 1, false},
    {SDL_GL_CONTEXT_PROFILE_ES, 2, 0, true},
};

}  // namespace

void ClearGLErrors() {
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
}

void SetTextureParameters(GLint filter, GLint minFilter) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

bool ContextWasReset(const TGLGraphics& g) {
  switch (g.resetQuery) {
    case TGLGraphics::ResetQuery::kCore:
      return glGetGraphicsResetStatus() != GL_NO_ERROR;
    case TGLGraphics::ResetQuery::kArb:
      return glGetGraphicsResetStatusARB() != GL_NO_ERROR;
    case TGLGraphics::ResetQuery::kExt:
      return glGetGraphicsResetStatusEXT() != GL_NO_ERROR;
    case TGLGraphics::ResetQuery::kNone:
      break;
  }
  return false;  // a context without reset notification never learns of one
}

bool ResizeFramebuffer(TGLGraphics& g, int width, int height) {
  glBindTexture(GL_TEXTURE_2D, g.framebufferTexture);
  SetTextureParameters(GL_NEAREST, GL_NEAREST);
  g.framebufferFilter = GL_NEAREST;
  ClearGLErrors();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindFramebuffer(GL_FRAMEBUFFER, g.framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, g.framebufferTexture,
                         0);
  if (glGetError() != GL_NO_ERROR ||
      glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    return false;
  }
  g.framebufferWidth = width;
  g.framebufferHeight = height;
  // A new texture's texels are undefined: a frame starts black, as a new window does.
  const GLboolean scissored = glIsEnabled(GL_SCISSOR_TEST);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  if (scissored) glEnable(GL_SCISSOR_TEST);
  return true;
}

void SetGLWindowAttributes() {
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, kContextKinds[0].profile);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kContextKinds[0].major);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kContextKinds[0].minor);
}

bool CreateGLDevice(TGLGraphics& g) {
  for (const ContextKind& kind : kContextKinds) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, kind.profile);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kind.major);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kind.minor);
    // First a context that tells when the driver reset it, so that the display can be
    // rebuilt; drivers without that give a plain one.
    for (const bool robust : {true, false}) {
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, robust ? SDL_GL_CONTEXT_ROBUST_ACCESS_FLAG : 0);
      SDL_GL_SetAttribute(
          SDL_GL_CONTEXT_RESET_NOTIFICATION,
          robust ? SDL_GL_CONTEXT_RESET_LOSE_CONTEXT : SDL_GL_CONTEXT_RESET_NO_NOTIFICATION);
      g.context = SDL_GL_CreateContext(g.window);
      if (g.context != nullptr) break;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_RESET_NOTIFICATION, SDL_GL_CONTEXT_RESET_NO_NOTIFICATION);
    if (g.context == nullptr) continue;
    g.es = kind.es;
    if (SDL_GL_MakeCurrent(g.window, g.context) == 0 && BuildObjects(g)) return true;
    SDL_GL_DeleteContext(g.context);
    g.context = nullptr;
  }
  return false;
}

void TGLGraphics::Show() {
  if (window == nullptr || !ownsWindow) return;
  TitleDisplayWindow(window);
  SDL_ShowWindow(window);
}

}  // namespace media
