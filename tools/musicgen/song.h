// A song as data: its instruments, the patterns they play and the arrangement that says
// which pattern each instrument plays in which section. Songs live in songs/*.cpp; the
// renderer knows nothing about any particular one.
// Depends on: drums, synth_voice, effects, sidechain (for the patch types).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "musicgen/drums.h"
#include "musicgen/effects.h"
#include "musicgen/sidechain.h"
#include "musicgen/synth_voice.h"

namespace musicgen {

// How an instrument sits in the mix.
struct MixSettings {
  float gainDb = 0.0f;
  float pan = 0.0f;            // -1 left .. 1 right
  float delaySend = 0.0f;      // 0..1
  float reverbSend = 0.0f;     // 0..1
  float duck = 0.0f;           // 0..1: how far the side-chain pulls the level down
  bool keysSidechain = false;  // its hits trigger the side-chain (the kick)
};

struct Instrument {
  std::string name{};
  std::variant<SynthPatch, DrumPatch> patch{};
  MixSettings mix{};
};

// Times in sixteenth-note steps from the pattern's start.
struct Note {
  int step = 0;
  int length = 1;
  int pitch = 0;  // semitones above the song's root (drums: tuning offset)
  float velocity = 1.0f;
  float lfoCyclesPerBeat = 0.0f;  // > 0 sets the instrument's LFO rate for this note
  bool glide = false;   // starts at the pattern's previous note and slides to its own pitch
  bool accent = false;  // opens the filter further (the instrument's accentOctaves)
};

struct Pattern {
  std::string name{};
  int steps = 16;  // repeats every this many steps
  std::vector<Note> notes{};
};

// One instrument playing one pattern through a section (or a stretch of it), the pattern
// repeating as needed.
struct Clip {
  std::string instrument{};
  std::string pattern{};
  int transpose = 0;               // semitones
  std::vector<int> progression{};  // extra transpose per bar, cycling: a bass following chords
  float gainDb = 0.0f;
  float cutoffFrom = 0.0f;  // filter automation in octaves, ramped across the clip
  float cutoffTo = 0.0f;
  float levelFromDb = 0.0f;  // level automation on top of gainDb, ramped across the clip
  float levelToDb = 0.0f;    // (each note takes the level at its start)
  int startBar = 0;          // bar of the section the clip starts on; negative counts from the end
  int bars = 0;              // how long it plays; 0 = to the section's end
};

struct Section {
  std::string name{};
  int bars = 4;
  std::vector<Clip> clips{};
};

// What happens after the last bar: ring out (the tail is part of the file), or fold the
// tail onto the start so the file loops without a seam.
enum class Ending { RingOut, Loop };

struct Song {
  std::string id{};  // the name the tool is called with
  std::string title{};
  double bpm = 120.0;
  int rootNote = 45;  // MIDI note every pitch is relative to
  int beatsPerBar = 4;
  float swing = 0.0f;  // 0..0.5 of a step: delays every second sixteenth
  std::uint64_t seed = 1;

  std::vector<Instrument> instruments{};
  std::vector<Pattern> patterns{};
  std::vector<Section> sections{};

  DelayPatch delay{};
  ReverbPatch reverb{};
  SidechainPatch sidechain{};
  Ending ending = Ending::RingOut;
  double tailSeconds = 1.5;
  float masterDrive = 1.2f;  // soft saturation on the master before the final level
};

// Throws std::invalid_argument naming the first broken reference or impossible value.
void validateSong(const Song& song);

}  // namespace musicgen
