// The frame the program really draws, on the software driver: the disk started as the
// program starts it (its pictures, fonts and first track, on a hand-pulled audio output and a
// manual clock), then app::RunFrame: the letters swinging with the music, the track list,
// the scroller, and the Flip that draws the frame into the back buffer where it changed
// since the last one. The window's part of presenting (copying into the window's surface,
// the hand-over to the window system) is not in it: tools/measure_performance.sh measures
// the whole program in a window.
// Run: build/release/bench/draw2d/bench_draw2d --benchmark_filter=Program --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include "app/music_disk.h"
#include "bench/support/running_disk.h"
#include "media/draw2d/soft/soft_driver.h"

namespace {

// Started once, with a full scroll line on screen, as from the program's ninth second on.
bench::RunningDisk& TheDisk() {
  static auto* disk = [] {
    auto* started = new bench::RunningDisk(media::OffscreenCanvasDriver());
    for (int i = 0; i < 600 && started->Failure() == nullptr; ++i) {
      started->Hear();
      app::RunFrame(started->state);
    }
    return started;
  }();  // left for the process end: the engine outlives every run
  return *disk;
}

void BM_SoftDriverProgramFrame(benchmark::State& bench) {
  bench::RunningDisk& disk = TheDisk();
  if (disk.Failure() != nullptr) {
    bench.SkipWithError(disk.Failure());
    return;
  }
  for (auto _ : bench) {
    // The music is mixed on the audio thread in the program: not in the frame's time.
    bench.PauseTiming();
    disk.Hear();
    bench.ResumeTiming();
    app::RunFrame(disk.state);
  }
}
BENCHMARK(BM_SoftDriverProgramFrame)->Unit(benchmark::kMillisecond);

}  // namespace
