#include "musicgen/songs/composition.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "musicgen/pattern_notation.h"

namespace musicgen::songs {
namespace {

// The pitches of a melody text's notes, in order.
std::vector<int> pitches(const std::string& text) {
  std::vector<int> out;
  for (const Note& n : melody("m", text).notes) out.push_back(n.pitch);
  return out;
}

TEST(Composition, TimesRepeatsAPatternText) {
  EXPECT_EQ(melody("r", times(3, "0 . 7 -")).steps, 12);
  EXPECT_EQ(times(0, "0"), "");
}

TEST(Composition, ChordTokensPlayTheChordsInOrder) {
  const std::vector<std::string> tokens = chordTokens({{0, 4, 7}, {-3, 12}});
  EXPECT_EQ(tokens, (std::vector<std::string>{"0+4+7", "-3+12"}));
  EXPECT_EQ(melody("c", tokens[1]).notes.size(), 2u);
}

TEST(Composition, ArpeggioWalksEachChordAndClimbsPastItsTop) {
  const std::string text = arpeggio({{0, 4, 7}, {5, 9, 12}}, "0 1 2 3 4 . 6 -");
  const Pattern p = melody("a", text);
  EXPECT_EQ(p.steps, 16);
  EXPECT_EQ(pitches(text), (std::vector<int>{0, 4, 7, 12, 16, 24, 5, 9, 12, 17, 21, 29}));
  EXPECT_EQ(p.notes[5].length, 2);  // '-' holds, '.' rests
  EXPECT_THROW(arpeggio({{0, 4, 7}}, "0 x"), std::invalid_argument);
  EXPECT_THROW(arpeggio({{}}, "0"), std::invalid_argument);
}

TEST(Composition, StretchPlaysTheSameLineSlower) {
  const Pattern slow = melody("s", stretch("0 - 7 . ~5!", 2));
  EXPECT_EQ(slow.steps, 10);
  ASSERT_EQ(slow.notes.size(), 3u);
  EXPECT_EQ(slow.notes[0].length, 4);
  EXPECT_EQ(slow.notes[1].step, 4);
  EXPECT_EQ(slow.notes[1].length, 2);  // then two steps of rest
  EXPECT_EQ(slow.notes[2].step, 8);
  EXPECT_TRUE(slow.notes[2].glide && slow.notes[2].accent);
}

TEST(Composition, DiatonicShiftHarmonisesWithinTheScale) {
  const std::vector<int> aMinor = {0, 2, 3, 5, 7, 8, 10};
  // A third below in A minor: E to C, D to B, C to A, A to F; octaves carry over, and the
  // marks and the LFO rate stay as they were.
  EXPECT_EQ(pitches(diatonicShift("31 29 27 24 12 -2", aMinor, -2)),
            (std::vector<int>{27, 26, 24, 20, 8, -5}));
  EXPECT_EQ(diatonicShift("~7!@12 0+3 - .", aMinor, 1), "~8!@12 2+5 - .");
  EXPECT_THROW(diatonicShift("1", aMinor, 2), std::invalid_argument);  // B flat is not in it
}

TEST(Composition, SectionMarkersAreOneHitOrOneHeldNote) {
  const Pattern crash = downbeat("crash");
  EXPECT_EQ(crash.steps, 16);
  ASSERT_EQ(crash.notes.size(), 1u);
  EXPECT_EQ(crash.notes[0].step, 0);
  const Pattern riser = held("riser", 4, 7);
  EXPECT_EQ(riser.steps, 64);
  ASSERT_EQ(riser.notes.size(), 1u);
  EXPECT_EQ(riser.notes[0].length, 64);
  EXPECT_EQ(riser.notes[0].pitch, 7);
}

}  // namespace
}  // namespace musicgen::songs
