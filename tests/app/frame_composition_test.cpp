// Whole frames of the running disk: what each part draws, where, and with which drawing
// state, frame by frame; and a few frames compared pixel for pixel with references.
#include <gtest/gtest.h>

#include <cmath>

#include "app/logo_letters.h"
#include "media/audio/bass.h"
#include "media/platform/key_codes.h"
#include "media/resources/embedded_files.h"
#include "tests/app/program_harness.h"
#include "tests/media/draw2d/canvas_test_support.h"

namespace app::testing {
namespace {

using Kind = media::DrawCall::Kind;

class FrameCompositionTest : public ProgramHarness {};

TEST_F(FrameCompositionTest, LoadingScreenComesFirstAndStaysForASecond) {
  std::int32_t loadingShown = 0;
  std::int32_t firstFrame = 0;
  OnFrame(1, [&] { firstFrame = clock_.Millisecs(); });
  grabLoadingScreen_ = true;
  ASSERT_TRUE(RunMain(2));
  ASSERT_EQ(loadingScreens_.size(), 1u);
  const auto& calls = loadingScreens_[0];
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].image, state_.scrollBordersImage.get());
  EXPECT_EQ(calls[0].x, 0.0f);
  EXPECT_EQ(calls[0].y, 200.0f);
  EXPECT_EQ(calls[1].text, u"LOADING...");
  EXPECT_EQ(calls[1].font, state_.loadingFont.get());
  const int width = state_.loadingFont->TextWidth(u"LOADING...");
  EXPECT_EQ(calls[1].x, static_cast<float>(424 - width / 2));
  EXPECT_EQ(calls[1].y, 210.0f);
  (void)loadingShown;
  EXPECT_GE(firstFrame, 1000);  // the one-second delay passed on the clock
  ASSERT_NE(loadingPixels_, nullptr);
  EXPECT_TRUE(MatchesGolden("loading_screen", *loadingPixels_));
  EXPECT_EQ(state_.currentName, u"Vortek 3");
  EXPECT_NE(state_.musicStream, nullptr);
}

TEST_F(FrameCompositionTest, FrameDrawsItsPartsInOrderWithTheStateEachLeaves) {
  ASSERT_TRUE(RunMain(121));
  // Frame 1: the letters come before anything set a blend mode: mask blending.
  const auto& first = CallsOf(1);
  ASSERT_GE(first.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(first[i].blend, 1) << i;
    EXPECT_FLOAT_EQ(first[i].alpha, 0.1f);
    EXPECT_EQ(first[i].red + first[i].green + first[i].blue, 3 * 255);
  }
  EXPECT_EQ(CallsOf(2)[0].blend, 3);

  // A steady frame: letters, track list, band, pad, logo, legend, scroll letters.
  const auto& calls = CallsOf(120);
  ASSERT_GE(calls.size(), 3u + 11u + 3u + 15u);  // letters, list, pictures, legend
  EXPECT_EQ(calls[0].image, state_.letterImage1.get());
  EXPECT_EQ(calls[1].image, state_.letterImage2.get());
  EXPECT_EQ(calls[2].image, state_.letterImage3.get());
  EXPECT_EQ(calls[3].text, u"*");
  EXPECT_EQ(calls[3].x, 324.0f);
  EXPECT_EQ(calls[3].y, 162.0f);
  EXPECT_EQ(calls[4].text, u"F1. Vortek 3");
  EXPECT_EQ(calls[4].x, 360.0f);
  EXPECT_EQ(calls[4].y, 154.0f);
  EXPECT_EQ(calls[5].text, u"03:11");
  EXPECT_EQ(calls[5].x, 720.0f);
  EXPECT_EQ(TextCalls(120, u"F5. Gl\u00f8w")[0].y, 250.0f);
  EXPECT_EQ(TextCalls(120, u"*").size(), 1u);
  for (int i = 3; i < 14; ++i) {
    EXPECT_EQ(calls[i].alpha, 1.0f) << i;
    EXPECT_EQ(calls[i].blend, 3) << i;
    EXPECT_EQ(calls[i].font, state_.panelFont.get()) << i;
  }
  EXPECT_EQ(calls[14].image, state_.scrollBordersImage.get());
  EXPECT_EQ(calls[14].y, 20.0f);
  EXPECT_EQ(calls[15].image, state_.infoPadImage.get());
  EXPECT_FLOAT_EQ(calls[15].alpha, 0.6f);
  EXPECT_EQ(calls[15].x, 309.0f);
  EXPECT_EQ(calls[16].image, state_.logoImage.get());
  EXPECT_FLOAT_EQ(calls[16].alpha, 0.9f);
  EXPECT_EQ(calls[16].y, 380.0f);
  // The legend: keys, then "=" signs, then meanings, black.
  EXPECT_EQ(calls[17].text, u"I");
  EXPECT_EQ(calls[17].y, 176.0f);
  EXPECT_EQ(calls[21].text, u"SPACE");
  EXPECT_EQ(calls[21].y, 272.0f);
  EXPECT_EQ(calls[22].text, u"=");
  EXPECT_EQ(calls[22].x, 120.0f);
  EXPECT_EQ(calls[31].text, u"Pause/Start");
  EXPECT_EQ(calls[31].x, 150.0f);
  EXPECT_EQ(calls[31].red + calls[31].green + calls[31].blue, 0);
  // Scroll letters last: black capitals at y 5 in the scroll font.
  const RecordedCall& letter = calls.back();
  EXPECT_EQ(letter.y, 5.0f);
  EXPECT_EQ(letter.font, state_.scrollFont.get());
  EXPECT_EQ(letter.red + letter.green + letter.blue, 0);
  EXPECT_EQ(letter.alpha, 1.0f);
}

