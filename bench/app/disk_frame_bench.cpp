// The disk's own frame (app::RunFrame: the spectrum fetch, the keys, the logo letters, the
// panel, the scroller and every draw call, then the paced Flip) on the recording driver, so
// what is timed is the frame logic and the submission of its draw calls, not any rasterising.
// Start-up is the program's own, on a hand-pulled audio output and a manual clock: the
// paced Flip's wait moves the manual clock instead of sleeping. Nobody pulls the output
// inside the timed loop (the mixing runs on the audio thread in the program); the spectrum
// is taken each frame over the music pulled before it.
// Run: build/release/bench/app/bench_app --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/music_disk.h"
#include "bench/support/running_disk.h"
#include "media/draw2d/recording/recording_driver.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"

namespace {

// The disk started once per process and kept running between the benchmark's runs.
struct Disk {
  media::TRecordingCanvasDriver driver;
  bench::RunningDisk disk{&driver};
  app::AppState& state = disk.state;
  const char* failure = disk.Failure();

  Disk() {
    if (failure != nullptr) return;
    // Glyph images are made on a glyph's first use: make them all, as the program has once
    // its texts have all been shown.
    for (media::TImageFont* font : {state.scrollFont.get(), state.panelFont.get()}) {
      for (int index = 0; index < font->CountGlyphs(); ++index) {
        const media::TImageGlyph& glyph = font->LoadGlyph(index);
        if (glyph._image) glyph._image->Frame(0);
      }
    }
    // Music for the spectrum: a second of it heard.
    for (int i = 0; i < 60; ++i) disk.Hear();
    // A full scroll line: 483 frames from entry to removal.
    RunFrames(600);
    // Silence would skip the FFT and time a cheaper frame than the program's.
    if (std::none_of(state.spectrum.begin(), state.spectrum.end(),
                     [](float v) { return v > 0.0f; })) {
      failure = "the spectrum is silent: no music was heard";
    }
  }

  void RunFrames(int count) {
    for (int i = 0; i < count; ++i) app::RunFrame(state);
  }

  // Shows `panel` as a user does: its key, then the fade out and in.
  void ShowPanel(int panel) {
    static constexpr int kKeys[] = {media::kKeyM, media::kKeyG, media::kKeyC, media::kKeyI};
    if (state.panelShown == panel && state.panelFading == 0) return;
    media::EmitEvent({media::kEventKeyDown, kKeys[panel]});
    media::EmitEvent({media::kEventKeyUp, kKeys[panel]});
    RunFrames(200);
  }
};

Disk& TheDisk() {
  static Disk* disk = new Disk;  // left for the process end: the engine outlives every run
  return *disk;
}

void BM_DiskFrameOnRecordingDriver(benchmark::State& bench) {
  Disk& disk = TheDisk();
  if (disk.failure != nullptr) {
    bench.SkipWithError(disk.failure);
    return;
  }
  disk.ShowPanel(static_cast<int>(bench.range(0)));
  if (disk.state.panelShown != bench.range(0) || disk.state.panelFading != 0) {
    bench.SkipWithError("the panel did not come up");
    return;
  }
  std::size_t draws = 0;
  std::size_t calls = 0;
  std::size_t overflowed = 0;
  for (auto _ : bench) {
    app::RunFrame(disk.state);
    draws += disk.driver.DrawCount();
    calls += disk.driver.Calls().size();
    overflowed += disk.driver.Overflowed();
  }
  if (overflowed != 0) bench.SkipWithError("the recording driver's array overflowed");
  bench.counters["draw_calls"] =
      benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kAvgIterations);
  bench.counters["driver_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}
// Panels in AppState's numbering: the track list is the one the disk starts with.
BENCHMARK(BM_DiskFrameOnRecordingDriver)
    ->ArgName("panel")
    ->Arg(app::kPanelTrackList)
    ->Arg(app::kPanelGreetings)
    ->Arg(app::kPanelCredits)
    ->Arg(app::kPanelMusicInfo)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
