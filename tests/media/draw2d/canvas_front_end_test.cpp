// The front end against a recording driver: what opening, closing, the setters, presenting,
// pictures and text ask of the driver, and in which order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas_test_support.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/canvas_graphics.h"
#include "media/draw2d/default_font.h"
#include "media/platform/clock.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"

namespace media {
namespace {

using ::testing::ElementsAre;
using testing::RecordingDriver;

class CanvasFrontEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCanvasForTesting();
    ResetPolledInputForTesting();
    SetCurrentClock(&clock_);
    SetGraphicsDriver(&driver_, kGraphicsBackBuffer);
  }

  void TearDown() override {
    ResetCanvasForTesting();
    SetCurrentClock(nullptr);
    SetEndHook(nullptr);  // also forgets the display-closing handlers
    ResetPolledInputForTesting();
  }

  // The calls logged since the last Mark.
  std::vector<std::string> CallsSinceMark() const {
    return {driver_.log.begin() + static_cast<std::ptrdiff_t>(mark_), driver_.log.end()};
  }
  void Mark() { mark_ = driver_.log.size(); }

  ManualClock clock_{1000};
  RecordingDriver driver_;
  size_t mark_ = 0;
};

TEST_F(CanvasFrontEnd, OpeningSendsTheWholeStateThenClearsBothBuffers) {
  const int seqBefore = GraphicsSeq();
  ASSERT_NE(Graphics(800, 600, 0, 60, 1), nullptr);

  // Flags get the default flags ORed in; the fresh device gets every field in order; the
  // first display clears and presents twice so both buffers hold the clear colour.
  EXPECT_THAT(
      driver_.log,
      ElementsAre("CreateGraphics 800 600 0 60 3", "SetGraphics display", "SetResolution 800 600",
                  "SetBlend 1", "SetColor 255 255 255", "SetAlpha 1", "SetClsColor 0 0 0",
                  "SetLineWidth 1", "SetTransform 1 -0 0 1", "SetViewport 0 0 800 600", "Cls",
                  "Flip 0", "Cls", "Flip 0"));
  EXPECT_EQ(CurrentDriver(), &driver_);
  EXPECT_NE(GraphicsSeq(), seqBefore);
  EXPECT_NE(GraphicsSeq(), 0);

  const TCanvasGraphics& g = CurrentCanvasGraphics();
  EXPECT_EQ(g.g_width, 800);
  EXPECT_EQ(g.g_height, 600);
  EXPECT_EQ(g.vres_width, 800.0f);
  EXPECT_EQ(g.viewport_h, 600);
  EXPECT_EQ(g.blend_mode, 1);
  EXPECT_EQ(g._setup, 1);
  EXPECT_EQ(g.image_font, DefaultImageFont());
}

TEST_F(CanvasFrontEnd, ASecondDisplayClosesTheFirstAndStartsFromInitialState) {
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  SetColor(1, 2, 3);
  SetBlend(3);
  const int seqFirst = GraphicsSeq();
  Mark();

  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  const std::vector<std::string> calls = CallsSinceMark();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0], "SetGraphics null");
  EXPECT_EQ(calls[1], "CreateGraphics 800 600 0 60 2");
  // Closing and opening each change the number.
  EXPECT_EQ(GraphicsSeq(), seqFirst + 2);
  EXPECT_EQ(CurrentCanvasGraphics().color_red, 255);
  EXPECT_EQ(CurrentCanvasGraphics().blend_mode, 1);
  // A new display clears its buffers too.
  EXPECT_EQ(driver_.Calls("Cls", mark_).size(), 2u);
}