TEST_F(FrameCompositionTest, CreditsAppearInThe51stFrameOfTheFade) {
  PressAt(130, media::kKeyC);  // acts in frame 131, the first of the fade
  ASSERT_TRUE(RunMain(182));
  EXPECT_FLOAT_EQ(TextCalls(131, u"F1. Vortek 3")[0].alpha, 0.98f);
  EXPECT_TRUE(TextCalls(180, u"Credits").empty());
  EXPECT_EQ(TextCalls(181, u"F1. Vortek 3")[0].alpha, 0.0f);  // drawn invisibly
  ASSERT_EQ(TextCalls(181, u"Credits").size(), 1u);
  EXPECT_EQ(TextCalls(181, u"Credits")[0].alpha, 1.0f);
  EXPECT_EQ(TextCalls(181, u"Quillon").size(), 2u);
  EXPECT_TRUE(TextCalls(182, u"F1. Vortek 3").empty());
}

TEST_F(FrameCompositionTest, FunctionKeyChangesTrackAndTheListMarksIt) {
  PressAt(120, media::kKeyF1 + 2);
  auto* firstStream = static_cast<media::TBassStream*>(nullptr);
  OnFrame(120, [&] { firstStream = state_.musicStream.get(); });
  int streamsAfter = -1;
  std::int32_t before = 0, after = 0;
  OnFrame(120, [&] { before = clock_.Millisecs(); });
  bool streamLoops = false, streamFreesItself = false;
  OnFrame(121, [&] {
    streamsAfter = media::audio::CurrentEngine()->StreamCount();
    after = clock_.Millisecs();
    media::audio::AudioEngine::ChannelProbe probe;
    ASSERT_TRUE(media::audio::CurrentEngine()->Probe(state_.musicStream->handle, probe));
    streamLoops = probe.looping;
    streamFreesItself = probe.autoFree;
  });
  ASSERT_TRUE(RunMain(122));
  EXPECT_EQ(loadingScreens_.size(), 2u);
  ASSERT_EQ(TextCalls(121, u"*").size(), 1u);
  EXPECT_EQ(TextCalls(121, u"*")[0].y, 210.0f);
  EXPECT_EQ(state_.currentTrack, 3);
  EXPECT_EQ(state_.currentName, u"Nova");
  EXPECT_EQ(state_.currentComposer, u"Morlane");
  EXPECT_NE(state_.musicStream.get(), firstStream);
  // The old stream was stopped and freed: only the new one is left in the engine.
  EXPECT_EQ(streamsAfter, 1);
  // Every track loops until it is replaced, and is freed when stopped.
  EXPECT_TRUE(streamLoops);
  EXPECT_TRUE(streamFreesItself);
  // The harness's audio time stands still between video frames, so the engine never reports
  // the wind-down done: the wait gave up after its 2 s bound, then the loading second.
  EXPECT_GE(after - before, 2000 + 1000);
  EXPECT_LT(after - before, 2000 + 1000 + 100);
}

