// Turns a song's arrangement into a time-ordered list of notes in frames: patterns repeat
// through their clips, clips transpose, follow their chord progression and ramp their
// level, swing moves every second sixteenth.
// Depends on: song.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "musicgen/song.h"
#include "musicgen/voice.h"

namespace musicgen {

inline constexpr int kStepsPerBeat = 4;  // steps are sixteenth notes

struct Timing {
  double framesPerStep = 0.0;
  float swing = 0.0f;  // fraction of a step

  double framesPerBeat() const { return framesPerStep * kStepsPerBeat; }
  // Computed from the absolute step so long songs never drift.
  std::int64_t frameOf(std::int64_t step) const;
};

Timing timingOf(const Song& song, double sampleRate);

std::int64_t stepsPerBar(const Song& song);
// All sections once through.
std::int64_t arrangementSteps(const Song& song);

struct ScheduledNote {
  std::size_t instrument = 0;  // index into Song::instruments
  std::int64_t step = 0;       // where it starts within the arrangement, the same every pass
  std::int64_t startFrame = 0;
  std::int64_t lengthFrames = 1;
  int midiNote = 60;
  float velocity = 1.0f;  // clip gain and level automation included
  float lfoCyclesPerBeat = 0.0f;
  Ramp cutoffOctaves;
  std::optional<int> glideFrom;  // MIDI note the pitch slides from
  bool accent = false;
};

// Every note starting in the first totalSteps steps, sorted by start frame (then by
// instrument and pitch, so the order never depends on the container). Past the end of
// the arrangement it starts again from the top.
std::vector<ScheduledNote> scheduleNotes(const Song& song, std::int64_t totalSteps,
                                         double sampleRate);

}  // namespace musicgen
