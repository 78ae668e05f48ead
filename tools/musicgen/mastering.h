// The last steps on the stereo mix: subsonic clean-up, loop folding, fades, saturation and
// the final level: a set integrated loudness, with a look-ahead limiter holding the true
// peak under a ceiling.
// Depends on: audio_buffer, state_variable_filter, loudness.
#pragma once

#include <cstddef>
#include <vector>

#include "musicgen/audio_buffer.h"

namespace musicgen {

// Removes DC and rumble under ~25 Hz: nothing musical lives there and it wastes headroom.
void removeRumble(StereoBuffer& buffer, double sampleRate);

// Adds everything after loopFrames onto the start and cuts the buffer to loopFrames, so
// reverb and delay tails carry over the loop point instead of stopping dead.
void foldTail(StereoBuffer& buffer, std::size_t loopFrames);

// Fades the last `frames` frames to silence along a raised-cosine curve.
void fadeOut(StereoBuffer& buffer, std::size_t frames);

struct MasterSettings {
  float drive = 1.0f;           // soft saturation before the limiter: 0 = none, higher is denser
  double loudnessLufs = -14.0;  // integrated loudness of the result
  double ceilingDbtp = -1.0;    // true peak the result never exceeds
  bool circular = false;        // the buffer loops: its end leads into its start
};

// Saturates the mix, then finds the gain that, with the limiter after it, gives the
// target loudness. Silence stays silence.
void finishMaster(StereoBuffer& buffer, const MasterSettings& settings, double sampleRate);

// The limiter's gain per frame for a buffer whose true peaks are `peaks`, first scaled by
// `gain`: at most 1, and low enough that no peak times gain times it exceeds `ceiling`
// (linear). It reaches each reduction over a short look-ahead and recovers smoothly.
std::vector<float> limiterGain(const std::vector<float>& peaks, double gain, double ceiling,
                               bool circular, double sampleRate);

float peakLevel(const StereoBuffer& buffer);

}  // namespace musicgen
