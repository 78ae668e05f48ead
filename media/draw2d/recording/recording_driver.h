// The recording canvas driver: draws nothing and keeps every call the front end makes as
// data (what was asked, where, with which texture, and the colour, alpha and blend in force).
// The calls go into an array sized once, so recording a frame allocates nothing; the array
// starts over with the first call after a Flip and therefore always holds the frame being
// drawn, or the one just presented. Benchmarks time the program's frame path on it; tests
// read back exactly what reached the driver.
// Depends on: canvas_driver.h only (no window, no device).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "media/draw2d/canvas_driver.h"

namespace media {

struct TRecordedCall {
  enum class Kind : std::uint8_t {
    kSetGraphics,  // object: the display, null when released
    kFlip,         // args: sync
    kFinishFrame,
    kCreateFrame,    // object: the pixmap; args: width, height, flags
    kSetBlend,       // args: mode
    kSetAlpha,       // args: alpha
    kSetColor,       // args: r, g, b
    kSetClsColor,    // args: r, g, b
    kSetViewport,    // args: x, y, width, height
    kSetTransform,   // args: ix, iy, jx, jy
    kSetLineWidth,   // args: width
    kSetResolution,  // args: width, height
    kCls,
    kPlot,        // args: x, y
    kDrawLine,    // args: x0, y0, x1, y1, tx, ty
    kDrawRect,    // args: x0, y0, x1, y1, tx, ty
    kDrawOval,    // args: x0, y0, x1, y1, tx, ty
    kDrawPoly,    // count: points; args: handleX, handleY, tx, ty, then the first three points
    kDrawPixmap,  // object: the pixmap; args: x, y
    kDrawFrame,   // object: the TImageFrame; args: x0, y0, x1, y1, tx, ty, sx, sy, sw, sh
    kGrabPixmap,  // args: x, y, width, height
    kMoveMouse,   // args: x, y
  };
  static constexpr int kMaxArgs = 10;

  Kind kind = Kind::kCls;
  const void* object = nullptr;  // the display, pixmap or texture frame the call names
  float args[kMaxArgs] = {};     // the call's numbers in parameter order; unused ones 0
  int count = 0;                 // kDrawPoly: number of points
  // The drawing state in force when the call arrived (after it, for the calls that set it).
  int red = 255, green = 255, blue = 255;
  float alpha = 1.0f;
  int blend = kBlendSolid;

  // True for the calls that put pixels on the display.
  bool Draws() const;
};

class TRecordingCanvasDriver final : public TCanvasDriver {
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
  void SetBlend(int mode) override;
  void SetAlpha(float alpha) override;
  void SetColor(int r, int g, int b) override;
  void SetClsColor(int r, int g, int b) override;
  void SetViewport(int x, int y, int width, int height) override;
  void SetTransform(float ix, float iy, float jx, float jy) override;
  void SetLineWidth(float width) override;
  void Cls() override;
  void Plot(float x, float y) override;
  void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
  void DrawPoly(std::span<const float> xy, float handleX, float handleY, float tx,
                float ty) override;
  void DrawPixmap(const TPixmap& pixmap, int x, int y) override;
  std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height) override;
  void SetResolution(float width, float height) override;
  void FinishFrame() override;
  void MoveMouse(int x, int y) override;

  // The quad drawing of a texture frame (TImageFrame::Draw lands here).
  void DrawFrame(const TImageFrame& frame, float x0, float y0, float x1, float y1, float tx,
                 float ty, float sx, float sy, float sw, float sh);

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
  int red_ = 255, green_ = 255, blue_ = 255;  // the drawing state as the front end last sent it
  float alpha_ = 1.0f;
  int blend_ = kBlendSolid;
};

}  // namespace media
