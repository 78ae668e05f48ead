// The recording canvas driver: every call becomes one entry of a fixed array.
#include "media/draw2d/recording/recording_driver.h"

#include <algorithm>

#include "media/draw2d/pixmap.h"

namespace media {

namespace {

// A texture that remembers nothing but its driver: drawing it is recorded there.
class TRecordingFrame final : public TImageFrame {
 public:
  explicit TRecordingFrame(TRecordingCanvasDriver& driver) : driver_(driver) {}
  void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
            float sw, float sh) override {
    driver_.DrawFrame(*this, x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
  }

 private:
  TRecordingCanvasDriver& driver_;  // must outlive every draw of this frame
};

}  // namespace

bool TRecordedCall::Draws() const {
  switch (kind) {
    case Kind::kCls:
    case Kind::kPlot:
    case Kind::kDrawLine:
    case Kind::kDrawRect:
    case Kind::kDrawOval:
    case Kind::kDrawPoly:
    case Kind::kDrawPixmap:
    case Kind::kDrawFrame:
      return true;
    default:
      return false;
  }
}

TRecordingCanvasDriver::TRecordingCanvasDriver(std::size_t capacity) : calls_(capacity) {}

void TRecordingCanvasDriver::Clear() {
  count_ = 0;
  draws_ = 0;
  overflowed_ = 0;
  startOver_ = false;
}

TRecordedCall* TRecordingCanvasDriver::Record(TRecordedCall::Kind kind, const void* object) {
  if (startOver_) Clear();
  if (count_ == calls_.size()) {
    ++overflowed_;
    return nullptr;
  }
  TRecordedCall& call = calls_[count_++];
  call = TRecordedCall{};
  call.kind = kind;
  call.object = object;
  call.red = red_;
  call.green = green_;
  call.blue = blue_;
  call.alpha = alpha_;
  call.blend = blend_;
  if (call.Draws()) ++draws_;
  return &call;
}

template <typename... Numbers>
void TRecordingCanvasDriver::RecordArgs(TRecordedCall::Kind kind, const void* object,
                                        Numbers... numbers) {
  static_assert(sizeof...(Numbers) <= TRecordedCall::kMaxArgs);
  TRecordedCall* call = Record(kind, object);
  if (call == nullptr) return;
  int i = 0;
  ((call->args[i++] = static_cast<float>(numbers)), ...);
}

std::vector<TGraphicsMode> TRecordingCanvasDriver::GraphicsModes() {
  return {};
}

std::shared_ptr<TGraphics> TRecordingCanvasDriver::AttachGraphics(void* /*window*/, int /*flags*/) {
  return nullptr;
}

std::shared_ptr<TGraphics> TRecordingCanvasDriver::CreateGraphics(int width, int height, int depth,
                                                                  int hertz, int flags) {
  auto graphics = std::make_shared<TGraphics>();
  graphics->width = width;
  graphics->height = height;
  graphics->depth = depth;
  graphics->hertz = hertz;
  graphics->flags = flags;
  return graphics;
}

void TRecordingCanvasDriver::SetGraphics(TGraphics* graphics) {
  // A display starts with the device state of a fresh one; the front end then sends its own.
  red_ = green_ = blue_ = 255;
  alpha_ = 1.0f;
  blend_ = kBlendSolid;
  Record(TRecordedCall::Kind::kSetGraphics, graphics);
}

FlipResult TRecordingCanvasDriver::Flip(int sync) {
  RecordArgs(TRecordedCall::Kind::kFlip, nullptr, sync);
  ++flips_;
  startOver_ = true;
  return FlipResult::kPresented;
}

void TRecordingCanvasDriver::FinishFrame() {
  Record(TRecordedCall::Kind::kFinishFrame);
}

std::shared_ptr<TImageFrame> TRecordingCanvasDriver::CreateFrameFromPixmap(const TPixmap& pixmap,
                                                                           int flags) {
  RecordArgs(TRecordedCall::Kind::kCreateFrame, &pixmap, pixmap.width, pixmap.height, flags);
  return std::make_shared<TRecordingFrame>(*this);
}

void TRecordingCanvasDriver::SetBlend(int mode) {
  blend_ = mode;
  RecordArgs(TRecordedCall::Kind::kSetBlend, nullptr, mode);
}

void TRecordingCanvasDriver::SetAlpha(float alpha) {
  alpha_ = alpha;
  RecordArgs(TRecordedCall::Kind::kSetAlpha, nullptr, alpha);
}

void TRecordingCanvasDriver::SetColor(int r, int g, int b) {
  red_ = r;
  green_ = g;
  blue_ = b;
  RecordArgs(TRecordedCall::Kind::kSetColor, nullptr, r, g, b);
}

void TRecordingCanvasDriver::SetClsColor(int r, int g, int b) {
  RecordArgs(TRecordedCall::Kind::kSetClsColor, nullptr, r, g, b);
}

void TRecordingCanvasDriver::SetViewport(int x, int y, int width, int height) {
  RecordArgs(TRecordedCall::Kind::kSetViewport, nullptr, x, y, width, height);
}

void TRecordingCanvasDriver::SetTransform(float ix, float iy, float jx, float jy) {
  RecordArgs(TRecordedCall::Kind::kSetTransform, nullptr, ix, iy, jx, jy);
}

void TRecordingCanvasDriver::SetLineWidth(float width) {
  RecordArgs(TRecordedCall::Kind::kSetLineWidth, nullptr, width);
}

void TRecordingCanvasDriver::SetResolution(float width, float height) {
  RecordArgs(TRecordedCall::Kind::kSetResolution, nullptr, width, height);
}

void TRecordingCanvasDriver::Cls() {
  Record(TRecordedCall::Kind::kCls);
}

void TRecordingCanvasDriver::Plot(float x, float y) {
  RecordArgs(TRecordedCall::Kind::kPlot, nullptr, x, y);
}

void TRecordingCanvasDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
  RecordArgs(TRecordedCall::Kind::kDrawLine, nullptr, x0, y0, x1, y1, tx, ty);
}

void TRecordingCanvasDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
  RecordArgs(TRecordedCall::Kind::kDrawRect, nullptr, x0, y0, x1, y1, tx, ty);
}

void TRecordingCanvasDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
  RecordArgs(TRecordedCall::Kind::kDrawOval, nullptr, x0, y0, x1, y1, tx, ty);
}

void TRecordingCanvasDriver::DrawPoly(std::span<const float> xy, float handleX, float handleY,
                                      float tx, float ty) {
  TRecordedCall* call = Record(TRecordedCall::Kind::kDrawPoly);
  if (call == nullptr) return;
  call->count = static_cast<int>(xy.size() / 2);
  call->args[0] = handleX;
  call->args[1] = handleY;
  call->args[2] = tx;
  call->args[3] = ty;
  const std::size_t kept = std::min<std::size_t>(xy.size() & ~std::size_t{1}, 6);
  std::copy_n(xy.begin(), kept, call->args + 4);
}

void TRecordingCanvasDriver::DrawPixmap(const TPixmap& pixmap, int x, int y) {
  RecordArgs(TRecordedCall::Kind::kDrawPixmap, &pixmap, x, y);
}

std::shared_ptr<TPixmap> TRecordingCanvasDriver::GrabPixmap(int x, int y, int width, int height) {
  RecordArgs(TRecordedCall::Kind::kGrabPixmap, nullptr, x, y, width, height);
  return nullptr;  // nothing was drawn, so there are no pixels to give
}

void TRecordingCanvasDriver::MoveMouse(int x, int y) {
  RecordArgs(TRecordedCall::Kind::kMoveMouse, nullptr, x, y);
}

void TRecordingCanvasDriver::DrawFrame(const TImageFrame& frame, float x0, float y0, float x1,
                                       float y1, float tx, float ty, float sx, float sy, float sw,
                                       float sh) {
  RecordArgs(TRecordedCall::Kind::kDrawFrame, &frame, x0, y0, x1, y1, tx, ty, sx, sy, sw, sh);
}

}  // namespace media
