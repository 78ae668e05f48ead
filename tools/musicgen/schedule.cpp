#include "musicgen/schedule.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace musicgen {

namespace {

template <typename T>
std::size_t indexByName(const std::vector<T>& items, const std::string& name) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].name == name) return i;
  throw std::invalid_argument("no item named '" + name + "'");
}

void scheduleClip(const Song& song, const Timing& timing, const Clip& clip,
                  std::int64_t sectionStart, std::int64_t sectionSteps, std::int64_t limit,
                  std::vector<ScheduledNote>& out) {
  const std::size_t instrument = indexByName(song.instruments, clip.instrument);
  const Pattern& pattern = song.patterns[indexByName(song.patterns, clip.pattern)];
  const std::int64_t barSteps = stepsPerBar(song);
  const std::int64_t sectionEnd = sectionStart + sectionSteps;
  const float gain = std::pow(10.0f, clip.gainDb / 20.0f);
  const Ramp cutoff{timing.frameOf(sectionStart), timing.frameOf(sectionEnd), clip.cutoffFrom,
                    clip.cutoffTo};
  for (std::int64_t repeat = 0; repeat < sectionSteps; repeat += pattern.steps) {
    for (const Note& note : pattern.notes) {
      const std::int64_t local = repeat + note.step;
      const std::int64_t step = sectionStart + local;
      if (local >= sectionSteps || step >= limit) continue;
      // A note never rings on into the next section's material.
      const std::int64_t end = std::min(step + note.length, sectionEnd);
      int transpose = clip.transpose;
      if (!clip.progression.empty())
        transpose +=
            clip.progression[static_cast<std::size_t>(local / barSteps) % clip.progression.size()];
      ScheduledNote scheduled;
      scheduled.instrument = instrument;
      scheduled.startFrame = timing.frameOf(step);
      scheduled.lengthFrames =
          std::max<std::int64_t>(1, timing.frameOf(end) - scheduled.startFrame);
      scheduled.midiNote = song.rootNote + transpose + note.pitch;
      scheduled.velocity = note.velocity * gain;
      scheduled.lfoCyclesPerBeat = note.lfoCyclesPerBeat;
      scheduled.cutoffOctaves = cutoff;
      out.push_back(scheduled);
    }
  }
}

}  // namespace

std::int64_t Timing::frameOf(std::int64_t step) const {
  double frame = static_cast<double>(step) * framesPerStep;
  if (step % 2 != 0) frame += swing * framesPerStep;
  return std::llround(frame);
}

Timing timingOf(const Song& song, double sampleRate) {
  return {sampleRate * 60.0 / song.bpm / kStepsPerBeat, song.swing};
}

std::int64_t stepsPerBar(const Song& song) {
  return std::int64_t{song.beatsPerBar} * kStepsPerBeat;
}

std::int64_t arrangementSteps(const Song& song) {
  std::int64_t bars = 0;
  for (const Section& section : song.sections) bars += section.bars;
  return bars * stepsPerBar(song);
}

std::vector<ScheduledNote> scheduleNotes(const Song& song, std::int64_t totalSteps,
                                         double sampleRate) {
  const Timing timing = timingOf(song, sampleRate);
  const std::int64_t loopSteps = arrangementSteps(song);
  std::vector<ScheduledNote> notes;
  if (loopSteps <= 0) return notes;
  for (std::int64_t pass = 0; pass < totalSteps; pass += loopSteps) {
    std::int64_t sectionStart = pass;
    for (const Section& section : song.sections) {
      if (sectionStart >= totalSteps) break;
      const std::int64_t sectionSteps = section.bars * stepsPerBar(song);
      for (const Clip& clip : section.clips)
        scheduleClip(song, timing, clip, sectionStart, sectionSteps, totalSteps, notes);
      sectionStart += sectionSteps;
    }
  }
  std::stable_sort(notes.begin(), notes.end(), [](const ScheduledNote& a, const ScheduledNote& b) {
    if (a.startFrame != b.startFrame) return a.startFrame < b.startFrame;
    if (a.instrument != b.instrument) return a.instrument < b.instrument;
    return a.midiNote < b.midiNote;
  });
  return notes;
}

}  // namespace musicgen
