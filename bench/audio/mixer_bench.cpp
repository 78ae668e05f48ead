// The cost of playing a track: one whole track pulled through the engine on the hand-pulled
// output (decode ahead, resample, mix) with a spectrum fetch every 735 output frames, the
// program's 60 frames per second at 44.1 kHz. Compare its CPU time with the bare decoder
// below, and with `mpg123 -q -t FILE` (decode only, no output) on the same file.
//
//   MUSICDISK_BENCH_TRACK=path/to/track.mp3 ./bench_audio
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "media/audio/decoder.h"
#include "media/audio/manual_output.h"
#include "media/audio/time_source.h"

namespace media::audio {
namespace {

constexpr int kFramesPerVideoFrame = 735;  // 44100 / 60

const std::vector<std::uint8_t>& Track() {
  static const std::vector<std::uint8_t> bytes = [] {
    const char* path = std::getenv("MUSICDISK_BENCH_TRACK");
    std::ifstream in(path != nullptr ? path : MEDIA_AUDIO_BENCH_TRACK, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
  }();
  return bytes;
}

void BM_PullWholeTrackWithSpectrum(benchmark::State& state) {
  const auto& track = Track();
  std::vector<float> block(2 * kFramesPerVideoFrame);
  std::array<float, 512> spectrum{};
  std::int64_t frames = 0;
  for (auto _ : state) {
    ManualTimeSource time;
    auto output = std::make_unique<ManualOutput>();
    ManualOutput* pull = output.get();
    if (InitEngineWithOutput(std::move(output), time, 44100) == 0) {
      state.SkipWithError("engine did not start");
      return;
    }
    auto stream = std::make_shared<TBassStream>()->CreateMem(
        track.data(), static_cast<std::int64_t>(track.size()), 0);
    if (!stream || stream->Play(0) == 0) {
      state.SkipWithError("no track: set MUSICDISK_BENCH_TRACK");
      TBass::Free();
      return;
    }
    AudioEngine::ChannelProbe probe;
    frames = 0;
    do {
      pull->Pull(block.data(), kFramesPerVideoFrame);
      stream->GetData(spectrum.data(), kBassDataFft512);
      frames += kFramesPerVideoFrame;
      CurrentEngine()->Probe(stream->handle, probe);
    } while (probe.state == PlayState::kPlaying);
    benchmark::DoNotOptimize(spectrum);
    TBass::Free();
  }
  state.counters["track_s"] = static_cast<double>(frames) / 44100.0;
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_PullWholeTrackWithSpectrum)->Unit(benchmark::kMillisecond);

// The decoder alone, as the engine drives it: the floor under the benchmark above.
void BM_DecodeWholeTrack(benchmark::State& state) {
  const auto& track = Track();
  std::vector<float> block(2 * 4096);
  std::int64_t frames = 0;
  for (auto _ : state) {
    BassError error = kBassOk;
    auto decoder = OpenDecoder(track.data(), static_cast<std::int64_t>(track.size()), error);
    if (!decoder) {
      state.SkipWithError("no track: set MUSICDISK_BENCH_TRACK");
      return;
    }
    frames = 0;
    while (const std::size_t got = decoder->Read(block.data(), 4096)) {
      frames += static_cast<std::int64_t>(got);
    }
    benchmark::DoNotOptimize(block);
  }
  state.counters["track_s"] = static_cast<double>(frames) / 44100.0;
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_DecodeWholeTrack)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace media::audio

BENCHMARK_MAIN();
