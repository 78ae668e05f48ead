#include "musicgen/pattern_notation.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace musicgen {
namespace {

// step, length, pitch: enough to compare a note at a glance.
void expectNote(const Note& n, int step, int length, int pitch) {
  EXPECT_EQ(n.step, step);
  EXPECT_EQ(n.length, length);
  EXPECT_EQ(n.pitch, pitch);
}

TEST(PatternNotation, MelodyReadsNotesHoldsRestsAndChords) {
  const Pattern p = melody("m", "0 - - . | -5 0+3+7 - . 12", 0.7f);
  EXPECT_EQ(p.name, "m");
  EXPECT_EQ(p.steps, 9);
  ASSERT_EQ(p.notes.size(), 6u);
  expectNote(p.notes[0], 0, 3, 0);
  expectNote(p.notes[1], 4, 1, -5);
  expectNote(p.notes[2], 5, 2, 0);  // the whole chord is held
  expectNote(p.notes[3], 5, 2, 3);
  expectNote(p.notes[4], 5, 2, 7);
  expectNote(p.notes[5], 8, 1, 12);
  for (const Note& n : p.notes) EXPECT_FLOAT_EQ(n.velocity, 0.7f);
}

TEST(PatternNotation, BarLinesSeparateLikeSpacesEvenWhenGlued) {
  const Pattern glued = melody("g", "0 -|- 3|.");
  const Pattern spaced = melody("s", "0 - - 3 .");
  EXPECT_EQ(glued.steps, 5);
  ASSERT_EQ(glued.notes.size(), spaced.notes.size());
  expectNote(glued.notes[0], 0, 3, 0);
  expectNote(glued.notes[1], 3, 1, 3);
}

TEST(PatternNotation, NotesCarryTheirLfoRate) {
  const Pattern p = melody("w", "0@2 - 7@0.5 0");
  ASSERT_EQ(p.notes.size(), 3u);
  EXPECT_FLOAT_EQ(p.notes[0].lfoCyclesPerBeat, 2.0f);
  EXPECT_FLOAT_EQ(p.notes[1].lfoCyclesPerBeat, 0.5f);
  EXPECT_FLOAT_EQ(p.notes[2].lfoCyclesPerBeat, 0.0f);  // the instrument's own rate
  expectNote(p.notes[1], 2, 1, 7);
}

TEST(PatternNotation, SlidesAndAccentsMarkTheirNotes) {
  const Pattern p = melody("acid", "0 ~7! 5!@2 ~3@0.5 0+12!", 0.6f);
  ASSERT_EQ(p.notes.size(), 6u);
  EXPECT_FALSE(p.notes[0].glide);
  EXPECT_FALSE(p.notes[0].accent);
  EXPECT_FLOAT_EQ(p.notes[0].velocity, 0.6f);
  EXPECT_TRUE(p.notes[1].glide);
  EXPECT_TRUE(p.notes[1].accent);
  EXPECT_FLOAT_EQ(p.notes[1].velocity, 1.0f);  // an accent plays at full velocity
  expectNote(p.notes[1], 1, 1, 7);
  EXPECT_TRUE(p.notes[2].accent);
  EXPECT_FLOAT_EQ(p.notes[2].lfoCyclesPerBeat, 2.0f);
  EXPECT_TRUE(p.notes[3].glide);
  EXPECT_FALSE(p.notes[3].accent);
  EXPECT_FLOAT_EQ(p.notes[3].lfoCyclesPerBeat, 0.5f);
  expectNote(p.notes[3], 3, 1, 3);
  EXPECT_TRUE(p.notes[4].accent && p.notes[5].accent);  // the whole chord
  EXPECT_THROW(melody("m", "~"), std::invalid_argument);
  EXPECT_THROW(melody("m", "!"), std::invalid_argument);
  EXPECT_THROW(melody("m", "~@2"), std::invalid_argument);
  EXPECT_THROW(melody("m", "3!~"), std::invalid_argument);
}

TEST(PatternNotation, RhythmReadsAccentsNormalHitsAndGhosts) {
  const Pattern p = rhythm("r", "X.x. |o...");
  EXPECT_EQ(p.steps, 8);
  ASSERT_EQ(p.notes.size(), 3u);
  EXPECT_EQ(p.notes[0].step, 0);
  EXPECT_EQ(p.notes[1].step, 2);
  EXPECT_EQ(p.notes[2].step, 4);
  EXPECT_FLOAT_EQ(p.notes[0].velocity, 1.0f);
  EXPECT_LT(p.notes[1].velocity, 1.0f);
  EXPECT_LT(p.notes[2].velocity, p.notes[1].velocity);
}

TEST(PatternNotation, CompingPlaysEachChordThroughItsOwnBar) {
  const Pattern p = comping("c", {"0+4", "5+9"}, "x-.x");
  EXPECT_EQ(p.steps, 8);
  ASSERT_EQ(p.notes.size(), 8u);
  expectNote(p.notes[0], 0, 2, 0);
  expectNote(p.notes[1], 0, 2, 4);
  expectNote(p.notes[2], 3, 1, 0);
  expectNote(p.notes[4], 4, 2, 5);
  expectNote(p.notes[7], 7, 1, 9);
}

TEST(PatternNotation, RejectsWhatItCannotRead) {
  EXPECT_THROW(melody("m", "- 0"), std::invalid_argument);    // hold with nothing sounding
  EXPECT_THROW(melody("m", "0 . -"), std::invalid_argument);  // hold after a rest
  EXPECT_THROW(melody("m", "0 x"), std::invalid_argument);
  EXPECT_THROW(melody("m", "0+"), std::invalid_argument);
  EXPECT_THROW(melody("m", "3@"), std::invalid_argument);
  EXPECT_THROW(melody("m", "3@-1"), std::invalid_argument);
  EXPECT_THROW(melody("m", " | "), std::invalid_argument);  // no steps at all
  EXPECT_THROW(rhythm("r", "x.q."), std::invalid_argument);
  EXPECT_THROW(comping("c", {"0"}, "x?"), std::invalid_argument);
}

}  // namespace
}  // namespace musicgen
