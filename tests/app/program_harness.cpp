#include "tests/app/program_harness.h"

#include <cstdlib>
#include <utility>

#include "app/debug_log.h"
#include "app/music_disk.h"
#include "app/program_reset.h"
#include "media/audio/bass.h"
#include "media/draw2d/image.h"
#include "media/platform/dialogs.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "media/resources/embedded_files.h"
#include "media/resources/utf16.h"
#include "tests/media/draw2d/canvas_test_support.h"
#include "tests/support/portable_process.h"
#include "timing/delta.h"

namespace app::testing {

namespace {

struct ProcessEnded {};

constexpr int kFramesPerVideoFrame = 735;  // 44100 / 60

}  // namespace

void ProgramHarness::SetUp() {
  test_support::SetEnv("SDL_VIDEODRIVER", "dummy");
  test_support::SetEnv("SDL_AUDIODRIVER", "dummy");
  ResetProgramState();
  media::SetCurrentClock(&clock_);
  auto output = std::make_unique<media::audio::ManualOutput>();
  output_ = output.get();
  media::audio::UseOutputForNextInit(std::move(output), &audioTime_);
  media::SetEndHook([] { throw ProcessEnded{}; });
  media::SetProceedHook([this](std::u16string_view text, int) {
    questions_.emplace_back(text);
    return answer_;
  });
  SetDebugLogHook([this](std::u16string_view message) { log_.emplace_back(message); });
  media::SetDrawObserver([this](const media::DrawCall& call) { Record(call); });
  media::AddFlipHook(&ProgramHarness::OnFlip, this, 100);
  pulled_.resize(2 * kFramesPerVideoFrame);
}

void ProgramHarness::TearDown() {
  media::RemoveFlipHook(&ProgramHarness::OnFlip, this);
  ResetProgramState();
}

void ProgramHarness::At(int frame, media::Event event) {
  script_.push_back({frame, event});
}

void ProgramHarness::PressAt(int frame, int key) {
  At(frame, {media::kEventKeyDown, key});
  At(frame, {media::kEventKeyUp, key});
}

void ProgramHarness::OnFrame(int frame, std::function<void()> check) {
  checks_.emplace(frame, std::move(check));
}

bool ProgramHarness::RunMain(int lastFrame) {
  At(lastFrame, {media::kEventKeyDown, media::kKeyEscape});
  try {
    MusicDiskMain(state_);
  } catch (const ProcessEnded&) {
    return true;
  }
  return false;
}

std::vector<RecordedCall> ProgramHarness::TextCalls(int frame, std::u16string_view text) {
  std::vector<RecordedCall> found;
  for (const RecordedCall& call : frames_[frame]) {
    if (call.kind == media::DrawCall::Kind::kText && call.text == text) found.push_back(call);
  }
  return found;
}

// Every main-loop frame begins with the first logo letter; anything else that flips (the
// display's first clears, the loading screens) is not a loop frame.
void ProgramHarness::Record(const media::DrawCall& call) {
  if (call.kind == media::DrawCall::Kind::kImage && call.image != nullptr &&
      call.image == state_.letterImage1.get()) {
    ++loopFrame_;
  }
  // Only the first call tells a loop frame from the others.
  if (!keepCalls_ && !pending_.empty()) return;
  pending_.push_back({call.kind, call.image, std::u16string(call.text), call.x, call.y, call.red,
                      call.green, call.blue, call.alpha, call.blend, call.font});
}

void ProgramHarness::OnFlip(void* context) {
  auto* self = static_cast<ProgramHarness*>(context);
  const bool loopFrame = !self->pending_.empty() &&
                         self->pending_.front().image == self->state_.letterImage1.get() &&
                         self->pending_.front().image != nullptr;
  if (loopFrame) {
    if (self->keepCalls_) self->frames_[self->loopFrame_] = std::move(self->pending_);
    const auto [first, last] = self->checks_.equal_range(self->loopFrame_);
    for (auto it = first; it != last; ++it) it->second();
    for (const Scripted& s : self->script_) {
      if (s.frame == self->loopFrame_) media::EmitEvent(s.event);
    }
    self->EveryFrame(self->loopFrame_);
  } else if (!self->pending_.empty() && self->keepCalls_) {
    self->loadingScreens_.push_back(std::move(self->pending_));
    if (self->grabLoadingScreen_ && !self->loadingPixels_) {
      self->loadingPixels_ = media::testing::GrabDisplay();
    }
  }
  self->pending_.clear();
  // The sound card plays one frame's worth of audio per video frame.
  if (self->output_ != nullptr && media::audio::CurrentEngine() != nullptr) {
    self->output_->Pull(self->pulled_.data(), kFramesPerVideoFrame);
    self->audioTime_.AdvanceMicros(1000000 / 60);
  }
}

::testing::AssertionResult MatchesGolden(const std::string& name, const media::TPixmap& frame) {
  const std::string path = std::string(MUSICDISK_GOLDEN_DIR) + "/" + name + ".png";
  if (const char* update = std::getenv("MUSICDISK_UPDATE_GOLDEN"); update && *update == '1') {
    media::testing::WritePng(path, frame);
    return ::testing::AssertionSuccess() << "wrote " << path;
  }
  const std::shared_ptr<media::TPixmap> expected = media::LoadPixmap(media::Utf8ToUtf16(path));
  if (!expected) return ::testing::AssertionFailure() << "no reference image " << path;
  const auto rgba = expected->Convert(media::kPixelFormatRGBA8888);
  return media::testing::ImagesMatch("app_" + name, *rgba, frame, 0);
}

}  // namespace app::testing
