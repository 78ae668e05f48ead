#include "musicgen/arrangement_checks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "musicgen/renderer.h"
#include "musicgen/schedule.h"

namespace musicgen {

double longestStretchBelow(const std::vector<double>& shortTerm, double lufs, double hopSeconds) {
  const std::size_t n = shortTerm.size();
  if (n == 0) return 0.0;
  if (std::all_of(shortTerm.begin(), shortTerm.end(), [&](double v) { return v < lufs; }))
    return static_cast<double>(n) * hopSeconds;
  // Twice round, so a stretch over the loop point counts whole.
  std::size_t longest = 0, run = 0;
  for (std::size_t i = 0; i < 2 * n; ++i) {
    run = shortTerm[i % n] < lufs ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return static_cast<double>(longest) * hopSeconds;
}

namespace {

// One note as it sits in its bar.
struct BarNote {
  std::size_t instrument;
  std::int64_t step;
  std::int64_t lengthFrames;
  int midiNote;
  float velocity;
  float lfo;
  float cutoff;
  int glideFrom;
  bool accent;

  auto key() const { return std::tie(instrument, step, midiNote, glideFrom, accent); }
};

bool sameNote(const BarNote& a, const BarNote& b) {
  constexpr float kDecibel = 1.122f;
  return a.key() == b.key() && std::abs(a.lengthFrames - b.lengthFrames) <= 2 &&
         a.velocity <= b.velocity * kDecibel && b.velocity <= a.velocity * kDecibel &&
         a.lfo == b.lfo && std::abs(a.cutoff - b.cutoff) <= 0.25f;
}

bool sameBar(const std::vector<BarNote>& a, const std::vector<BarNote>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameNote);
}

}  // namespace

int longestRepeatBars(const Song& song) {
  const std::int64_t barSteps = stepsPerBar(song);
  std::vector<std::vector<BarNote>> bars(static_cast<std::size_t>(totalBars(song)));
  for (const ScheduledNote& n : scheduleNotes(song, arrangementSteps(song), kSampleRate))
    bars[static_cast<std::size_t>(n.step / barSteps)].push_back(
        {n.instrument, n.step % barSteps, n.lengthFrames, n.midiNote, n.velocity,
         n.lfoCyclesPerBeat, n.cutoffOctaves.at(n.startFrame), n.glideFrom.value_or(-1), n.accent});
  for (std::vector<BarNote>& bar : bars)
    std::sort(bar.begin(), bar.end(),
              [](const BarNote& a, const BarNote& b) { return a.key() < b.key(); });
  // For each distance back, the longest run of bars equal to the bars that far before.
  const std::size_t count = bars.size();
  int longest = 0;
  for (std::size_t distance = 1; distance < count; ++distance) {
    int run = 0;
    for (std::size_t bar = distance; bar < count; ++bar) {
      run = sameBar(bars[bar], bars[bar - distance]) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

namespace {

// Pitch classes below middle C (bass and chords), then from it up (the tunes), then the
// sixteenths of the bar the notes start on (the rhythm).
constexpr int kMiddleC = 60;
using Chroma = std::array<double, 40>;

std::vector<Chroma> barChroma(const Song& song) {
  const std::int64_t barSteps = stepsPerBar(song);
  std::vector<Chroma> bars(static_cast<std::size_t>(totalBars(song)), Chroma{});
  for (const ScheduledNote& n : scheduleNotes(song, arrangementSteps(song), kSampleRate)) {
    const Instrument& instrument = song.instruments[n.instrument];
    if (!std::holds_alternative<SynthPatch>(instrument.patch)) continue;
    const double level = n.velocity * std::pow(10.0, instrument.mix.gainDb / 20.0);
    Chroma& bar = bars[static_cast<std::size_t>(n.step / barSteps)];
    bar[static_cast<std::size_t>(n.midiNote % 12 + (n.midiNote >= kMiddleC ? 12 : 0))] +=
        level * static_cast<double>(n.lengthFrames);
    bar[24 + static_cast<std::size_t>(n.step % 16)] += level;
  }
  return bars;
}

// Cosine similarity of two registers' pitch classes; two empty registers are alike.
double cosine(const Chroma& a, const Chroma& b, std::size_t from, std::size_t size) {
  double ab = 0.0, aa = 0.0, bb = 0.0;
  for (std::size_t i = from; i < from + size; ++i) {
    ab += a[i] * b[i];
    aa += a[i] * a[i];
    bb += b[i] * b[i];
  }
  if (aa == 0.0 || bb == 0.0) return aa == bb ? 1.0 : 0.0;
  return ab / std::sqrt(aa * bb);
}

// Alike in both registers and in rhythm: the same harmony under the same tune.
double likeness(const Chroma& a, const Chroma& b) {
  return std::min({cosine(a, b, 0, 12), cosine(a, b, 12, 12), cosine(a, b, 24, 16)});
}

}  // namespace

double nearTwinShare(const Song& song, const Song& other, double similarity) {
  const std::vector<Chroma> ours = barChroma(song), theirs = barChroma(other);
  int twins = 0, counted = 0;
  for (const Chroma& bar : ours) {
    if (std::all_of(bar.begin(), bar.begin() + 24, [](double v) { return v == 0.0; })) continue;
    ++counted;
    if (std::any_of(theirs.begin(), theirs.end(),
                    [&](const Chroma& t) { return likeness(bar, t) >= similarity; }))
      ++twins;
  }
  return counted ? static_cast<double>(twins) / counted : 0.0;
}

}  // namespace musicgen
