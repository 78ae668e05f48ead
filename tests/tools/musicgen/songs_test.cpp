// The disk's songs, checked as data and through a few rendered bars each (never whole:
// a full song takes seconds to render): lengths that the track list can promise, an
// arrangement that goes somewhere and comes back, and a low end that follows the kick.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "musicgen/arrangement_checks.h"
#include "musicgen/loudness.h"
#include "musicgen/renderer.h"
#include "musicgen/schedule.h"
#include "musicgen/song_library.h"
#include "spectrum.h"

namespace musicgen {
namespace {

struct Listing {
  const char* id;
  double minSeconds;  // the track list shows whole seconds: a song may run half a second over
  double maxSeconds;
};

// The times the disk's track list shows (3:11, 3:48, 4:05, 4:04, 3:13), and the Ogg
// piece's 30 to 60 seconds.
void PrintTo(const Listing& listing, std::ostream* os) {
  *os << listing.id;
}

const Listing kListings[] = {{"VorWIP2", 191.0, 191.5}, {"basswobbler", 228.0, 228.5},
                             {"nova", 245.0, 245.5},    {"nova2", 244.0, 244.5},
                             {"glow", 193.0, 193.5},    {"music", 30.0, 60.0}};

std::int64_t barFrame(const Song& song, int bar) {
  return timingOf(song, kSampleRate).frameOf(std::int64_t{bar} * stepsPerBar(song));
}

// Bars in which the side-chain's key instrument (the kick) starts a note.
std::vector<bool> barsWithKick(const Song& song) {
  std::vector<bool> bars(static_cast<std::size_t>(totalBars(song)), false);
  const std::int64_t barSteps = stepsPerBar(song);
  for (const ScheduledNote& n : scheduleNotes(song, arrangementSteps(song), kSampleRate))
    if (song.instruments[n.instrument].mix.keysSidechain)
      bars[static_cast<std::size_t>(n.step / barSteps)] = true;
  return bars;
}

// The sum of a cascade of one-pole low-passes: the band the disk's letters watch.
std::vector<float> lowBand(const StereoBuffer& mix, double cutoffHz) {
  const double c = 1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / kSampleRate);
  std::vector<float> out(mix.frames());
  double s1 = 0, s2 = 0, s3 = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    s1 += c * (0.5 * (mix.left[i] + mix.right[i]) - s1);
    s2 += c * (s1 - s2);
    s3 += c * (s2 - s3);
    out[i] = static_cast<float>(s3);
  }
  return out;
}

class EverySong : public ::testing::TestWithParam<Listing> {
 protected:
  Song song() const { return *findSong(GetParam().id); }
};

TEST_P(EverySong, LastsItsListedTimeAndLoopsBackToItsStart) {
  const Song s = song();
  EXPECT_EQ(s.ending, Ending::Loop) << "the disk plays every piece in a loop";
  const double seconds = static_cast<double>(naturalLengthFrames(s)) / kSampleRate;
  EXPECT_GE(seconds, GetParam().minSeconds);
  EXPECT_LE(seconds, GetParam().maxSeconds);
  // Bars times tempo is the length: nothing is added or cut at the end.
  EXPECT_NEAR(seconds, totalBars(s) * s.beatsPerBar * 60.0 / s.bpm, 1.0 / kSampleRate);
}