TEST_F(CanvasFrontEnd, SettersStoreTheirValuesThenTellTheDriver) {
  // Without a display the values are only stored.
  SetColor(9, 9, 9);
  EXPECT_EQ(CurrentCanvasGraphics().color_red, 9);
  EXPECT_TRUE(driver_.log.empty());

  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  Mark();
  SetColor(300, -5, 128);
  SetAlpha(0.1f);
  SetBlend(7);
  SetClsColor(177, 142, 130);
  SetViewport(10, 20, 30, 40);
  SetLineWidth(2.5f);
  SetScale(2.0f, 3.0f);
  EXPECT_THAT(CallsSinceMark(), ElementsAre("SetColor 300 -5 128", "SetAlpha 0.1", "SetBlend 7",
                                            "SetClsColor 177 142 130", "SetViewport 10 20 30 40",
                                            "SetLineWidth 2.5", "SetTransform 2 -0 0 3"));
  // The record keeps what was asked for; clamping is the driver's business.
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  EXPECT_EQ(g.color_red, 300);
  EXPECT_EQ(g.color_green, -5);
  EXPECT_FLOAT_EQ(g.color_alpha, 0.1f);
  EXPECT_EQ(g.blend_mode, 7);
  EXPECT_EQ(g.clscolor_blue, 130);
  EXPECT_EQ(g.tform_jy, 3.0f);
}

TEST_F(CanvasFrontEnd, RotationTurnsTheMatrix) {
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  SetScale(2.0f, 3.0f);
  SetRotation(90.0f);
  const TCanvasGraphics& g = CurrentCanvasGraphics();
  EXPECT_NEAR(g.tform_ix, 0.0f, 1e-6f);
  EXPECT_NEAR(g.tform_iy, -3.0f, 1e-6f);
  EXPECT_NEAR(g.tform_jx, 2.0f, 1e-6f);
  EXPECT_NEAR(g.tform_jy, 0.0f, 1e-6f);
}

TEST_F(CanvasFrontEnd, TriesTheNextDriverWhenOneGivesNoDisplayOrOneItRefuses) {
  RecordingDriver fallback;
  SetGraphicsDrivers({{&driver_, true}, {&fallback, false}}, kGraphicsBackBuffer);
  driver_.failCreate = true;
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), &fallback);
  EXPECT_EQ(fallback.log.front(), "CreateGraphics 800 600 0 60 2");
  SetBlend(3);
  EXPECT_EQ(fallback.log.back(), "SetBlend 3");
  // A display on the CPU is refused where the list says so, and kept where it does not.
  driver_.failCreate = false;
  driver_.drawsOnCpu = true;
  fallback.drawsOnCpu = true;
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), &fallback);
  EXPECT_EQ(driver_.Calls("SetGraphics").size(), 0u) << "the refused display was never used";
  driver_.drawsOnCpu = false;
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), &driver_);
  // A driver that knows beforehand it could only draw on the CPU is not even asked.
  driver_.mayDrawOnGpu = false;
  const size_t asked = driver_.Calls("CreateGraphics").size();
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), &fallback);
  EXPECT_EQ(driver_.Calls("CreateGraphics").size(), asked);
  CloseGraphics();
}

