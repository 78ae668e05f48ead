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
    case Kind::kFillShape:
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
  call.color = colors_.drawcolor;
  call.blend = activeBlend_;
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
  display_ = graphics;
  ResetDrawingState(graphics != nullptr ? graphics->width : 0,
                    graphics != nullptr ? graphics->height : 0);
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

void TRecordingCanvasDriver::ApplyBlend(int mode) {
  RecordArgs(TRecordedCall::Kind::kSetBlend, nullptr, mode);
}

void TRecordingCanvasDriver::ApplyViewport() {
  RecordArgs(TRecordedCall::Kind::kSetViewport, nullptr, viewport_[0], viewport_[1], viewport_[2],
             viewport_[3]);
}

void TRecordingCanvasDriver::ApplyResolution() {
  RecordArgs(TRecordedCall::Kind::kSetResolution, nullptr, vresWidth_, vresHeight_);
}

void TRecordingCanvasDriver::Cls() {
  const std::uint32_t c = colors_.clscolor;
  RecordArgs(TRecordedCall::Kind::kCls, nullptr, c >> 24, c >> 16 & 0xFFu, c >> 8 & 0xFFu,
             c & 0xFFu);
}

void TRecordingCanvasDriver::FillShape(std::span<const TShapePoint> points, bool convex) {
  TRecordedCall* call = Record(TRecordedCall::Kind::kFillShape);
  if (call == nullptr) return;
  call->count = static_cast<int>(points.size());
  call->convex = convex;
  const std::size_t kept = std::min<std::size_t>(points.size(), TRecordedCall::kMaxArgs / 2);
  for (std::size_t i = 0; i < kept; ++i) {
    call->args[2 * i] = points[i].x;
    call->args[2 * i + 1] = points[i].y;
  }
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
