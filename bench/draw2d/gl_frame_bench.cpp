// The GL driver drawing the same disk-shaped frame (disk_frame_scene.h), headless: SDL's
// offscreen video driver gives a GL context through EGL (Mesa's llvmpipe on a machine
// without a GPU). GL only queues commands, so each frame ends with glFinish: the time covers
// the rasterising, as the software driver's does. llvmpipe rasterises on threads of its own,
// so the figures are wall time and the CPU time of the whole process, not of this thread.
// Run: build/release/bench/draw2d/bench_draw2d --benchmark_filter=GL --benchmark_repetitions=10
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdlib>

#include "bench/draw2d/disk_frame_scene.h"
#include "media/draw2d/canvas.h"
#include "media/draw2d/gl/gl_driver.h"

namespace {

// Opens an 800x600 display on the GL driver; false when none could be had (Graphics would
// have fallen back to the software driver).
bool OpenGLDisplay() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);  // a display named by the caller wins
  media::ResetCanvasForTesting();
  media::SetGraphicsDriver(media::GLCanvasDriver(), media::kGraphicsBackBuffer);
  return media::Graphics(800, 600, 0, 0, 0) != nullptr &&
         media::CurrentDriver() == media::GLCanvasDriver();
}

// The frame drawn into the driver's picture-sized framebuffer, then finished.
void BM_GLDriverDiskFrame(benchmark::State& state) {
  if (!OpenGLDisplay()) {
    state.SkipWithError("no OpenGL context (SDL_VIDEODRIVER=offscreen needs EGL)");
    media::ResetCanvasForTesting();
    return;
  }
  state.SetLabel(static_cast<media::TGLCanvasDriver*>(media::GLCanvasDriver())->RendererName());
  const bench::DiskFrameScene scene;
  scene.Draw(0.0f);  // makes the textures
  glFinish();
  float scroll = 0.0f;
  for (auto _ : state) {
    scroll = bench::DiskFrameScene::Advance(scroll);
    scene.Draw(scroll);
    glFinish();
  }
  media::ResetCanvasForTesting();
}
BENCHMARK(BM_GLDriverDiskFrame)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The same frame as the program presents it: composed into the window's back buffer and
// finished (the paced Flip's FinishFrame), then swapped.
void BM_GLDriverDiskFramePresented(benchmark::State& state) {
  if (!OpenGLDisplay()) {
    state.SkipWithError("no OpenGL context (SDL_VIDEODRIVER=offscreen needs EGL)");
    media::ResetCanvasForTesting();
    return;
  }
  const bench::DiskFrameScene scene;
  scene.Draw(0.0f);
  media::Flip(0);
  float scroll = 0.0f;
  for (auto _ : state) {
    scroll = bench::DiskFrameScene::Advance(scroll);
    scene.Draw(scroll);
    media::CurrentDriver()->FinishFrame();
    media::Flip(0);
  }
  media::ResetCanvasForTesting();
}
BENCHMARK(BM_GLDriverDiskFramePresented)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
