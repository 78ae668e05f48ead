// Renders a song to a finished stereo mix: schedules its notes, plays them through their
// instruments block by block, applies the side-chain, the delay and reverb sends and the
// master stage.
// Depends on: song, schedule, synth_voice, drums, effects, sidechain, mastering.
#pragma once

#include <cstdint>
#include <optional>

#include "musicgen/audio_buffer.h"
#include "musicgen/song.h"

namespace musicgen {

// Every song is mastered to the same loudness, so the disk's tracks sit level with each
// other. The ceiling leaves room for the MP3 encoder, which lifts the true peak of these
// mixes by up to about a decibel and a half.
inline constexpr double kMasterLoudnessLufs = -14.0;
inline constexpr double kMasterCeilingDbtp = -3.0;

struct BarRange {
  int first = 0;  // counted from 0
  int count = 1;
};

// At most one of the two may be set; with neither the song renders at its own length.
struct RenderOptions {
  // Exactly this long from the start, the arrangement repeating as needed and the end
  // faded out.
  std::optional<double> seconds{};
  // Just these bars, as they sound inside the whole song: what rings on from the bars
  // before them is there (for a looping song the end rings on into the first bar), and
  // nothing is faded.
  std::optional<BarRange> bars{};
};

// Length in frames of the song rendered without a length of its own.
std::int64_t naturalLengthFrames(const Song& song);

// All the sections' bars added up.
int totalBars(const Song& song);

// The finished, mastered song. Throws std::invalid_argument if the song does not validate
// or the options do not fit it.
StereoBuffer renderSong(const Song& song, const RenderOptions& options = {});

// The mix before the master stage, at the instruments' own levels: for measuring the
// balance between them.
StereoBuffer renderMix(const Song& song, const RenderOptions& options = {});

}  // namespace musicgen
