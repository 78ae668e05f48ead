// The frame the program really draws, on the software driver: the disk started as the
// program starts it (its pictures, fonts and first track, on a hand-pulled audio output and a
// manual clock), then app::RunFrame: the letters swinging with the music, the track list,
// the scroller, and the Flip that draws the frame into the back buffer where it changed
// since the last one. The window's part of presenting (copying into the window's surface,
// the hand-over to the window system) is not in it: tools/measure_performance.sh measures
// the whole program in a window.
// Run: build/release/bench/draw2d/bench_draw2d --benchmark_filter=Program --benchmark_repetitions=5
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/music_disk.h"
#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "media/audio/manual_output.h"
#include "media/audio/time_source.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/soft/soft_driver.h"
#include "media/platform/clock.h"

namespace {

constexpr int kAudioFramesPerVideoFrame = 735;  // 44100 / 60

struct Disk {
  media::ManualClock clock;
  media::audio::ManualTimeSource audioTime;
  media::audio::ManualOutput* output = nullptr;  // owned by the engine
  app::AppState state;
  std::vector<float> heard = std::vector<float>(2 * kAudioFramesPerVideoFrame);
  const char* failure = nullptr;  // why it could not start, or null

  Disk() {
    media::SetCurrentClock(&clock);
    auto device = std::make_unique<media::audio::ManualOutput>();
    output = device.get();
    media::audio::UseOutputForNextInit(std::move(device), &audioTime);
    SDL_InitSubSystem(SDL_INIT_EVENTS);
    app::StartUpBeforeDevices(state);
    media::SetGraphicsDriver(media::OffscreenCanvasDriver(), media::kGraphicsBackBuffer);
    if (media::TBass::Init(-1, 44100, 4, nullptr, nullptr) == 0) {
      failure = "no audio engine";
      return;
    }
    if (!media::Graphics(800, 600, 0, 60, 0)) {
      failure = "no display on the software driver";
      return;
    }
    app::StartUpOnTheDisplay(state);
    if (!state.musicStream) {
      failure = "track 1 does not play";
      return;
    }
    // A full scroll line on screen, as from the program's ninth second on.
    for (int i = 0; i < 600; ++i) {
      Hear();
      app::RunFrame(state);
    }
  }

  // A video frame's music heard: the letters follow it. The program mixes it on the audio
  // thread, so the benchmark leaves it out of the frame's time.
  void Hear() {
    output->Pull(heard.data(), kAudioFramesPerVideoFrame);
    audioTime.AdvanceMicros(1000000 / 60);
  }
};

void BM_SoftDriverProgramFrame(benchmark::State& bench) {
  static Disk* disk = new Disk;  // left for the process end: the engine outlives every run
  if (disk->failure != nullptr) {
    bench.SkipWithError(disk->failure);
    return;
  }
  for (auto _ : bench) {
    bench.PauseTiming();
    disk->Hear();
    bench.ResumeTiming();
    app::RunFrame(disk->state);
  }
}
BENCHMARK(BM_SoftDriverProgramFrame)->Unit(benchmark::kMillisecond);

}  // namespace