TEST_F(FrameCompositionTest, ATrackChangeLeavesAPausedOutputPaused) {
  PressAt(10, media::kKeySpace);
  PressAt(20, media::kKeyF1 + 1);
  bool enginePaused = false;
  std::vector<float> heard;
  OnFrame(25, [&] {
    enginePaused = media::audio::CurrentEngine()->paused();
    heard = output_->Pull(735);
  });
  ASSERT_TRUE(RunMain(30));
  EXPECT_EQ(state_.musicPlaying, 0);
  EXPECT_EQ(state_.currentTrack, 2);
  EXPECT_TRUE(enginePaused);
  EXPECT_EQ(heard, std::vector<float>(2 * 735, 0.0f)) << "the new track is not heard";
  EXPECT_TRUE(media::audio::CurrentEngine() == nullptr);  // freed at shutdown
}

// The clock of a machine whose sound plays on while the program sleeps: every Delay moves
// the audio time too, so slides run out as they do in real time.
class SoundingClock final : public media::Clock {
 public:
  SoundingClock(media::ManualClock& clock, media::audio::ManualTimeSource& audio)
      : clock_(clock), audio_(audio) {}
  std::int32_t Millisecs() override { return clock_.Millisecs(); }
  void Delay(std::int32_t ms) override {
    clock_.Delay(ms);
    audio_.AdvanceMicros(std::int64_t{ms} * 1000);
  }

 private:
  media::ManualClock& clock_;
  media::audio::ManualTimeSource& audio_;
};

TEST_F(FrameCompositionTest, AWindDownEndsWhenTheTapeHasStopped) {
  SoundingClock sounding(clock_, audioTime_);
  PressAt(120, media::kKeyF1 + 2);
  std::int32_t before = 0, after = 0;
  OnFrame(120, [&] {
    before = clock_.Millisecs();
    media::SetCurrentClock(&sounding);
  });
  OnFrame(121, [&] { after = clock_.Millisecs(); });
  ASSERT_TRUE(RunMain(122));
  media::SetCurrentClock(&clock_);
  // Half a second of slowing down, then the loading screen's second.
  EXPECT_GE(after - before, 500 + 1000);
  EXPECT_LT(after - before, 500 + 1000 + 50);
}

TEST_F(FrameCompositionTest, GreetingsAndThePanelsInTheOrderTheyAreTested) {
  PressAt(130, media::kKeyC);  // credits from frame 181
  PressAt(200, media::kKeyG);  // greetings: the credits branch ends the fade in frame 251
  PressAt(300, media::kKeyC);  // credits: the greetings branch ends it in frame 351
  ASSERT_TRUE(RunMain(352));
  // The credits are tested before the greetings: the frame whose fade ends under the
  // credits draws the greetings too; the other way round they follow a frame later.
  EXPECT_EQ(TextCalls(251, u"Credits").size(), 1u);
  const struct {
    const char16_t* text;
    float y;
  } greetings[] = {{u"Greetings", 130.0f},
                   {u" Low Gust, Vexari, MajorPlumb,", 234.0f},
                   {u" QLT/Velox and everybody we", 286.0f},
                   {u" have forgotten!", 338.0f}};
  for (const auto& line : greetings) {
    const auto calls = TextCalls(251, line.text);
    ASSERT_EQ(calls.size(), 1u) << "frame 251";
    EXPECT_EQ(calls[0].x, 350.0f);
    EXPECT_EQ(calls[0].y, line.y);
    EXPECT_EQ(calls[0].alpha, 1.0f);
  }
  EXPECT_EQ(TextCalls(351, u"Greetings").size(), 1u);
  EXPECT_TRUE(TextCalls(351, u"Credits").empty());
  EXPECT_EQ(TextCalls(352, u"Credits").size(), 1u);
}

