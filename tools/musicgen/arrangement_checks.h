// What a listener replaying a track notices and a mastering meter does not: a stretch
// that stays quiet too long, and bars that play again exactly what came before.
// Depends on: song, schedule.
#pragma once

#include <vector>

#include "musicgen/song.h"

namespace musicgen {

// The longest stretch, in seconds, over which every value of `shortTerm` (one per
// `hopSeconds`) lies below `lufs`. The values loop: a stretch may run over the end into
// the start.
double longestStretchBelow(const std::vector<double>& shortTerm, double lufs, double hopSeconds);

// The most bars in a row that play what an earlier stretch of the song played, note for
// note: the same instruments, steps, pitches and lengths, at levels and filter settings
// within a decibel and a quarter octave (a slow ramp alone makes no variation).
int longestRepeatBars(const Song& song);

// The share of `song`'s bars that have a near twin in `other`: a bar alike in harmony
// (the pitch classes below middle C), tune (those from it up) and rhythm (the sixteenths
// its notes start on), each weighed by cosine similarity, the least of the three at least
// `similarity`. Notes count by length, velocity and instrument level; drums and bars
// without pitched notes take no part.
double nearTwinShare(const Song& song, const Song& other, double similarity = 0.9);

}  // namespace musicgen
