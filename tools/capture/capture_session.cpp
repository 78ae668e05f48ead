#include "tools/capture/capture_session.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "app/music_disk.h"
#include "media/audio/audio_engine.h"
#include "media/audio/manual_output.h"
#include "media/audio/time_source.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/soft/soft_driver.h"
#include "media/platform/dialogs.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "media/resources/utf16.h"
#include "tools/capture/frame_timeline.h"

namespace capture {

namespace {

struct DiskEnded {};

constexpr int kAnswerNo = 0;  // the question's "No": an 800x600 window

std::int64_t FrameEndMicros(std::int64_t frame) {
  return frame * 1'000'000 / kFramesPerSecond;
}

// "frame 120/600  143 fps" on one terminal line, a few times a second.
class ProgressLine {
 public:
  ProgressLine(bool enabled, std::int64_t total) : enabled_(enabled), total_(total) {}

  void Update(std::int64_t frame) {
    if (!enabled_) return;
    const auto now = Clock::now();
    if (frame != total_ && now - shown_ < std::chrono::milliseconds(200)) return;
    shown_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::fprintf(stderr, "\rframe %lld/%lld  %.0f fps ", static_cast<long long>(frame),
                 static_cast<long long>(total_), seconds > 0.0 ? frame / seconds : 0.0);
    if (frame == total_) std::fputc('\n', stderr);
    std::fflush(stderr);
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool enabled_;
  std::int64_t total_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point shown_{};
};

class Session {
 public:
  Session(const CaptureOptions& options, FrameSink& sink, bool showProgress)
      : options_(options),
        sink_(sink),
        timeline_([this](std::int64_t frame, bool drawn) { OnFrameEnded(frame, drawn); }),
        keys_(options.keys),
        progress_(showProgress, options.frames) {
    std::stable_sort(keys_.begin(), keys_.end(),
                     [](const ScriptedKey& a, const ScriptedKey& b) { return a.frame < b.frame; });
    picture_.assign(static_cast<std::size_t>(kPictureWidth) * kPictureHeight * 3, 0);
    mixed_.assign(2 * kSamplesPerFrame, 0.0f);
    samples_.assign(2 * kSamplesPerFrame, 0);
  }

  bool Run(std::string& error);

 private:
  static void OnFlip(void* context);
  void OnFrameEnded(std::int64_t frame, bool drawn);
  bool GrabPicture();
  void PullSound(std::int64_t frame);
  void PressKeysOf(std::int64_t frame);
  void EndDisk();
  void Fail(std::string why);
  void InstallSeams();
  void RemoveSeams();

