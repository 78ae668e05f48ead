#include "musicgen/renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>

#include "musicgen/mastering.h"
#include "musicgen/pattern_notation.h"
#include "musicgen/schedule.h"
#include "musicgen/song_library.h"
#include "spectrum.h"

namespace musicgen {
namespace {

const float kTargetPeak = std::pow(10.0f, kMasterPeakDb / 20.0f);

// One bar at 120 BPM (two seconds) of a kick and a bass note, with a long reverb.
Song tinySong(std::string_view kickRhythm) {
  Song song;
  song.id = "tiny";
  song.bpm = 120.0;
  song.rootNote = 36;
  song.reverb.seconds = 2.0f;
  SynthPatch bass{.layers = {{.wave = Wave::Saw}}, .filter = {.cutoffHz = 400.0f}};
  song.instruments = {{"kick", DrumPatch{}, {.keysSidechain = true}},
                      {"bass", bass, {.reverbSend = 1.0f, .duck = 0.5f}}};
  song.patterns = {rhythm("kick", kickRhythm), melody("bass", ". . . . . . . . . . . . . . 0 -")};
  song.sections = {{"only", 1, {{"kick", "kick"}, {"bass", "bass"}}}};
  return song;
}

double rmsBetween(const StereoBuffer& mix, double fromSeconds, double toSeconds) {
  const auto from = static_cast<std::size_t>(fromSeconds * kSampleRate);
  const auto to = static_cast<std::size_t>(toSeconds * kSampleRate);
  return testing::rms(&mix.left[from], to - from);
}

TEST(Render, SameSongRendersBitIdenticallyAndTheSeedMatters) {
  Song song = *findSong("VorWIP2");
  const RenderOptions twoSeconds{.seconds = 2.0};
  const StereoBuffer a = renderSong(song, twoSeconds);
  const StereoBuffer b = renderSong(song, twoSeconds);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.right, b.right);
  song.seed += 1;  // hats and claps are noise: a new seed is a new performance
  EXPECT_NE(renderSong(song, twoSeconds).left, a.left);
}

TEST(Render, ImposedLengthIsExactRepeatsTheArrangementAndFadesOut) {
  Song song = tinySong("X... X... X... X...");
  song.instruments[1].mix.reverbSend = 0.0f;  // so each pass starts from silence
  const StereoBuffer mix = renderSong(song, {.seconds = 5.0});
  ASSERT_EQ(mix.frames(), 5u * 44100u);
  EXPECT_EQ(mix.left.back(), 0.0f);
  EXPECT_EQ(mix.right.back(), 0.0f);
  // The third pass (4 s on) still plays, quieter only because the fade has begun.
  const double first = rmsBetween(mix, 0.0, 0.5);
  EXPECT_NEAR(rmsBetween(mix, 2.0, 2.5), first, 0.1 * first);
  EXPECT_GT(rmsBetween(mix, 4.0, 4.5), 0.05 * first);
  EXPECT_NEAR(peakLevel(mix), kTargetPeak, 1e-4);
  EXPECT_THROW(renderSong(song, {.seconds = 0.0}), std::invalid_argument);
}

TEST(Render, LoopingSongCarriesItsTailOverTheLoopPoint) {
  Song song = tinySong("..X. .... .... ....");
  song.ending = Ending::RingOut;
  const StereoBuffer ringing = renderSong(song);
  EXPECT_EQ(static_cast<std::int64_t>(ringing.frames()), naturalLengthFrames(song));
  EXPECT_EQ(ringing.frames(), static_cast<std::size_t>((2.0 + song.tailSeconds) * kSampleRate));
  EXPECT_EQ(rmsBetween(ringing, 0.0, 0.2), 0.0);  // nothing sounds before the first hit

  song.ending = Ending::Loop;
  const StereoBuffer looping = renderSong(song);
  EXPECT_EQ(looping.frames(), 2u * 44100u);
  EXPECT_GT(rmsBetween(looping, 0.0, 0.2), 1e-3);  // the bass's reverb from the bar's end
}

TEST(Render, KickDucksTheInstrumentsThatFollowIt) {
  Song song = tinySong(".... X... .... ....");  // one kick, on the second beat (0.5 s)
  song.instruments[0].mix.gainDb = -120.0f;     // keys the side-chain without being heard
  song.instruments[1].mix.reverbSend = 0.0f;
  song.patterns[1] = melody("bass", "0 - - - - - - - - - - - - - - -");
  const auto dip = [&](float duck) {
    song.instruments[1].mix.duck = duck;
    const StereoBuffer mix = renderSong(song);
    return rmsBetween(mix, 0.51, 0.53) / rmsBetween(mix, 0.40, 0.48);
  };
  EXPECT_LT(dip(1.0f), 0.2);
  EXPECT_NEAR(dip(0.0f), 1.0, 0.2);
}

TEST(Render, RefusesASongThatDoesNotValidate) {
  Song song = tinySong("X...");
  song.sections[0].clips[0].pattern = "nothing";
  EXPECT_THROW(renderSong(song), std::invalid_argument);
}

TEST(SongLibrary, KnowsEachSongOfTheDiskByItsId) {
  const std::vector<std::string> expected = {"VorWIP2", "basswobbler", "nova",
                                             "nova2",   "glow",        "music"};
  EXPECT_EQ(songIds(), expected);
  for (const std::string& id : expected) {
    const auto song = findSong(id);
    ASSERT_TRUE(song.has_value()) << id;
    EXPECT_EQ(song->id, id);
    EXPECT_FALSE(song->title.empty());
    EXPECT_NO_THROW(validateSong(*song)) << id;
  }
  EXPECT_EQ(findSong("VorWIP3"), std::nullopt);
  EXPECT_EQ(findSong("VorWIP2")->title, "Vortek 3");
  EXPECT_EQ(findSong("glow")->title, "Gløw");
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

class EverySong : public ::testing::TestWithParam<std::string> {};

TEST_P(EverySong, HasItsLengthPeaksBelowFullScaleAndPumpsItsLowEndOnTheKick) {
  const Song song = *findSong(GetParam());
  const StereoBuffer mix = renderSong(song);

  int bars = 0;
  for (const Section& s : song.sections) bars += s.bars;
  const double arrangementSeconds = bars * song.beatsPerBar * 60.0 / song.bpm;
  const double seconds =
      arrangementSeconds + (song.ending == Ending::RingOut ? song.tailSeconds : 0.0);
  EXPECT_NEAR(static_cast<double>(mix.frames()), seconds * kSampleRate, 1.0);
  EXPECT_EQ(static_cast<std::int64_t>(mix.frames()), naturalLengthFrames(song));
  EXPECT_GE(seconds, 10.0);
  EXPECT_LE(seconds, 30.0);

  EXPECT_NEAR(peakLevel(mix), kTargetPeak, 1e-4);
  double power = 0.0;
  for (std::size_t i = 0; i < mix.frames(); ++i)
    power += mix.left[i] * mix.left[i] + mix.right[i] * mix.right[i];
  EXPECT_GT(std::sqrt(power / (2.0 * mix.frames())), 0.1) << "too quiet to be finished";

  // Low band just after each kick against just before it.
  const std::vector<float> low = lowBand(mix, 120.0);
  const auto window = static_cast<std::size_t>(0.08 * kSampleRate);
  double after = 0.0, before = 0.0;
  int kicks = 0;
  for (const ScheduledNote& n : scheduleNotes(song, arrangementSteps(song), kSampleRate)) {
    const auto at = static_cast<std::size_t>(n.startFrame);
    if (!song.instruments[n.instrument].mix.keysSidechain || at < window) continue;
    after += testing::rms(&low[at], window);
    before += testing::rms(&low[at - window], window);
    ++kicks;
  }
  ASSERT_GE(kicks, 8);
  EXPECT_GT(after / before, 2.0) << "the low end barely moves with the kick";
}

INSTANTIATE_TEST_SUITE_P(Songs, EverySong, ::testing::ValuesIn(songIds()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace musicgen
