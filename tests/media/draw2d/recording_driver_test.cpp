// The recording driver behind the real front end: what a frame's calls arrive with, where a
// frame starts over, what happens when the array is full, and that recording allocates
// nothing once the textures exist.
#include <gtest/gtest.h>

#include <memory>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/recording/recording_driver.h"
#include "media/platform/clock.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "tests/support/allocation_counter.h"

namespace media {
namespace {

using Kind = TRecordedCall::Kind;

std::shared_ptr<TImage> SolidImage(int width, int height) {
  return TImage::Load(testing::MakePixmap(width, height,
                                          [](int, int) {
                                            return testing::Rgba{9, 8, 7, 255};
                                          }),
                      kDefaultImageFlags, 0, 0, 0);
}

class RecordingCanvasDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasForTesting();
    ResetPolledInputForTesting();
    SetCurrentClock(&clock_);
  }
  void TearDown() override {
    ResetCanvasForTesting();
    SetCurrentClock(nullptr);
    SetEndHook(nullptr);
    ResetPolledInputForTesting();
  }

  // Opens an unpaced 800x600 display on a recording driver with room for `capacity` calls.
  // The fixture keeps the driver: the display is closed on it after the test body.
  TRecordingCanvasDriver& Open(std::size_t capacity = TRecordingCanvasDriver::kDefaultCapacity) {
    driver_ = std::make_unique<TRecordingCanvasDriver>(capacity);
    SetGraphicsDriver(driver_.get(), kGraphicsBackBuffer);
    EXPECT_NE(Graphics(800, 600, 0, 0, 0), nullptr);
    EXPECT_EQ(CurrentDriver(), driver_.get());
    return *driver_;
  }

  ManualClock clock_{1000};
  std::unique_ptr<TRecordingCanvasDriver> driver_;
};

TEST_F(RecordingCanvasDriver, AFrameArrivesWithItsPositionsTexturesAndDrawingState) {
  TRecordingCanvasDriver& driver = Open();
  // Opening ends with the second of the two clearing presents: its own frame.
  ASSERT_EQ(driver.Calls().size(), 2u);
  EXPECT_EQ(driver.Calls()[0].kind, Kind::kCls);
  EXPECT_EQ(driver.Calls()[1].kind, Kind::kFlip);
  EXPECT_EQ(driver.Flips(), 2);

  auto image = SolidImage(145, 125);
  image->handle_x = 3.0f;
  image->handle_y = 4.0f;
  Cls();  // the first call after a Flip begins the next frame
  ASSERT_EQ(driver.Calls().size(), 1u);
  SetColor(10, 20, 30);
  SetAlpha(0.25f);  // colour and alpha reach the device with the next draw, not as calls
  SetBlend(kBlendAlpha);
  SetOrigin(5.0f, 6.0f);
  DrawImage(image, 100.0f, 50.0f, 0);
  SetBlend(kBlendLight);
  DrawImage(image, 0.0f, 0.0f, 0);
  SetBlend(kBlendLight);  // a repeat stays in the shared cache
  DrawRect(1.0f, 2.0f, 30.0f, 40.0f);
  Flip(0);

  const auto calls = driver.Calls();
  ASSERT_EQ(calls.size(), 8u);
  EXPECT_EQ(calls[0].kind, Kind::kCls);
  EXPECT_EQ(calls[0].args[0], 255.0f);  // opaque black, the clear colour nobody changed
  EXPECT_EQ(calls[1].kind, Kind::kSetBlend);
  EXPECT_EQ(calls[1].args[0], kBlendAlpha);
  // The texture is made on the first draw, once.
  EXPECT_EQ(calls[2].kind, Kind::kCreateFrame);
  EXPECT_EQ(calls[2].args[0], 145.0f);
  EXPECT_EQ(calls[2].args[1], 125.0f);
  EXPECT_EQ(calls[2].args[2], kDefaultImageFlags);

  const TRecordedCall& first = calls[3];
  EXPECT_EQ(first.kind, Kind::kDrawFrame);
  EXPECT_EQ(first.object, image->Frame(0));
  const float expected[] = {-3.0f, -4.0f, 142.0f, 121.0f, 105.0f,
                            56.0f, 0.0f,  0.0f,   145.0f, 125.0f};
  for (int i = 0; i < TRecordedCall::kMaxArgs; ++i) EXPECT_EQ(first.args[i], expected[i]) << i;
  // Alpha 0.25 as every device holds it: the byte 63, truncated.
  EXPECT_EQ(first.color, 0x3F0A141Eu);
  EXPECT_EQ(first.blend, kBlendAlpha);

  // The second draw carries the blend changed in between, and only the origin as offset.
  EXPECT_EQ(calls[4].kind, Kind::kSetBlend);
  EXPECT_EQ(calls[5].kind, Kind::kDrawFrame);
  EXPECT_EQ(calls[5].blend, kBlendLight);
  EXPECT_EQ(calls[5].args[4], 5.0f);
  EXPECT_EQ(calls[5].args[5], 6.0f);
  // The rectangle arrives as the outline the shared shape code made of it.
  EXPECT_EQ(calls[6].kind, Kind::kFillShape);
  EXPECT_EQ(calls[6].count, 4);
  EXPECT_TRUE(calls[6].convex);
  const float corners[] = {6.0f, 8.0f, 36.0f, 8.0f, 36.0f, 48.0f, 6.0f, 48.0f};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(calls[6].args[i], corners[i]) << i;
  EXPECT_EQ(calls[7].kind, Kind::kFlip);
  // Cls, two textured quads and the rectangle put pixels on the display; the blend changes,
  // the texture and the Flip do not.
  EXPECT_EQ(driver.DrawCount(), 4u);

  // Until the next call the presented frame stays readable, Flip last.
  Flip(1);
  EXPECT_EQ(driver.Calls().size(), 1u);
  EXPECT_EQ(driver.Calls()[0].kind, Kind::kFlip);
  EXPECT_EQ(driver.Calls()[0].args[0], 1.0f);
  EXPECT_EQ(driver.DrawCount(), 0u);
}

