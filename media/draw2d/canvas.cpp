#include "media/draw2d/canvas.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "media/draw2d/canvas_graphics.h"
#include "media/draw2d/default_font.h"
#include "media/draw2d/frame_pacing.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"

namespace media {

namespace {

struct FlipHookEntry {
  FlipHookFunction function;  // null once removed while the hooks were running
  void* context;
  int priority;
};

struct CanvasModule {
  std::uint32_t displaySeq = 0;  // changes when a display opens or closes; skips 0

  TFramePacer pacer;  // of the open display

  std::vector<FlipHookEntry> flipHooks;   // sorted by priority
  std::vector<FlipHookEntry> addedHooks;  // added while the hooks were running
  bool runningHooks = false;
};

CanvasModule& Module() {
  static CanvasModule module;
  return module;
}

DrawObserver& Observer() {
  static DrawObserver observer;
  return observer;
}

void Observe(DrawCall::Kind kind, const TImage* image, std::u16string_view text, float x, float y) {
  if (!Observer()) return;
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  DrawCall call;
  call.kind = kind;
  call.image = image;
  call.text = text;
  call.x = x;
  call.y = y;
  call.red = g.color_red;
  call.green = g.color_green;
  call.blue = g.color_blue;
  call.alpha = g.color_alpha;
  call.blend = g.blend_mode;
  call.font = g.image_font.get();
  Observer()(call);
}

void BumpDisplaySeq() {
  CanvasModule& m = Module();
  m.displaySeq += 1;
  if (m.displaySeq == 0) m.displaySeq = 1;
}

void InsertFlipHook(std::vector<FlipHookEntry>& hooks, const FlipHookEntry& entry) {
  auto at = std::upper_bound(hooks.begin(), hooks.end(), entry.priority,
                             [](int p, const FlipHookEntry& e) { return p < e.priority; });
  hooks.insert(at, entry);
}

void RunFlipHooks() {
  CanvasModule& m = Module();
  if (m.runningHooks) return;  // a hook that flips does not run the hooks again
  m.runningHooks = true;
  // By index: a hook may remove itself or others, which only clears their entries.
  for (size_t i = 0; i < m.flipHooks.size(); ++i) {
    const FlipHookEntry entry = m.flipHooks[i];
    if (entry.function != nullptr) entry.function(entry.context);
  }
  m.runningHooks = false;
  std::erase_if(m.flipHooks, [](const FlipHookEntry& e) { return e.function == nullptr; });
  for (const FlipHookEntry& entry : m.addedHooks) InsertFlipHook(m.flipHooks, entry);
  m.addedHooks.clear();
}

// The font DrawText and TextWidth use.
TImageFont* CurrentFont() {
  TCanvasGraphics& g = CurrentCanvasGraphics();
  if (!g.image_font) g.image_font = DefaultImageFont();
  return g.image_font.get();
}

// Device reset and projection, then the whole drawing state again.
void ApplyDisplay(TCanvasGraphics& g) {
  g._driver->SetGraphics(g._graphics.get());
  if (g._graphics->width != g.g_width || g._graphics->height != g.g_height) {
    g.g_width = g._graphics->width;
    g.g_height = g._graphics->height;
    g.vres_width = static_cast<float>(g.g_width);
    g.vres_height = static_cast<float>(g.g_height);
    g.vres_mousexscale = 1.0f;
    g.vres_mouseyscale = 1.0f;
  }
  g.ApplyToDriver();
  if (!g.image_font) g.image_font = DefaultImageFont();
}

void MakeCurrent(TCanvasGraphics& g) {
  ApplyDisplay(g);
  if (g._setup == 0) {
    // Both buffers start in the clear colour.
    Cls();
    Flip(0);
    Cls();
    Flip(0);
    g._setup = 1;
  }
}

}  // namespace

TCanvasDriver* CurrentDriver() {
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  return g._graphics ? g._driver : nullptr;
}

int GraphicsSeq() {
  return static_cast<int>(Module().displaySeq);
}

float DisplayPixelScale() {
  TCanvasDriver* driver = CurrentDriver();
  return driver != nullptr ? driver->PixelScale() : 1.0f;
}

std::shared_ptr<TGraphics> Graphics(int width, int height, int depth, int hertz, int flags) {
  InitDrawingData();
  CloseGraphics();
  TCanvasDriver* driver = nullptr;
  std::shared_ptr<TGraphics> graphics =
      OpenAcceptedDisplay(width, height, depth, hertz, flags, driver);
  if (!graphics) return nullptr;

  BumpDisplaySeq();
  TCanvasGraphics& g = CurrentCanvasGraphics();
  g = TCanvasGraphics::ForDisplay(graphics, driver);
  MakeCurrent(g);
  Module().pacer.SetUp(depth, hertz, *driver);
  if (depth != 0) driver->MoveMouse(width / 2, height / 2);
  // End closes the display, whichever way the program ends. Closing twice does nothing.
  OnEnd([] { CloseGraphics(); });
  EnablePolledInput();
  return graphics;
}

void CloseGraphics() {
  TCanvasGraphics& g = CurrentCanvasGraphics();
  if (!g._graphics) return;
  g._driver->SetGraphics(nullptr);
  g._graphics->Close();
  g = TCanvasGraphics{};
  BumpDisplaySeq();
}

void Cls() {
  if (TCanvasDriver* driver = CurrentDriver()) driver->Cls();
}

void SetClsColor(int r, int g, int b) {
  TCanvasGraphics& state = CurrentCanvasGraphics();
  state.clscolor_red = r;
  state.clscolor_green = g;
  state.clscolor_blue = b;
  if (TCanvasDriver* driver = CurrentDriver()) driver->SetClsColor(r, g, b);
}

void Flip(int sync) {
  RunFlipHooks();
  TCanvasGraphics& g = CurrentCanvasGraphics();
  if (!g._graphics) return;
  const FlipResult result = Module().pacer.Present(*g._driver, sync);
  if (result == FlipResult::kDeviceRecreated) {
    // Textures of the old device are gone: a new number makes images build them again.
    BumpDisplaySeq();
    ApplyDisplay(g);
  }
}

void SetColor(int r, int g, int b) {
  TCanvasGraphics& state = CurrentCanvasGraphics();
  state.color_red = r;
  state.color_green = g;
  state.color_blue = b;
  if (TCanvasDriver* driver = CurrentDriver()) driver->SetColor(r, g, b);
}

void SetAlpha(float alpha) {
  CurrentCanvasGraphics().color_alpha = alpha;
  if (TCanvasDriver* driver = CurrentDriver()) driver->SetAlpha(alpha);
}

void SetBlend(int mode) {
  CurrentCanvasGraphics().blend_mode = mode;
  if (TCanvasDriver* driver = CurrentDriver()) driver->SetBlend(mode);
}

void SetLineWidth(float width) {
  CurrentCanvasGraphics().line_width = width;
  if (TCanvasDriver* driver = CurrentDriver()) driver->SetLineWidth(width);
}

void SetRotation(float degrees) {
  TCanvasGraphics& g = CurrentCanvasGraphics();
  g.tform_rot = degrees;
  g.UpdateTransform();
  if (TCanvasDriver* driver = CurrentDriver()) {
    driver->SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
  }
}

void SetScale(float x, float y) {
  TCanvasGraphics& g = CurrentCanvasGraphics();
  g.tform_scale_x = x;
  g.tform_scale_y = y;
  g.UpdateTransform();
  if (TCanvasDriver* driver = CurrentDriver()) {
    driver->SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
  }
}

void SetViewport(int x, int y, int width, int height) {
  TCanvasGraphics& g = CurrentCanvasGraphics();
  g.viewport_x = x;
  g.viewport_y = y;
  g.viewport_w = width;
  g.viewport_h = height;
  if (TCanvasDriver* driver = CurrentDriver()) driver->SetViewport(x, y, width, height);
}

void SetOrigin(float x, float y) {
  CurrentCanvasGraphics().origin_x = x;
  CurrentCanvasGraphics().origin_y = y;
}

void SetHandle(float x, float y) {
  CurrentCanvasGraphics().handle_x = -x;
  CurrentCanvasGraphics().handle_y = -y;
}

void SetVirtualResolution(float width, float height) {
  TCanvasGraphics& g = CurrentCanvasGraphics();
  g.vres_width = width;
  g.vres_height = height;
  if (width > 0.0f && height > 0.0f && g.g_width > 0 && g.g_height > 0) {
    g.vres_mousexscale = width / static_cast<float>(g.g_width);
    g.vres_mouseyscale = height / static_cast<float>(g.g_height);
  }
  if (TCanvasDriver* driver = CurrentDriver()) driver->SetResolution(width, height);
}

void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int frame) {
  Observe(DrawCall::Kind::kImage, image.get(), {}, x, y);
  if (!image) return;
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  const float x0 = -image->handle_x;
  const float y0 = -image->handle_y;
  const float x1 = x0 + image->DrawnWidth();
  const float y1 = y0 + image->DrawnHeight();
  TImageFrame* f = image->Frame(frame);
  if (f == nullptr) return;
  f->Draw(x0, y0, x1, y1, x + g.origin_x, y + g.origin_y, 0.0f, 0.0f,
          static_cast<float>(image->width), static_cast<float>(image->height));
}

