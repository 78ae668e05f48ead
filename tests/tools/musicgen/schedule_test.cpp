#include "musicgen/schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "musicgen/pattern_notation.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

// 120 BPM: a step is exactly 5512.5 frames, a bar 88200.
Song smallSong() {
  Song song;
  song.id = "small";
  song.bpm = 120.0;
  song.rootNote = 48;
  song.instruments = {{"bass", SynthPatch{}, {}}, {"kick", DrumPatch{}, {}}};
  song.patterns = {
      melody("one bar", "0 - . 3 | . . . . | 7 . . . | . . . ."),
      melody("two bars",
             ". . . . | . . . . | . . . . | . . . . | 5 . . . | . . . . | . . . . | . . . ."),
      melody("long note", "0 - - - - - - - - - - - - - - - - - - - - - - -"),
      rhythm("four", "X... X... X... X...")};
  return song;
}

TEST(Schedule, NotesLandOnTheirStepsInFrames) {
  Song song = smallSong();
  song.sections = {{"a", 1, {{"bass", "one bar"}}}};
  const auto notes = scheduleNotes(song, arrangementSteps(song), kRate);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].startFrame, 0);
  EXPECT_EQ(notes[0].lengthFrames, 11025);
  EXPECT_EQ(notes[0].midiNote, 48);
  EXPECT_EQ(notes[1].startFrame, 16538);  // step 3 = 16537.5, rounded
  EXPECT_EQ(notes[1].midiNote, 51);
  EXPECT_EQ(notes[2].startFrame, 44100);  // step 8: half a bar is one second at 120 BPM
}

TEST(Schedule, SwingDelaysOnlyTheSecondSixteenthOfEachPair) {
  Song song = smallSong();
  song.swing = 0.2f;
  const Timing t = timingOf(song, kRate);
  EXPECT_EQ(t.frameOf(2), 11025);
  EXPECT_EQ(t.frameOf(3), std::llround(3.2 * 5512.5));
  EXPECT_EQ(t.frameOf(16), 88200);
}

TEST(Schedule, PatternsRepeatThroughTheirSectionAndStopAtItsEnd) {
  Song song = smallSong();
  song.sections = {{"a", 2, {{"bass", "one bar"}, {"kick", "two bars"}}},
                   {"b", 1, {{"bass", "long note"}}}};
  const auto notes = scheduleNotes(song, arrangementSteps(song), kRate);
  int bassInA = 0, kickNotes = 0;
  for (const auto& n : notes) {
    if (n.instrument == 0 && n.startFrame < 2 * 88200) ++bassInA;
    if (n.instrument == 1) ++kickNotes;
  }
  EXPECT_EQ(bassInA, 6);    // three notes, twice
  EXPECT_EQ(kickNotes, 1);  // the two-bar pattern fits once
  const auto& last = notes.back();
  EXPECT_EQ(last.startFrame, 2 * 88200);
  EXPECT_EQ(last.lengthFrames, 88200) << "a note held for 24 steps stops with its one-bar section";
}

TEST(Schedule, ClipsTransposeAndFollowTheirProgressionBarByBar) {
  Song song = smallSong();
  song.sections = {
      {"a", 3, {{.instrument = "kick", .pattern = "four", .transpose = 2, .progression = {0, 5}}}}};
  const auto notes = scheduleNotes(song, arrangementSteps(song), kRate);
  ASSERT_EQ(notes.size(), 12u);
  EXPECT_EQ(notes[0].midiNote, 50);
  EXPECT_EQ(notes[4].midiNote, 55);
  EXPECT_EQ(notes[8].midiNote, 50);  // the progression cycles
}

TEST(Schedule, AskingForMoreThanTheArrangementStartsItAgain) {
  Song song = smallSong();
  song.sections = {{"a", 1, {{"kick", "four"}}}};
  song.sections[0].clips[0].gainDb = -6.0f;
  const auto notes = scheduleNotes(song, 16 * 2 + 5, kRate);  // two bars and a beat and a step
  ASSERT_EQ(notes.size(), 10u);
  EXPECT_EQ(notes[8].startFrame, 2 * 88200);
  EXPECT_EQ(notes[9].startFrame, 198450);  // step 36
  EXPECT_NEAR(notes[0].velocity, 0.501f, 0.001f);
}

TEST(Schedule, CutoffAutomationRampsAcrossItsSection) {
  Song song = smallSong();
  song.sections = {
      {"a", 1, {{"kick", "four"}}},
      {"b",
       2,
       {{.instrument = "bass", .pattern = "one bar", .cutoffFrom = -2.0f, .cutoffTo = 1.0f}}}};
  const auto notes = scheduleNotes(song, arrangementSteps(song), kRate);
  const Ramp& ramp = notes.back().cutoffOctaves;
  EXPECT_FLOAT_EQ(ramp.at(0), -2.0f);
  EXPECT_FLOAT_EQ(ramp.at(88200), -2.0f);
  EXPECT_FLOAT_EQ(ramp.at(88200 + 88200), -0.5f);
  EXPECT_FLOAT_EQ(ramp.at(3 * 88200), 1.0f);
  EXPECT_FLOAT_EQ(ramp.at(9 * 88200), 1.0f);
}

