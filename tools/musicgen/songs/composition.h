// Helpers for writing the songs' patterns: repetition, arpeggios over a chord list and
// the one-shot parts (a crash on a section's downbeat, a riser across a build).
// Depends on: song, pattern_notation.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "musicgen/pattern_notation.h"
#include "musicgen/song.h"

namespace musicgen::songs {

// `text` n times over, as one pattern text.
inline std::string times(int n, std::string_view text) {
  std::string out;
  for (int i = 0; i < n; ++i) {
    out.append(text);
    out.push_back(' ');
  }
  return out;
}

// A phrase: `unit` (a bar or two of groove) `count` times, the last time replaced by
// `fill`, so every phrase end is marked.
inline std::string phrase(int count, std::string_view unit, std::string_view fill) {
  return times(count - 1, unit) + std::string(fill);
}

// Each chord as a melody token ("15+19+24"), for writing patterns from chord lists.
inline std::vector<std::string> chordTokens(const std::vector<std::vector<int>>& chords) {
  std::vector<std::string> tokens;
  for (const std::vector<int>& chord : chords) {
    std::string token;
    for (int note : chord) {
      if (!token.empty()) token += '+';
      token += std::to_string(note);
    }
    tokens.push_back(token);
  }
  return tokens;
}

// A melody text that runs `order` over each chord in turn. `order` holds one token per
// step: a digit k picks the chord's k-th note counted upwards, continuing an octave up
// past the chord's top ("3" on a triad is its root an octave higher); '.' rests and '-'
// holds, as in the melody notation.
inline std::string arpeggio(const std::vector<std::vector<int>>& chords, std::string_view order) {
  std::string out;
  for (const std::vector<int>& chord : chords) {
    if (chord.empty()) throw std::invalid_argument("arpeggio over an empty chord");
    for (char c : order) {
      if (c == ' ' || c == '|') continue;
      if (c == '.' || c == '-') {
        out.push_back(c);
      } else if (c >= '0' && c <= '9') {
        const auto k = static_cast<std::size_t>(c - '0');
        out += std::to_string(chord[k % chord.size()] + 12 * static_cast<int>(k / chord.size()));
      } else {
        throw std::invalid_argument("arpeggio order has a '" + std::string(1, c) + "'");
      }
      out.push_back(' ');
    }
    out.append("| ");
  }
  return out;
}

// Each step of a melody text held `factor` times as long: the same line at a fraction of
// the speed. Chords, rests and marks stay as they are.
inline std::string stretch(std::string_view text, int factor) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '|')) ++at;
    std::size_t end = at;
    while (end < text.size() && text[end] != ' ' && text[end] != '|') ++end;
    if (end == at) break;
    const std::string_view token = text.substr(at, end - at);
    out.append(token);
    out.push_back(' ');
    for (int i = 1; i < factor; ++i) out.append(token == "." ? ". " : "- ");
    at = end;
  }
  return out;
}

// A melody text with every note moved `degrees` steps along `scale` (semitones of one
// octave from the root, ascending): a diatonic harmony line. Notes outside the scale
// throw; chords and marks (~ ! @) are kept.
inline std::string diatonicShift(std::string_view text, const std::vector<int>& scale,
                                 int degrees) {
  const int size = static_cast<int>(scale.size());
  const auto shiftNote = [&](int pitch) {
    const int octave = (pitch >= 0 ? pitch : pitch - 11) / 12;
    const int inOctave = pitch - 12 * octave;
    int degree = -1;
    for (int d = 0; d < size; ++d)
      if (scale[static_cast<std::size_t>(d)] == inOctave) degree = d;
    if (degree < 0)
      throw std::invalid_argument("note " + std::to_string(pitch) + " is off the scale");
    const int moved = degree + degrees;
    const int movedOctave = octave + (moved >= 0 ? moved / size : (moved - size + 1) / size);
    return scale[static_cast<std::size_t>(moved - (movedOctave - octave) * size)] +
           12 * movedOctave;
  };
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '@') {  // an LFO rate runs to the end of its token and is no note
      while (at < text.size() && text[at] != ' ' && text[at] != '|') out.push_back(text[at++]);
      continue;
    }
    const bool startsNumber =
        (c >= '0' && c <= '9') ||
        (c == '-' && at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '9');
    if (startsNumber) {
      std::size_t end = at + 1;
      while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
      out += std::to_string(shiftNote(std::stoi(std::string(text.substr(at, end - at)))));
      at = end;
    } else {
      out.push_back(c);
      ++at;
    }
  }
  return out;
}

// One hit on the first step of a bar: crashes and other section markers.
inline Pattern downbeat(std::string name, int stepsPerBar = 16) {
  return {std::move(name), stepsPerBar, {{.step = 0, .length = 1, .pitch = 0, .velocity = 1.0f}}};
}

// A single note held for `bars` bars: risers, drones, long sub notes.
inline Pattern held(std::string name, int bars, int pitch = 0, int stepsPerBar = 16) {
  return {std::move(name),
          bars * stepsPerBar,
          {{.step = 0, .length = bars * stepsPerBar, .pitch = pitch, .velocity = 1.0f}}};
}

}  // namespace musicgen::songs
