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

inline constexpr float kMasterPeakDb = -1.0f;

struct RenderOptions {
  // Unset: the song's own length. Set: exactly this long, the arrangement repeating as
  // needed and the end faded out.
  std::optional<double> seconds;
};

// Length in frames of the song rendered without a length of its own.
std::int64_t naturalLengthFrames(const Song& song);

// Throws std::invalid_argument if the song does not validate.
StereoBuffer renderSong(const Song& song, const RenderOptions& options = {});

}  // namespace musicgen
