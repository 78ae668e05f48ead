#include "musicgen/renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>

#include "musicgen/loudness.h"
#include "musicgen/mastering.h"
#include "musicgen/pattern_notation.h"
#include "musicgen/schedule.h"
#include "musicgen/song_library.h"
#include "spectrum.h"

namespace musicgen {
namespace {

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
  EXPECT_THROW(renderSong(song, {.seconds = 0.0}), std::invalid_argument);
}

TEST(Render, MastersToTheDisksLoudnessUnderTheTruePeakCeiling) {
  const Song song = tinySong("X... X... X... X...");
  const StereoBuffer raw = renderMix(song, {.seconds = 4.0});
  const StereoBuffer mastered = renderSong(song, {.seconds = 4.0});
  EXPECT_GT(std::abs(integratedLoudness(raw, kSampleRate) - kMasterLoudnessLufs), 1.0)
      << "the raw mix should start off target for this to prove anything";
  EXPECT_NEAR(integratedLoudness(mastered, kSampleRate), kMasterLoudnessLufs, 0.1);
  EXPECT_LE(truePeakDb(mastered, false), kMasterCeilingDbtp + 0.05);
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

TEST(Render, ExcerptSoundsAsThoseBarsDoInTheWholeSong) {
  Song song = tinySong("X... ..X. X... ....");
  song.reverb.seconds = 0.3f;  // everything dies within the excerpt's pre-roll
  song.sections[0].bars = 4;
  const StereoBuffer whole = renderMix(song);
  const StereoBuffer excerpt = renderMix(song, {.bars = BarRange{3, 1}});
  ASSERT_EQ(excerpt.frames(), 88200u);
  // Same notes, same noise, same frames; the first bar, outside the pre-roll, is long gone.
  double error = 0.0;
  for (std::size_t i = 0; i < excerpt.frames(); ++i)
    error =
        std::max(error, static_cast<double>(std::abs(excerpt.left[i] - whole.left[3 * 88200 + i])));
  EXPECT_LT(error, 1e-4);
  EXPECT_GT(rmsBetween(excerpt, 0.0, 2.0), 0.01);

  EXPECT_THROW(renderSong(song, {.bars = BarRange{3, 2}}), std::invalid_argument);
  EXPECT_THROW(renderSong(song, {.bars = BarRange{-1, 1}}), std::invalid_argument);
  EXPECT_THROW(renderSong(song, {.seconds = 1.0, .bars = BarRange{0, 1}}), std::invalid_argument);
}

TEST(Render, ExcerptOfALoopsFirstBarHearsTheEndRingingOn) {
  Song song = tinySong(".... X... .... ....");
  song.sections.push_back({"second", 1, {{"bass", "bass"}}});  // ends on a bass note
  const auto startOf = [&](Ending ending) {
    song.ending = ending;
    return rmsBetween(renderMix(song, {.bars = BarRange{0, 1}}), 0.0, 0.4);
  };
  EXPECT_EQ(startOf(Ending::RingOut), 0.0);
  EXPECT_GT(startOf(Ending::Loop), 1e-3);  // the last note's reverb
}

TEST(Render, KickDucksTheInstrumentsThatFollowIt) {
  Song song = tinySong(".... X... .... ....");  // one kick, on the second beat (0.5 s)
  song.instruments[0].mix.gainDb = -120.0f;     // keys the side-chain without being heard
  song.instruments[1].mix.reverbSend = 0.0f;
  song.patterns[1] = melody("bass", "0 - - - - - - - - - - - - - - -");
  const auto dip = [&](float duck) {
    song.instruments[1].mix.duck = duck;
    const StereoBuffer mix = renderMix(song);
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

}  // namespace
}  // namespace musicgen