void DrawRect(float x, float y, float width, float height) {
  TCanvasDriver* driver = CurrentDriver();
  if (driver == nullptr) return;
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  driver->DrawRect(0.0f, 0.0f, width, height, x + g.origin_x, y + g.origin_y);
}

void DrawText(std::u16string_view text, float x, float y) {
  Observe(DrawCall::Kind::kText, nullptr, text, x, y);
  TImageFont* font = CurrentFont();
  if (font == nullptr) return;
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  const float penX = x + g.origin_x + g.handle_x * g.tform_ix + g.handle_y * g.tform_iy;
  const float penY = y + g.origin_y + g.handle_x * g.tform_jx + g.handle_y * g.tform_jy;
  font->Draw(text, penX, penY, g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
}

void SetDrawObserver(DrawObserver observer) {
  Observer() = std::move(observer);
}

void SetImageFont(const std::shared_ptr<TImageFont>& font) {
  CurrentCanvasGraphics().image_font = font ? font : DefaultImageFont();
}

int TextWidth(std::u16string_view text) {
  TImageFont* font = CurrentFont();
  return font != nullptr ? font->TextWidth(text) : 0;
}

std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height) {
  TCanvasDriver* driver = CurrentDriver();
  return driver != nullptr ? driver->GrabPixmap(x, y, width, height) : nullptr;
}

void AddFlipHook(FlipHookFunction function, void* context, int priority) {
  if (function == nullptr) return;
  CanvasModule& m = Module();
  const FlipHookEntry entry{function, context, priority};
  if (m.runningHooks) {
    m.addedHooks.push_back(entry);
  } else {
    InsertFlipHook(m.flipHooks, entry);
  }
}

void RemoveFlipHook(FlipHookFunction function, void* context) {
  CanvasModule& m = Module();
  auto matches = [&](const FlipHookEntry& e) {
    return e.function == function && e.context == context;
  };
  std::erase_if(m.addedHooks, matches);
  if (m.runningHooks) {
    for (FlipHookEntry& e : m.flipHooks) {
      if (matches(e)) e.function = nullptr;
    }
  } else {
    std::erase_if(m.flipHooks, matches);
  }
}

void ResetCanvasForTesting() {
  CloseGraphics();
  ResetGraphicsDrivers();
  Module().pacer = TFramePacer{};
  CurrentCanvasGraphics() = TCanvasGraphics{};
}

}  // namespace media
