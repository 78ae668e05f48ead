// Runs the whole music disk inside a test: SDL's dummy video (the software driver draws into
// a window surface), the audio engine on a hand-pulled output that the harness pulls 735
// frames at a time (one 60 fps frame at 44.1 kHz), a manual clock (the loading screen's
// second costs nothing), a scripted answer to the question, keys injected at chosen frames,
// every draw call recorded, and an end hook that unwinds instead of exiting.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "media/audio/audio_engine.h"
#include "media/audio/manual_output.h"
#include "media/audio/time_source.h"
#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"
#include "media/platform/input_events.h"

namespace app::testing {

// A draw call as recorded, with its own copy of the text.
struct RecordedCall {
  media::DrawCall::Kind kind;
  const media::TImage* image;
  std::u16string text;
  float x, y;
  int red, green, blue;
  float alpha;
  int blend;
  const media::TImageFont* font;
};

class ProgramHarness : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Injects `event` while main-loop frame `frame` (from 1) is presented; it acts from the
  // next frame on.
  void At(int frame, media::Event event);
  void PressAt(int frame, int key);
  // Runs `check` while frame `frame` is presented (its drawing complete, before it shows).
  void OnFrame(int frame, std::function<void()> check);
  // Runs the program; true when it ended through End. Escape is pressed after `lastFrame`.
  bool RunMain(int lastFrame);

  // The draw calls of main-loop frame `frame`, and those of the loading screens.
  const std::vector<RecordedCall>& CallsOf(int frame) { return frames_[frame]; }
  std::vector<RecordedCall> TextCalls(int frame, std::u16string_view text);

  media::ManualClock clock_;
  media::audio::ManualTimeSource audioTime_;
  media::audio::ManualOutput* output_ = nullptr;  // owned by the engine while it runs
  AppState state_;
  int answer_ = 0;                       // the question's answer: No, a window
  std::vector<std::u16string> questions_;
  std::vector<std::u16string> log_;
  int loopFrame_ = 0;                    // main-loop frames begun so far
  std::vector<std::vector<RecordedCall>> loadingScreens_;
  bool grabLoadingScreen_ = false;                 // keep the first loading screen's pixels
  std::shared_ptr<media::TPixmap> loadingPixels_;
  // False for long runs: frames are still counted and scripted, but no draw call is kept
  // (CallsOf and the loading screens stay empty) and recording allocates nothing.
  bool keepCalls_ = true;

  // Runs at every main-loop frame, after that frame's checks and scripted events.
  virtual void EveryFrame(int /*frame*/) {}

 private:
  static void OnFlip(void* context);
  void Record(const media::DrawCall& call);

  struct Scripted {
    int frame;
    media::Event event;
  };
  std::vector<Scripted> script_;
  std::multimap<int, std::function<void()>> checks_;
  std::map<int, std::vector<RecordedCall>> frames_;
  std::vector<RecordedCall> pending_;  // calls since the last flip
  std::vector<float> pulled_;
};

// Compares a grabbed frame with the reference PNG `name` under tests/app/golden/; with
// MUSICDISK_UPDATE_GOLDEN=1 in the environment it writes the reference instead.
::testing::AssertionResult MatchesGolden(const std::string& name, const media::TPixmap& frame);

}  // namespace app::testing