TEST_F(RecordingCanvasDriver, AFullArrayCountsWhatDoesNotFitAndTheNextFrameStartsEmpty) {
  // The opening's first frame alone sends more calls than fit: they are dropped.
  TRecordingCanvasDriver& driver = Open(4);
  for (int i = 0; i < 6; ++i) Cls();
  EXPECT_EQ(driver.Calls().size(), 4u);
  EXPECT_EQ(driver.Overflowed(), 2u);
  EXPECT_EQ(driver.DrawCount(), 4u);  // only the kept calls count
  // A Flip that does not fit still ends the frame.
  Flip(0);
  EXPECT_EQ(driver.Overflowed(), 3u);
  EXPECT_EQ(driver.Flips(), 3);
  Cls();
  EXPECT_EQ(driver.Calls().size(), 1u);
  EXPECT_EQ(driver.Overflowed(), 0u);

  // Shapes with more points than a call keeps are cut, not overrun.
  driver.Clear();
  const float fan[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  driver.DrawPoly(fan, 0.5f, 0.25f, 20.0f, 30.0f);
  ASSERT_EQ(driver.Calls().size(), 1u);
  const TRecordedCall& poly = driver.Calls()[0];
  EXPECT_EQ(poly.count, 6);
  EXPECT_FALSE(poly.convex);  // filled as a fan, as display devices fill it
  EXPECT_EQ(poly.args[0], 21.5f);
  EXPECT_EQ(poly.args[1], 32.25f);
  EXPECT_EQ(poly.args[9], 40.25f);
}

TEST_F(RecordingCanvasDriver, RecordingAFrameAllocatesNothing) {
  TRecordingCanvasDriver& driver = Open();
  auto image = SolidImage(16, 16);
  DrawImage(image, 0.0f, 0.0f, 0);  // makes the texture
  Flip(0);

  test_support::StartCountingAllocations();
  for (int frame = 0; frame < 10; ++frame) {
    Cls();
    SetAlpha(0.5f);
    for (int i = 0; i < 300; ++i) DrawImage(image, static_cast<float>(i), 10.0f, 0);
    Flip(0);
  }
  test_support::StopCountingAllocations();
  EXPECT_EQ(test_support::CountedAllocations(), 0);
  EXPECT_EQ(driver.Calls().size(), 302u);  // Cls, 300 quads, Flip: alpha rides on the quads
}

}  // namespace
}  // namespace media