TEST_F(FrameCompositionTest, AStreamThatCannotBeMadeIsLoggedAndTheNextChangeWorks) {
  // Registered first, garbage wins over the real file of track 1.
  static const unsigned char garbage[64] = {1, 2, 3};
  media::RegisterEmbeddedFile(u"sound/VorWIP2.mp3", garbage, sizeof garbage);
  PressAt(5, media::kKeyF1 + 1);
  bool nullWhileBroken = false;
  OnFrame(4, [&] { nullWhileBroken = state_.musicStream == nullptr; });
  ASSERT_TRUE(RunMain(8));
  EXPECT_TRUE(nullWhileBroken);
  ASSERT_GE(log_.size(), 1u);
  EXPECT_EQ(log_[0], u"can't play... : " + std::u16string(u"41"));
  EXPECT_NE(state_.musicStream, nullptr);
  EXPECT_EQ(log_.size(), 1u);  // track 2 started without complaint
}

TEST_F(FrameCompositionTest, GoldenFrames) {
  std::shared_ptr<media::TPixmap> fadeIn, steady, credits, info;
  OnFrame(50, [&] { fadeIn = media::testing::GrabDisplay(); });
  OnFrame(120, [&] { steady = media::testing::GrabDisplay(); });
  PressAt(125, media::kKeyC);
  OnFrame(185, [&] { credits = media::testing::GrabDisplay(); });
  PressAt(190, media::kKeyI);
  PressAt(250, media::kKeySpace);
  OnFrame(300, [&] { info = media::testing::GrabDisplay(); });  // paused scroller, info panel
  ASSERT_TRUE(RunMain(301));
  ASSERT_TRUE(fadeIn && steady && credits && info);
  EXPECT_EQ(state_.scroll.scrollPaused, 1);
  EXPECT_TRUE(MatchesGolden("fade_in_frame50", *fadeIn));
  EXPECT_TRUE(MatchesGolden("track_list", *steady));
  EXPECT_TRUE(MatchesGolden("credits", *credits));
  EXPECT_TRUE(MatchesGolden("music_info_paused", *info));
}

// The letters alone, without a display: positions from frameTick and the spectrum.
TEST(LogoLetters, BobOnTheSineAndFollowTheLowestBins) {
  std::vector<media::DrawCall> calls;
  media::SetDrawObserver([&](const media::DrawCall& c) { calls.push_back(c); });
  AppState state;
  state.spectrum.assign(512, 0.0f);
  const auto positions = [&](int tick) {
    calls.clear();
    state.frameTick = tick;
    DrawLogoLetters(state);
    return calls;
  };
  auto at0 = positions(0);
  ASSERT_EQ(at0.size(), 3u);
  EXPECT_EQ(at0[0].x, 100.0f);
  EXPECT_EQ(at0[1].x, 330.0f);
  EXPECT_EQ(at0[2].x, 550.0f);
  for (const auto& c : at0) EXPECT_EQ(c.y, 200.0f);
  auto at90 = positions(90 + 360);
  EXPECT_FLOAT_EQ(at90[0].y, 280.0f);
  EXPECT_FLOAT_EQ(at90[1].y, 380.0f);
  auto at270 = positions(270);
  EXPECT_FLOAT_EQ(at270[2].y, 120.0f);
  EXPECT_FLOAT_EQ(at270[1].y, 20.0f);
  state.spectrum[0] = 1.0f;
  state.spectrum[1] = 0.5f;
  state.spectrum[2] = 0.25f;
  state.spectrum[3] = 2.0f;
  auto bass = positions(0);
  EXPECT_FLOAT_EQ(bass[0].x, 130.0f);
  EXPECT_FLOAT_EQ(bass[1].x, 330.0f + 0.25f + 15.0f);
  EXPECT_FLOAT_EQ(bass[2].x, 610.0f);
  EXPECT_FLOAT_EQ(calls.back().alpha, 0.1f);
  media::SetDrawObserver(nullptr);
}

}  // namespace
}  // namespace app::testing
