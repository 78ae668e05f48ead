// "Vortek 3": driving four-to-the-floor electronica in F minor. A rolling sixteenth bass
// under syncopated supersaw stabs; the lead enters for the second half.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch rollingBass() {
  return {.layers = {{.wave = Wave::Saw, .level = 0.8f}, {.wave = Wave::Sine, .level = 0.9f}},
          .amp = {.attack = 0.002f, .decay = 0.25f, .sustain = 0.7f, .release = 0.04f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.14f, .sustain = 0.0f, .release = 0.05f},
          .filter = {.cutoffHz = 260.0f, .resonance = 0.35f, .envelopeOctaves = 2.6f}};
}

SynthPatch stab() {
  return {.layers =
              {{.wave = Wave::Saw, .level = 0.7f, .unison = 5, .detuneCents = 28.0f, .width = 0.8f},
               {.wave = Wave::Pulse, .level = 0.3f, .semitones = 12.0f, .pulseWidth = 0.35f}},
          .amp = {.attack = 0.003f, .decay = 0.35f, .sustain = 0.0f, .release = 0.12f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.22f, .sustain = 0.0f, .release = 0.1f},
          .filter = {.cutoffHz = 900.0f, .resonance = 0.3f, .envelopeOctaves = 2.2f}};
}

SynthPatch lead() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.6f, .pulseWidth = 0.4f},
                     {.wave = Wave::Saw,
                      .level = 0.5f,
                      .semitones = 0.07f,
                      .unison = 2,
                      .detuneCents = 12.0f,
                      .width = 0.5f}},
          .amp = {.attack = 0.01f, .decay = 0.4f, .sustain = 0.6f, .release = 0.15f},
          .filterEnvelope = {.attack = 0.02f, .decay = 0.5f, .sustain = 0.3f, .release = 0.2f},
          .filter = {
              .cutoffHz = 1800.0f, .resonance = 0.2f, .envelopeOctaves = 1.5f, .keyTrack = 0.5f}};
}

}  // namespace

Song vortek3() {
  Song song;
  song.title = "Vortek 3";
  song.bpm = 128.0;
  song.rootNote = 41;  // F2
  song.seed = 0x766f72746b33ull;
  song.delay = {.beats = 0.75f, .feedback = 0.38f, .dampingHz = 4200.0f};
  song.reverb = {.seconds = 1.8f, .dampingHz = 6000.0f, .predelayMs = 15.0f};
  song.sidechain = {.attackMs = 4.0f, .releaseBeats = 0.22f};

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = 0.0f, .keysSidechain = true}, 1.0f, 1.0f, 0.6f),
      drum("clap", DrumKind::Clap, {.gainDb = -5.0f, .reverbSend = 0.25f}),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -13.0f, .pan = 0.25f, .duck = 0.3f}),
      drum("open hat", DrumKind::OpenHat, {.gainDb = -12.0f, .pan = -0.2f, .duck = 0.5f}, 1.05f),
      synth("bass", rollingBass(), {.gainDb = -4.0f, .duck = 0.75f}),
      synth("stab", stab(),
            {.gainDb = -12.0f, .delaySend = 0.3f, .reverbSend = 0.3f, .duck = 0.6f}),
      synth("lead", lead(),
            {.gainDb = -14.0f, .pan = 0.1f, .delaySend = 0.35f, .reverbSend = 0.25f, .duck = 0.4f}),
  };

  song.patterns = {
      rhythm("four", "X... X... X... X..."),
      rhythm("backbeat", ".... X... .... X..."),
      rhythm("sixteenths", "x.o. x.ox x.o. x.oo"),
      rhythm("offbeats", "..X. ..X. ..X. ..X."),
      melody("roll", ". 0 0 0 | . 0 0 12 | . 0 0 0 | . 0 12 0"),
      // Fm, Db, Eb, C: the major V pulls back to the tonic every fourth bar.
      melody("stabs",
             "12+15+19 . . 12+15+19 | . . 12+15+19 . | . 12+15+19 . . | 12+15+19 . 12+15+19 . |"
             "8+12+15 . . 8+12+15 | . . 8+12+15 . | . 8+12+15 . . | 8+12+15 . 8+12+15 . |"
             "10+14+17 . . 10+14+17 | . . 10+14+17 . | . 10+14+17 . . | 10+14+17 . 10+14+17 . |"
             "7+11+14 . . 7+11+14 | . . 7+11+14 . | . 7+11+14 . . | 7+11+14 . 7+11+14 . "),
      melody("lead",
             "31 - - 27 | - - 24 - | 27 - 31 - | 34 - 31 - |"
             "32 - - 29 | - - 27 - | 24 - 27 - | 29 - - - |"
             "31 - - 29 | - - 26 - | 22 - 26 - | 29 - 31 - |"
             "35 - - 31 | - - 26 - | 23 - - - | . . . . "),
  };

  const std::vector<int> chordRoots = {0, 8, 10, 7};  // F, Db, Eb, C from F1
  song.sections = {
      {"intro",
       2,
       {{"kick", "four"},
        {"hat", "sixteenths"},
        {.instrument = "bass",
         .pattern = "roll",
         .transpose = -12,
         .progression = chordRoots,
         .cutoffFrom = -1.5f,
         .cutoffTo = 0.0f},
        {.instrument = "stab",
         .pattern = "stabs",
         .gainDb = -4.0f,
         .cutoffFrom = -2.0f,
         .cutoffTo = -0.5f}}},
      {"drive",
       2,
       {{"kick", "four"},
        {"clap", "backbeat"},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        {.instrument = "bass", .pattern = "roll", .transpose = -12, .progression = chordRoots},
        {"stab", "stabs"}}},
      {"lift",
       4,
       {{"kick", "four"},
        {"clap", "backbeat"},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        {.instrument = "bass", .pattern = "roll", .transpose = -12, .progression = chordRoots},
        {"stab", "stabs"},
        {"lead", "lead"}}},
  };
  return song;
}

}  // namespace musicgen::songs
