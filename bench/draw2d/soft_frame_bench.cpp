// The software driver drawing one disk-shaped frame (disk_frame_scene.h) into its back
// buffer in memory.
// Run: build/release/bench/draw2d/bench_draw2d --benchmark_filter=Soft --benchmark_repetitions=10
#include <benchmark/benchmark.h>

#include "bench/draw2d/disk_frame_scene.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/soft/soft_driver.h"

namespace {

void BM_SoftDriverDiskFrame(benchmark::State& state) {
  media::ResetCanvasForTesting();
  media::SetGraphicsDriver(media::OffscreenCanvasDriver(), media::kGraphicsBackBuffer);
  if (!media::Graphics(800, 600, 0, 0, 0)) {
    state.SkipWithError("no display");
    return;
  }
  const bench::DiskFrameScene scene;
  scene.Draw(0.0f);  // makes the textures
  float scroll = 0.0f;
  for (auto _ : state) {
    scroll = bench::DiskFrameScene::Advance(scroll);
    scene.Draw(scroll);
    benchmark::DoNotOptimize(media::OffscreenCanvasDriver()->Pixels().rgba);
    benchmark::ClobberMemory();
  }
  media::ResetCanvasForTesting();
}
BENCHMARK(BM_SoftDriverDiskFrame)->Unit(benchmark::kMillisecond);

}  // namespace
