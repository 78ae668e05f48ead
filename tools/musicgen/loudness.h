// Loudness and true peak as a mastering engineer reads them: programme loudness in LUFS
// after ITU-R BS.1770 (K-weighting, 400 ms blocks every 100 ms, the absolute gate at
// -70 LUFS and the relative one 10 LU below), and the peak between samples, found by
// 4x oversampling.
// Depends on: audio_buffer.
#pragma once

#include <vector>

#include "musicgen/audio_buffer.h"

namespace musicgen {

// What integratedLoudness reports when nothing passes the absolute gate.
inline constexpr double kSilenceLufs = -70.0;

// Integrated loudness of a stereo programme. A full-scale 1 kHz sine in both channels
// reads 0 LUFS.
double integratedLoudness(const StereoBuffer& buffer, double sampleRate);

// Short-term loudness (the last 3 s) every 100 ms, in LUFS. circular: the buffer loops,
// so the windows at its start reach back into its end.
std::vector<double> shortTermLoudness(const StereoBuffer& buffer, double sampleRate, bool circular);

// Per frame, the largest magnitude either channel reaches from that frame up to the next,
// the reconstructed waveform between the samples included. circular: the buffer repeats
// (a loop), so its last frame leads into its first; otherwise silence lies outside it.
std::vector<float> truePeaks(const StereoBuffer& buffer, bool circular);

// The largest of truePeaks, in dB relative to full scale (dBTP).
double truePeakDb(const StereoBuffer& buffer, bool circular);

}  // namespace musicgen