  const CaptureOptions& options_;
  FrameSink& sink_;
  FrameTimeline timeline_;
  media::audio::ManualTimeSource soundTime_;
  media::audio::ManualOutput* output_ = nullptr;  // owned by the audio engine while it runs
  std::unique_ptr<app::AppState> state_ = std::make_unique<app::AppState>();
  std::vector<ScriptedKey> keys_;  // by frame
  std::size_t nextKey_ = 0;
  std::vector<std::uint8_t> picture_;  // RGB of the picture on screen
  std::vector<float> mixed_;           // one frame of the engine's output
  std::vector<std::int16_t> samples_;  // the same as 16-bit samples
  bool drawnSinceFlip_ = false;
  bool escapePressed_ = false;
  bool failed_ = false;
  std::string failure_;
  ProgressLine progress_;
};

bool Session::Run(std::string& error) {
  InstallSeams();
  bool ended = false;
  int status = 0;
  try {
    status = app::MusicDiskMain(*state_);
  } catch (const DiskEnded&) {
    ended = true;
  }
  RemoveSeams();
  if (failed_) {
    error = failure_;
    return false;
  }
  if (!ended || timeline_.framesEnded() < options_.frames) {
    error = "the disk stopped before the capture was complete (status " + std::to_string(status) +
            ", " + std::to_string(timeline_.framesEnded()) + " frames)";
    return false;
  }
  return sink_.Finish(error);
}

void Session::InstallSeams() {
  // The software driver draws into memory here; no window system or sound card is touched.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  media::SetCurrentClock(&timeline_);
  auto output = std::make_unique<media::audio::ManualOutput>();
  output_ = output.get();
  media::audio::UseOutputForNextInit(std::move(output), &soundTime_);
  media::SetEndHook([] { throw DiskEnded{}; });
  media::SetProceedHook([](std::u16string_view, int) { return kAnswerNo; });
  // The disk's own diagnostics, as the program writes them, unless asked to be quiet.
  app::SetDebugLogHook([quiet = options_.quiet](std::u16string_view message) {
    if (!quiet) std::fprintf(stderr, "%s\n", media::Utf16ToUtf8(message).c_str());
  });
  // Only pictures count as frames: the display's first bare clears draw nothing.
  media::SetDrawObserver([this](const media::DrawCall&) { drawnSinceFlip_ = true; });
  media::AddFlipHook(&Session::OnFlip, this, 0);
}

void Session::RemoveSeams() {
  media::RemoveFlipHook(&Session::OnFlip, this);
  media::SetDrawObserver(nullptr);
  media::audio::UseOutputForNextInit(nullptr, nullptr);
  media::SetProceedHook(nullptr);
  media::SetEndHook(nullptr);
  media::SetCurrentClock(nullptr);
  app::SetDebugLogHook(nullptr);
  output_ = nullptr;
}

// The flip hook runs before the picture is shown, with its drawing complete.
void Session::OnFlip(void* context) {
  auto* self = static_cast<Session*>(context);
  if (!self->drawnSinceFlip_) return;
  self->drawnSinceFlip_ = false;
  self->timeline_.PictureFinished();
}

void Session::OnFrameEnded(std::int64_t frame, bool drawn) {
  // The sound keeps the picture's time even past the last frame, so that the disk's own
  // timing (the wind-down waits on it) stays what it would be.
  PullSound(frame);
  if (frame > options_.frames || failed_) return;
  if (drawn && !GrabPicture()) return;
  if (!sink_.WriteFrame(frame, picture_.data(), samples_.data(), failure_)) {
    Fail(failure_);
    return;
  }
  PressKeysOf(frame);
  progress_.Update(frame);
  if (frame == options_.frames) EndDisk();
}

bool Session::GrabPicture() {
  if (media::CurrentDriver() != media::SoftCanvasDriver()) {
    Fail("the disk did not draw with its software driver; nothing to capture");
    return false;
  }
  const media::TPixelView view = media::SoftCanvasDriver()->Pixels();
  if (view.width != kPictureWidth || view.height != kPictureHeight) {
    Fail("the disk's picture is " + std::to_string(view.width) + "x" + std::to_string(view.height) +
         ", not 800x600");
    return false;
  }
  std::uint8_t* out = picture_.data();
  for (int y = 0; y < view.height; ++y) {
    const std::uint8_t* in = view.rgba + static_cast<std::size_t>(y) * view.pitch;
    for (int x = 0; x < view.width; ++x, in += 4, out += 3) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
  return true;
}

// The frame's sound is pulled as it ends: what plays while its picture is on screen. The
// engine's time then moves to the frame's end, as a sound card's would.
void Session::PullSound(std::int64_t frame) {
  if (output_ != nullptr && media::audio::CurrentEngine() != nullptr) {
    output_->Pull(mixed_.data(), kSamplesPerFrame);
  } else {
    std::fill(mixed_.begin(), mixed_.end(), 0.0f);
  }
  soundTime_.AdvanceMicros(FrameEndMicros(frame) - FrameEndMicros(frame - 1));
  for (std::size_t i = 0; i < mixed_.size(); ++i) {
    const float clamped = std::clamp(mixed_[i], -1.0f, 1.0f);
    samples_[i] = static_cast<std::int16_t>(std::lrint(clamped * 32767.0f));
  }
}

// A key pressed during a frame is seen by the disk in the next frame it draws.
void Session::PressKeysOf(std::int64_t frame) {
  for (; nextKey_ < keys_.size() && keys_[nextKey_].frame == frame; ++nextKey_) {
    media::EmitEvent({media::kEventKeyDown, keys_[nextKey_].key});
    media::EmitEvent({media::kEventKeyUp, keys_[nextKey_].key});
  }
}

// Escape ends the disk after the frame it is drawing, through its own shutdown.
void Session::EndDisk() {
  if (escapePressed_) return;
  escapePressed_ = true;
  media::EmitEvent({media::kEventKeyDown, media::kKeyEscape});
}

void Session::Fail(std::string why) {
  failed_ = true;
  failure_ = std::move(why);
  EndDisk();
}

}  // namespace

bool RunCapture(const CaptureOptions& options, FrameSink& sink, bool showProgress,
                std::string& error) {
  Session session(options, sink, showProgress);
  return session.Run(error);
}

}  // namespace capture
