// The last steps on the stereo mix: subsonic clean-up, loop folding, fades and the final
// level, which puts the loudest sample at a fixed level below full scale.
// Depends on: audio_buffer, state_variable_filter.
#pragma once

#include <cstddef>

#include "musicgen/audio_buffer.h"

namespace musicgen {

// Removes DC and rumble under ~25 Hz: nothing musical lives there and it wastes headroom.
void removeRumble(StereoBuffer& buffer, double sampleRate);

// Adds everything after loopFrames onto the start and cuts the buffer to loopFrames, so
// reverb and delay tails carry over the loop point instead of stopping dead.
void foldTail(StereoBuffer& buffer, std::size_t loopFrames);

// Fades the last `frames` frames to silence along a raised-cosine curve.
void fadeOut(StereoBuffer& buffer, std::size_t frames);

// Soft-saturates the mix (drive > 0; higher is denser) and scales it so its peak sits at
// peakDb dBFS. Silence stays silence.
void finishMaster(StereoBuffer& buffer, float drive, float peakDb);

float peakLevel(const StereoBuffer& buffer);

}  // namespace musicgen
