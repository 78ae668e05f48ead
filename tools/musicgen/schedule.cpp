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

// Semitones a clip adds at a step of its section: its transpose and the progression's
// entry for that bar. The progression follows the section's bars, so a clip that enters
// late still plays the chord of the moment.
int transposeAt(const Clip& clip, std::int64_t sectionStep, std::int64_t barSteps) {
  int transpose = clip.transpose;
  if (!clip.progression.empty())
    transpose += clip.progression[static_cast<std::size_t>(sectionStep / barSteps) %
                                  clip.progression.size()];
  return transpose;
}

void scheduleClip(const Song& song, const Timing& timing, const Clip& clip,
                  std::int64_t sectionStart, int sectionBars, std::int64_t limit,
                  std::int64_t passStart, std::vector<ScheduledNote>& out) {
  const std::size_t instrument = indexByName(song.instruments, clip.instrument);
  const Pattern& pattern = song.patterns[indexByName(song.patterns, clip.pattern)];
  const std::int64_t barSteps = stepsPerBar(song);
  const int firstBar = clip.startBar < 0 ? sectionBars + clip.startBar : clip.startBar;
  const int clipBars = clip.bars > 0 ? clip.bars : sectionBars - firstBar;
  const std::int64_t clipOffset = firstBar * barSteps;  // from the section's start
  const std::int64_t clipStart = sectionStart + clipOffset;
  const std::int64_t clipSteps = clipBars * barSteps;
  const std::int64_t clipEnd = clipStart + clipSteps;
  const Ramp cutoff{timing.frameOf(clipStart), timing.frameOf(clipEnd), clip.cutoffFrom,
                    clip.cutoffTo};
  for (std::int64_t repeat = 0; repeat < clipSteps; repeat += pattern.steps) {
    for (std::size_t i = 0; i < pattern.notes.size(); ++i) {
      const Note& note = pattern.notes[i];
      const std::int64_t local = repeat + note.step;
      const std::int64_t step = clipStart + local;
      if (local >= clipSteps || step >= limit) continue;
      // A note never rings on into the next section's material.
      const std::int64_t end = std::min(step + note.length, clipEnd);
      const double levelDb =
          clip.gainDb + clip.levelFromDb +
          (clip.levelToDb - clip.levelFromDb) * static_cast<double>(local) / clipSteps;
      ScheduledNote scheduled;
      scheduled.instrument = instrument;
      scheduled.step = step - passStart;
      scheduled.startFrame = timing.frameOf(step);
      scheduled.lengthFrames =
          std::max<std::int64_t>(1, timing.frameOf(end) - scheduled.startFrame);
      scheduled.midiNote =
          song.rootNote + transposeAt(clip, clipOffset + local, barSteps) + note.pitch;
      scheduled.velocity = note.velocity * static_cast<float>(std::pow(10.0, levelDb / 20.0));
      scheduled.lfoCyclesPerBeat = note.lfoCyclesPerBeat;
      scheduled.cutoffOctaves = cutoff;
      scheduled.accent = note.accent;
      if (note.glide) {
        // From the note before it in the pattern, which may be the previous repeat's last.
        const Note& previous = pattern.notes[i == 0 ? pattern.notes.size() - 1 : i - 1];
        const std::int64_t previousLocal =
            (i == 0 ? repeat - pattern.steps : repeat) + previous.step;
        if (previousLocal >= 0)
          scheduled.glideFrom = song.rootNote +
                                transposeAt(clip, clipOffset + previousLocal, barSteps) +
                                previous.pitch;
      }
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
      for (const Clip& clip : section.clips)
        scheduleClip(song, timing, clip, sectionStart, section.bars, totalSteps, pass, notes);
      const std::int64_t sectionSteps = section.bars * stepsPerBar(song);
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