TEST_F(CanvasFrontEnd, NoDisplayAtAllGivesNull) {
  driver_.failCreate = true;
  const int seq = GraphicsSeq();
  EXPECT_EQ(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(CurrentDriver(), nullptr);
  EXPECT_EQ(GraphicsSeq(), seq);

  SetGraphicsDriver(nullptr, 2);
  EXPECT_EQ(Graphics(800, 600, 0, 60, 0), nullptr);
}

TEST_F(CanvasFrontEnd, ARecreatedDeviceGetsTheStateAgainAndANewNumber) {
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  SetBlend(3);
  SetColor(10, 20, 30);
  const int seq = GraphicsSeq();
  driver_.nextFlipResult = FlipResult::kDeviceRecreated;
  Mark();
  Flip(0);
  EXPECT_THAT(CallsSinceMark(),
              ElementsAre("Flip 0", "SetGraphics display", "SetResolution 800 600", "SetBlend 3",
                          "SetColor 10 20 30", "SetAlpha 1", "SetClsColor 0 0 0", "SetLineWidth 1",
                          "SetTransform 1 -0 0 1", "SetViewport 0 0 800 600"));
  EXPECT_NE(GraphicsSeq(), seq);
}

TEST_F(CanvasFrontEnd, OpeningTurnsOnPolledInput) {
  EmitEvent(Event{kEventKeyDown, kKeyEscape});
  EXPECT_EQ(KeyDown(kKeyEscape), 0);
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  EmitEvent(Event{kEventKeyDown, kKeyEscape});
  EXPECT_EQ(KeyDown(kKeyEscape), 1);
}

TEST_F(CanvasFrontEnd, EndClosesTheDisplay) {
  struct Ended {};
  SetEndHook([] { throw Ended{}; });
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  const int seq = GraphicsSeq();
  EXPECT_THROW(End(), Ended);
  EXPECT_EQ(CurrentDriver(), nullptr);
  EXPECT_EQ(driver_.log.back(), "SetGraphics null");
  EXPECT_NE(GraphicsSeq(), seq);
}

TEST_F(CanvasFrontEnd, FullScreenSyncsToTheDisplayOnlyWhenItRunsAtOurRate) {
  driver_.canSync = true;
  ASSERT_NE(Graphics(800, 600, 32, 60, 0), nullptr);
  EXPECT_EQ(driver_.Calls("CanSyncToDisplay").size(), 1u);
  EXPECT_EQ(driver_.Calls("MoveMouse"), std::vector<std::string>{"MoveMouse 400 300"});
  Mark();
  Flip(-1);
  EXPECT_THAT(CallsSinceMark(), ElementsAre("Flip 1"));
  EXPECT_EQ(clock_.totalDelayed(), 0);

  // Any other rate: the clock paces full screen as it paces a window.
  driver_.canSync = false;
  ASSERT_NE(Graphics(800, 600, 32, 60, 0), nullptr);
  Mark();
  Flip(-1);
  EXPECT_THAT(CallsSinceMark(), ElementsAre("Flip 0"));
  EXPECT_EQ(clock_.totalDelayed(), 16);
}

TEST_F(CanvasFrontEnd, FlipHooksRunInPriorityOrderBeforeThePresent) {
  struct Hook {
    RecordingDriver* driver;
    std::string name;
  };
  Hook late{&driver_, "late"};
  Hook early{&driver_, "early"};
  Hook middle1{&driver_, "middle1"};
  Hook middle2{&driver_, "middle2"};
  auto log = [](void* context) {
    auto* hook = static_cast<Hook*>(context);
    hook->driver->log.push_back("hook " + hook->name);
  };
  AddFlipHook(log, &late, 10);
  AddFlipHook(log, &middle1, 5);
  AddFlipHook(log, &early, -3);
  AddFlipHook(log, &middle2, 5);  // equal priorities run in the order they were added
  ASSERT_NE(Graphics(800, 600, 0, 0, 0), nullptr);
  Mark();
  Flip(-1);
  EXPECT_THAT(CallsSinceMark(),
              ElementsAre("hook early", "hook middle1", "hook middle2", "hook late", "Flip 0"));

  RemoveFlipHook(log, &middle1);
  Mark();
  Flip(-1);
  EXPECT_THAT(CallsSinceMark(), ElementsAre("hook early", "hook middle2", "hook late", "Flip 0"));
  RemoveFlipHook(log, &early);
  RemoveFlipHook(log, &middle2);
  RemoveFlipHook(log, &late);
  Mark();
  Flip(-1);
  EXPECT_THAT(CallsSinceMark(), ElementsAre("Flip 0"));
}

std::vector<std::string> hooksRun;
void SecondHook(void*) {
  hooksRun.push_back("second");
}
void AddedHook(void*) {
  hooksRun.push_back("added");
}
void FirstHook(void*) {
  hooksRun.push_back("first");
  RemoveFlipHook(FirstHook, nullptr);
  RemoveFlipHook(SecondHook, nullptr);
  AddFlipHook(AddedHook, nullptr, -100);
}

TEST_F(CanvasFrontEnd, AFlipHookMayRemoveAndAddHooksWhileRunning) {
  hooksRun.clear();
  AddFlipHook(FirstHook, nullptr, 0);
  AddFlipHook(SecondHook, nullptr, 1);
  Flip(0);
  // The removed hook that had not run yet does not run; the added one waits for the next Flip.
  EXPECT_THAT(hooksRun, ElementsAre("first"));
  Flip(0);
  EXPECT_THAT(hooksRun, ElementsAre("first", "added"));
  RemoveFlipHook(AddedHook, nullptr);
  Flip(0);
  EXPECT_THAT(hooksRun, ElementsAre("first", "added"));
}

TEST_F(CanvasFrontEnd, DrawImagePlacesTheFrameByHandleAndOrigin) {
  driver_.makeFrames = true;
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  auto image = TImage::Load(testing::MakePixmap(145, 125,
                                                [](int, int) {
                                                  return testing::Rgba{1, 2, 3, 255};
                                                }),
                            kDefaultImageFlags, 0, 0, 0);
  ASSERT_NE(image, nullptr);
  image->handle_x = 3.0f;
  image->handle_y = 4.0f;
  SetOrigin(5.0f, 6.0f);
  Mark();
  DrawImage(image, 10.0f, 20.0f, 0);
  EXPECT_THAT(CallsSinceMark(), ElementsAre("CreateFrameFromPixmap 145x125 3",
                                            "Draw -3 -4 142 121 15 26 0 0 145 125"));
  // The texture is made once per display.
  Mark();
  DrawImage(image, 0.0f, 0.0f, 0);
  EXPECT_THAT(CallsSinceMark(), ElementsAre("Draw -3 -4 142 121 5 6 0 0 145 125"));
  // A frame the image does not have draws nothing.
  Mark();
  DrawImage(image, 0.0f, 0.0f, 1);
  DrawImage(nullptr, 0.0f, 0.0f, 0);
  EXPECT_TRUE(CallsSinceMark().empty());
}

// A font that records how it is asked to draw.
class RecordingFont final : public TImageFont {
 public:
  void Draw(std::u16string_view text, float x, float y, float ix, float iy, float jx,
            float jy) override {
    calls.push_back({std::u16string(text), x, y, ix, iy, jx, jy});
  }
  int TextWidth(std::u16string_view text) override { return static_cast<int>(text.size()) * 7; }
  int Height() override { return 12; }

  struct Call {
    std::u16string text;
    float x, y, ix, iy, jx, jy;
  };
  std::vector<Call> calls;
};

TEST_F(CanvasFrontEnd, DrawTextMovesThePenByOriginAndHandleThroughTheMatrix) {
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
  auto font = std::make_shared<RecordingFont>();
  SetImageFont(font);
  SetOrigin(5.0f, 7.0f);
  SetHandle(2.0f, 3.0f);
  SetScale(2.0f, 3.0f);
  DrawText(u"Hi", 10.0f, 20.0f);
  ASSERT_EQ(font->calls.size(), 1u);
  const RecordingFont::Call& call = font->calls[0];
  EXPECT_EQ(call.text, u"Hi");
  // x' = 10 + 5 + (-2) * 2 + (-3) * 0, y' = 20 + 7 + (-2) * 0 + (-3) * 3
  EXPECT_FLOAT_EQ(call.x, 11.0f);
  EXPECT_FLOAT_EQ(call.y, 18.0f);
  EXPECT_FLOAT_EQ(call.ix, 2.0f);
  EXPECT_FLOAT_EQ(call.jy, 3.0f);
  EXPECT_EQ(TextWidth(u"abc"), 21);

  SetImageFont(nullptr);
  EXPECT_EQ(CurrentCanvasGraphics().image_font, DefaultImageFont());
  EXPECT_NE(CurrentCanvasGraphics().image_font, nullptr);
}

}  // namespace
}  // namespace media
