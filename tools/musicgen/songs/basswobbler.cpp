// "BassWobbler": half-time wobble music in E minor at 140 BPM. The bass is a saw stack
// through a resonant low-pass whose cutoff an LFO sweeps at a different rate on each
// note; a clean sine sub carries the same notes underneath.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch wobble() {
  return {.layers =
              {{.wave = Wave::Saw, .level = 0.7f, .unison = 2, .detuneCents = 14.0f, .width = 0.4f},
               {.wave = Wave::Pulse, .level = 0.45f, .semitones = 12.0f}},
          .amp = {.attack = 0.004f, .decay = 0.1f, .sustain = 0.9f, .release = 0.05f},
          .filter = {.cutoffHz = 90.0f, .resonance = 0.6f, .keyTrack = 0.5f},
          .lfo = {.cyclesPerBeat = 1.0f, .octaves = 5.8f},
          .drive = 2.0f};
}

SynthPatch sub() {
  return {.layers = {{.wave = Wave::Sine}},
          .amp = {.attack = 0.005f, .decay = 0.1f, .sustain = 1.0f, .release = 0.06f}};
}

SynthPatch pad() {
  return {
      .layers =
          {{.wave = Wave::Saw, .level = 0.8f, .unison = 5, .detuneCents = 22.0f, .width = 0.9f}},
      .amp = {.attack = 0.4f, .decay = 1.0f, .sustain = 0.8f, .release = 0.8f},
      .filter = {.cutoffHz = 1400.0f, .resonance = 0.1f}};
}

SynthPatch chime() {
  return {.layers = {{.wave = Wave::Triangle, .level = 0.8f},
                     {.wave = Wave::Sine, .level = 0.4f, .semitones = 12.0f}},
          .amp = {.attack = 0.002f, .decay = 0.5f, .sustain = 0.0f, .release = 0.3f},
          .filter = {.cutoffHz = 4000.0f}};
}

}  // namespace

Song basswobbler() {
  Song song;
  song.title = "BassWobbler";
  song.bpm = 140.0;
  song.rootNote = 40;  // E2
  song.swing = 0.08f;
  song.seed = 0x776f62626c65ull;
  song.delay = {.beats = 0.75f, .feedback = 0.4f, .dampingHz = 3500.0f};
  song.reverb = {.seconds = 2.6f, .dampingHz = 5000.0f, .predelayMs = 25.0f};
  song.sidechain = {.attackMs = 5.0f, .releaseBeats = 0.45f};

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = 0.0f, .keysSidechain = true}, 0.95f, 1.3f, 0.5f),
      drum("snare", DrumKind::Snare, {.gainDb = -2.0f, .reverbSend = 0.3f}, 1.0f, 1.4f, 0.65f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -14.0f, .pan = 0.2f, .duck = 0.2f}),
      synth("sub", sub(), {.gainDb = -13.0f, .duck = 1.0f}),
      synth("wobble", wobble(), {.gainDb = -12.0f, .duck = 0.6f}),
      synth("pad", pad(), {.gainDb = -19.0f, .reverbSend = 0.5f, .duck = 0.5f}),
      synth(
          "chime", chime(),
          {.gainDb = -13.0f, .pan = -0.15f, .delaySend = 0.4f, .reverbSend = 0.35f, .duck = 0.3f}),
  };

  song.patterns = {
      rhythm("kick", "X... .... ..x. .... | X..x .... .... ...."),
      rhythm("kick sparse", "X... .... .... .... | X... .... .... ...."),
      rhythm("snare", ".... .... X... ...."),
      rhythm("hats", "x.x. x.xo x.x. xoxx"),
      // The number after @ is the wobble rate in cycles per beat: 3 and 6 are triplets.
      melody("wobble",
             "0@1 - - - - - - - | 0@2 - - - - - - - |"
             "0@3 - - - - - - - | 3@2 - - - 5@4 - - - |"
             "8@1 - - - - - - - | 8@3 - - - - - - - |"
             "10@2 - - - - - - - | 10@4 - - - 7@6 - 7@8 -"),
      comping("pad", {"12+15+19", "12+15+19", "8+12+15", "10+14+17"}, "x--- ---- ---- ----"),
      melody("chime",
             ". . 31 - | . 27 . 24 | - - . . | . . . . |"
             ". . 31 - | . 34 . 31 | - - 27 - | . . . . |"
             ". . 32 - | . 31 . 27 | - - . . | . . 24 - |"
             "26 - . . | 29 - . . | 34 - - - | . . . . "),
  };

  song.sections = {
      {"build",
       2,
       {{"kick", "kick sparse"},
        {"hat", "hats"},
        {"pad", "pad"},
        {.instrument = "sub", .pattern = "wobble", .transpose = -12},
        {.instrument = "wobble",
         .pattern = "wobble",
         .transpose = -12,
         .gainDb = -3.0f,
         .cutoffFrom = -1.0f}}},
      {"drop",
       6,
       {{"kick", "kick"},
        {"snare", "snare"},
        {"hat", "hats"},
        {"pad", "pad"},
        {.instrument = "sub", .pattern = "wobble", .transpose = -12},
        {.instrument = "wobble", .pattern = "wobble", .transpose = -12},
        {"chime", "chime"}}},
  };
  return song;
}

}  // namespace musicgen::songs