TEST_P(EverySong, ArrangementKeepsChangingAndBreaksDownWithoutTheKick) {
  const Song s = song();
  ASSERT_GE(s.sections.size(), 4u);
  for (std::size_t i = 0; i < s.sections.size(); ++i) {
    SCOPED_TRACE(s.sections[i].name);
    EXPECT_LE(s.sections[i].bars, 17) << "a section that long repeats itself";
    if (i > 0) {
      const auto& before = s.sections[i - 1].clips;
      const auto& now = s.sections[i].clips;
      const bool same =
          before.size() == now.size() &&
          std::equal(before.begin(), before.end(), now.begin(), [](const Clip& a, const Clip& b) {
            return a.instrument == b.instrument && a.pattern == b.pattern;
          });
      EXPECT_FALSE(same) << "plays just what the section before it played";
    }
  }
  // Nothing plays the same for more than a phrase: returns bring something new and
  // phrase ends a fill.
  EXPECT_LE(longestRepeatBars(s), 8);
  if (totalBars(s) < 40) return;  // the short Ogg piece has no room for a breakdown
  // A fill at least every eight bars: a bar whose drums differ from both bars before it
  // (grooves run in one- or two-bar patterns).
  std::vector<std::vector<std::tuple<std::size_t, std::int64_t, float>>> drums(
      static_cast<std::size_t>(totalBars(s)));
  for (const ScheduledNote& n : scheduleNotes(s, arrangementSteps(s), kSampleRate))
    if (std::holds_alternative<DrumPatch>(s.instruments[n.instrument].patch))
      drums[static_cast<std::size_t>(n.step / stepsPerBar(s))].emplace_back(
          n.instrument, n.step % stepsPerBar(s), n.velocity);
  for (auto& bar : drums) std::sort(bar.begin(), bar.end());
  std::size_t marked = 0;
  for (std::size_t bar = 2; bar < drums.size(); ++bar) {
    if (drums[bar] == drums[bar - 1] || drums[bar] == drums[bar - 2]) continue;
    EXPECT_LE(bar - marked, 8u) << "no fill from bar " << marked << " to bar " << bar;
    marked = bar;
  }
  // A breakdown: at least eight bars in a row without a kick, away from both ends.
  const std::vector<bool> kick = barsWithKick(s);
  int longest = 0;
  for (std::size_t bar = 8, run = 0; bar + 8 < kick.size(); ++bar) {
    run = kick[bar] ? 0 : run + 1;
    longest = std::max(longest, static_cast<int>(run));
  }
  EXPECT_GE(longest, 8);
}

TEST_P(EverySong, FullestBarsStayUnderTheCeilingAndTheLowEndPumpsWithTheKick) {
  const Song s = song();
  // The section with the most parts playing, where the bass has the most to hide under.
  int first = 0, fullestBar = 0;
  std::size_t mostClips = 0;
  for (const Section& section : s.sections) {
    if (section.clips.size() > mostClips) {
      mostClips = section.clips.size();
      fullestBar = first;
    }
    first += section.bars;
  }
  constexpr int kBars = 3;
  const StereoBuffer mix = renderSong(s, {.bars = BarRange{fullestBar, kBars}});
  // (A frame either way: a looping song plays the excerpt on its second time through.)
  ASSERT_NEAR(static_cast<double>(mix.frames()),
              static_cast<double>(barFrame(s, fullestBar + kBars) - barFrame(s, fullestBar)), 1.0);
  EXPECT_LE(truePeakDb(mix, false), kMasterCeilingDbtp + 0.05);

  // Low band just after each kick against just before it.
  const std::vector<float> low = lowBand(mix, 120.0);
  const auto window = static_cast<std::size_t>(0.08 * kSampleRate);
  const std::int64_t from = barFrame(s, fullestBar), to = barFrame(s, fullestBar + kBars);
  double after = 0.0, before = 0.0;
  int kicks = 0;
  for (const ScheduledNote& n : scheduleNotes(s, arrangementSteps(s), kSampleRate)) {
    if (!s.instruments[n.instrument].mix.keysSidechain || n.startFrame < from || n.startFrame >= to)
      continue;
    const auto at = static_cast<std::size_t>(n.startFrame - from);
    if (at < window || at + window > low.size()) continue;
    after += testing::rms(&low[at], window);
    before += testing::rms(&low[at - window], window);
    ++kicks;
  }
  ASSERT_GE(kicks, 4);
  EXPECT_GT(after / before, 2.0) << "the low end barely moves with the kick";
}

TEST(Songs, NovaTwoIsNoCopyOfNovaAndARepeatedSectionCounts) {
  const Song nova = *findSong("nova"), remix = *findSong("nova2");
  EXPECT_LE(nearTwinShare(nova, remix), 0.15);
  EXPECT_EQ(nearTwinShare(nova, nova), 1.0);
  // A section played twice in a row repeats at least its own length.
  Song twice = nova;
  twice.sections.insert(twice.sections.begin() + 4, twice.sections[3]);
  EXPECT_GE(longestRepeatBars(twice), twice.sections[3].bars);
}

INSTANTIATE_TEST_SUITE_P(Songs, EverySong, ::testing::ValuesIn(kListings),
                         [](const ::testing::TestParamInfo<Listing>& info) {
                           return std::string(info.param.id);
                         });

TEST(Songs, ListingCoversEverySongOfTheLibrary) {
  std::vector<std::string> listed;
  for (const Listing& l : kListings) listed.emplace_back(l.id);
  EXPECT_EQ(listed, songIds());
}

}  // namespace
}  // namespace musicgen
