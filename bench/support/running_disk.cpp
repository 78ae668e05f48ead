#include "bench/support/running_disk.h"

#include <SDL.h>

#include <memory>
#include <utility>

#include "app/music_disk.h"
#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "media/draw2d/canvas.h"

namespace bench {

RunningDisk::RunningDisk(media::TCanvasDriver* driver) {
  media::SetCurrentClock(&clock_);
  auto device = std::make_unique<media::audio::ManualOutput>();
  output_ = device.get();
  media::audio::UseOutputForNextInit(std::move(device), &audioTime_);
  // The program's queries drain the window system's event queue every time; here the queue
  // is SDL's own, with no window system behind it.
  SDL_InitSubSystem(SDL_INIT_EVENTS);

  app::StartUpBeforeDevices(state);
  media::SetGraphicsDriver(driver, media::kGraphicsBackBuffer);
  if (media::TBass::Init(-1, 44100, 4, nullptr, nullptr) == 0) {
    failure_ = "no audio engine";
    return;
  }
  if (!media::Graphics(800, 600, 0, 60, 0) || media::CurrentDriver() != driver) {
    failure_ = "no display on the benchmark's driver";
    return;
  }
  app::StartUpOnTheDisplay(state);
  if (!state.musicStream) failure_ = "track 1 does not play";
}

void RunningDisk::Hear() {
  output_->Pull(heard_.data(), kAudioFramesPerVideoFrame);
  audioTime_.AdvanceMicros(1000000 / 60);
}

}  // namespace bench