TEST(Schedule, ClipsCanPlayJustPartOfTheirSectionAndStartTheirPatternThere) {
  Song song = smallSong();
  song.patterns.push_back(melody("two notes",
                                 "0 . . . | . . . . | . . . . | . . . . |"
                                 "3 . . . | . . . . | . . . . | . . . ."));
  song.sections = {{"a",
                    4,
                    {{.instrument = "kick", .pattern = "four", .startBar = -1},
                     {.instrument = "bass",
                      .pattern = "two notes",
                      .progression = {0, 10, 20, 30},
                      .startBar = 1,
                      .bars = 2}}}};
  int kicks = 0;
  std::vector<ScheduledNote> bass;
  for (const ScheduledNote& n : scheduleNotes(song, arrangementSteps(song), kRate)) {
    if (n.instrument == 1) {
      ++kicks;
      EXPECT_GE(n.startFrame, 3 * 88200) << "only the last bar";
    } else {
      bass.push_back(n);
    }
  }
  EXPECT_EQ(kicks, 4);
  ASSERT_EQ(bass.size(), 2u);
  // The pattern starts over at the clip; the chord follows the section's bar.
  EXPECT_EQ(bass[0].startFrame, 88200);
  EXPECT_EQ(bass[0].midiNote, 48 + 10);
  EXPECT_EQ(bass[1].startFrame, 2 * 88200);
  EXPECT_EQ(bass[1].midiNote, 48 + 20 + 3);
}

TEST(Schedule, LevelRampsAcrossTheClipNoteByNote) {
  Song song = smallSong();
  song.sections = {{"a",
                    2,
                    {{.instrument = "kick",
                      .pattern = "four",
                      .gainDb = -6.0f,
                      .levelFromDb = -20.0f,
                      .levelToDb = 0.0f}}}};
  const auto notes = scheduleNotes(song, arrangementSteps(song), kRate);
  ASSERT_EQ(notes.size(), 8u);
  const auto db = [](float v) { return 20.0 * std::log10(v); };
  EXPECT_NEAR(db(notes[0].velocity), -26.0, 0.01);
  EXPECT_NEAR(db(notes[4].velocity), -16.0, 0.01);  // halfway through the clip
  EXPECT_NEAR(db(notes[7].velocity), -8.5, 0.01);   // step 28 of 32
}

TEST(Schedule, SlidingNotesStartFromTheNoteBeforeThemEvenAcrossARepeat) {
  Song song = smallSong();
  song.patterns.push_back(melody("slides", "~0 ~7 . ~12! | . . . . | . . . . | . . . ."));
  song.sections = {{"a", 2, {{.instrument = "bass", .pattern = "slides", .progression = {0, 5}}}}};
  const auto notes = scheduleNotes(song, arrangementSteps(song), kRate);
  ASSERT_EQ(notes.size(), 6u);
  EXPECT_FALSE(notes[0].glideFrom.has_value()) << "nothing plays before the clip's first note";
  EXPECT_EQ(notes[1].glideFrom, 48);
  EXPECT_EQ(notes[2].glideFrom, 55);
  EXPECT_TRUE(notes[2].accent);
  EXPECT_FALSE(notes[1].accent);
  // The second bar's first note is a fourth up and slides from the first bar's last.
  EXPECT_EQ(notes[3].midiNote, 53);
  EXPECT_EQ(notes[3].glideFrom, 60);
}

TEST(SongValidation, RejectsBrokenReferencesAndImpossibleValues) {
  Song good = smallSong();
  good.sections = {{"a", 1, {{"bass", "one bar"}}}};
  EXPECT_NO_THROW(validateSong(good));

  Song s = good;
  s.sections[0].clips[0].instrument = "tuba";
  EXPECT_THROW(validateSong(s), std::invalid_argument);
  s = good;
  s.sections[0].clips[0].pattern = "missing";
  EXPECT_THROW(validateSong(s), std::invalid_argument);
  s = good;
  s.instruments.push_back(s.instruments[0]);
  EXPECT_THROW(validateSong(s), std::invalid_argument);
  s = good;
  s.patterns[0].notes.push_back({.step = 16});
  EXPECT_THROW(validateSong(s), std::invalid_argument);
  s = good;
  s.sections[0].bars = 0;
  EXPECT_THROW(validateSong(s), std::invalid_argument);
  s = good;
  s.swing = 0.5f;
  EXPECT_THROW(validateSong(s), std::invalid_argument);
  s = good;
  s.sections.clear();
  EXPECT_THROW(validateSong(s), std::invalid_argument);
  for (const auto& [start, bars] :
       {std::pair{1, 0}, std::pair{-2, 0}, std::pair{0, 2}, std::pair{0, -1}}) {
    s = good;  // a one-bar section
    s.sections[0].clips[0].startBar = start;
    s.sections[0].clips[0].bars = bars;
    EXPECT_THROW(validateSong(s), std::invalid_argument) << start << " " << bars;
  }
  s = good;
  s.sections[0].clips[0].startBar = -1;  // the last bar, which is also the first
  EXPECT_NO_THROW(validateSong(s));
}

}  // namespace
}  // namespace musicgen
