// The recording canvas driver: a device driver whose device draws nothing and keeps every
// call that reaches it as data (what was asked, where, with which texture, and the colour and
// blend in force). It shares the drawing state of the GL and software drivers, so it sees
// what they see: colours clamped and packed, blend changes without cached repeats, shapes as
// the polygons the shared shape code makes of them. The calls go into an array sized once,
// so recording a frame allocates nothing; the array starts over with the first call after a
// Flip and therefore always holds the frame being drawn, or the one just presented.
// Benchmarks time the program's frame path on it; tests read back what reached the device.
// Depends on: device_driver (no window, no device).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "media/draw2d/device_driver.h"

namespace media {

struct TRecordedCall {
  enum class Kind : std::uint8_t {
    kSetGraphics,  // object: the display, null when released
    kFlip,         // args: sync
    kFinishFrame,
    kCreateFrame,    // object: the pixmap; args: width, height, flags
    kSetBlend,       // args: mode (a change; repeats stay in the shared cache)
    kSetViewport,    // args: x, y, width, height
    kSetResolution,  // args: width, height
    kCls,            // args: the clear colour as ARGB, split: a, r, g, b
    kFillShape,      // count: points; args: the first five points' x, y; convex: as filled
    kDrawPixmap,     // object: the pixmap; args: x, y
    kDrawFrame,      // object: the TImageFrame; args: x0, y0, x1, y1, tx, ty, sx, sy, sw, sh
    kGrabPixmap,     // args: x, y, width, height
    kMoveMouse,      // args: x, y
  };
  static constexpr int kMaxArgs = 10;

  Kind kind = Kind::kCls;
  const void* object = nullptr;  // the display, pixmap or texture frame the call names
  float args[kMaxArgs] = {};     // the call's numbers in parameter order; unused ones 0
  int count = 0;                 // kFillShape: number of points
  bool convex = false;           // kFillShape: filled as one convex outline, not as a fan
  // The drawing state in force when the call arrived (after it, for the calls that set it).
  std::uint32_t color = 0xFFFFFFFFu;  // ARGB: alpha in bits 24..31, as every device draws
  int blend = kBlendSolid;

  // True for the calls that put pixels on the display.
  bool Draws() const;
};

class TRecordingCanvasDriver final : public TDeviceDriver {
 public:
  // Room for the calls of one frame; the disk's frames need a few hundred.
  static constexpr std::size_t kDefaultCapacity = 4096;

  explicit TRecordingCanvasDriver(std::size_t capacity = kDefaultCapacity);

  // The calls since the last Flip began a new frame, the Flip that ended it included.
  std::span<const TRecordedCall> Calls() const { return {calls_.data(), count_}; }
  // Of those, the ones that draw (TRecordedCall::Draws).
  std::size_t DrawCount() const { return draws_; }
  // Calls of this frame that found the array full: counted, not kept.
  std::size_t Overflowed() const { return overflowed_; }
  // Frames presented since the driver was made.
  std::int64_t Flips() const { return flips_; }
  // Forgets the calls of this frame.
  void Clear();

  std::vector<TGraphicsMode> GraphicsModes() override;
  std::shared_ptr<TGraphics> AttachGraphics(void* window, int flags) override;
  std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth, int hertz,
                                            int flags) override;
  void SetGraphics(TGraphics* graphics) override;
  FlipResult Flip(int sync) override;
  std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmap& pixmap, int flags) override;
  void Cls() override;
  void DrawPixmap(const TPixmap& pixmap, int x, int y) override;
  std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height) override;
  void FinishFrame() override;
  void MoveMouse(int x, int y) override;

  // The quad drawing of a texture frame (TImageFrame::Draw lands here).
  void DrawFrame(const TImageFrame& frame, float x0, float y0, float x1, float y1, float tx,
                 float ty, float sx, float sy, float sw, float sh);

 protected:
  bool AcceptsDeviceState() const override { return display_ != nullptr; }
  void ApplyBlend(int mode) override;
  void ApplyViewport() override;
  void ApplyResolution() override;
  void FillShape(std::span<const TShapePoint> points, bool convex) override;

 private:
  // Appends a call of `kind` with the drawing state in force; null when the array is full.
  TRecordedCall* Record(TRecordedCall::Kind kind, const void* object = nullptr);
  template <typename... Numbers>
  void RecordArgs(TRecordedCall::Kind kind, const void* object, Numbers... numbers);

  std::vector<TRecordedCall> calls_;  // sized at construction, never grown
  std::size_t count_ = 0;             // calls kept this frame
  std::size_t draws_ = 0;             // of those, the drawing ones
  std::size_t overflowed_ = 0;        // calls this frame that did not fit
  bool startOver_ = false;            // the last call was a Flip: the next one begins a frame
  std::int64_t flips_ = 0;
  const TGraphics* display_ = nullptr;  // the current display
};

}  // namespace media
