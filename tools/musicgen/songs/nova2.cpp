// "Nova 2": Nova's theme taken somewhere else. A squelchy resonant bassline and offbeat
// organ stabs replace the pad and arpeggio, a snare replaces the clap, and the theme
// comes in on a hollow pulse lead with long echoes. Slightly faster, same key.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/nova_theme.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch acidBass() {
  return {.layers = {{.wave = Wave::Saw, .level = 1.0f}},
          .amp = {.attack = 0.002f, .decay = 0.2f, .sustain = 0.7f, .release = 0.03f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.16f, .sustain = 0.0f, .release = 0.05f},
          .filter = {.cutoffHz = 260.0f, .resonance = 0.85f, .envelopeOctaves = 3.0f},
          .drive = 1.2f};
}

SynthPatch organStab() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.6f},
                     {.wave = Wave::Sine, .level = 0.6f, .semitones = 12.0f},
                     {.wave = Wave::Sine, .level = 0.3f, .semitones = 19.0f}},
          .amp = {.attack = 0.003f, .decay = 0.18f, .sustain = 0.0f, .release = 0.06f},
          .filter = {.cutoffHz = 2400.0f, .resonance = 0.1f}};
}

SynthPatch pulseLead() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.8f, .pulseWidth = 0.5f},
                     {.wave = Wave::Pulse, .level = 0.4f, .semitones = 0.08f, .pulseWidth = 0.3f}},
          .amp = {.attack = 0.005f, .decay = 0.25f, .sustain = 0.7f, .release = 0.15f},
          .filterEnvelope = {.attack = 0.005f, .decay = 0.3f, .sustain = 0.4f, .release = 0.1f},
          .filter = {
              .cutoffHz = 1500.0f, .resonance = 0.25f, .envelopeOctaves = 1.2f, .keyTrack = 0.6f}};
}

}  // namespace

Song nova2() {
  Song song;
  song.title = "Nova 2";
  song.bpm = 140.0;
  song.rootNote = 45;  // A2
  song.seed = 0x6e6f766132ull;
  song.delay = {.beats = 0.5f, .feedback = 0.5f, .dampingHz = 3800.0f};
  song.reverb = {.seconds = 1.6f, .dampingHz = 6000.0f, .predelayMs = 12.0f};
  song.sidechain = {.attackMs = 3.0f, .releaseBeats = 0.2f};

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = 0.0f, .keysSidechain = true}, 1.06f, 0.8f, 0.7f),
      drum("snare", DrumKind::Snare, {.gainDb = -4.0f, .reverbSend = 0.2f}, 1.15f, 0.9f, 0.7f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -13.0f, .pan = -0.25f}, 1.1f),
      drum("open hat", DrumKind::OpenHat, {.gainDb = -13.0f, .pan = 0.2f, .duck = 0.4f}, 1.1f,
           0.6f),
      synth("acid", acidBass(), {.gainDb = -8.5f, .delaySend = 0.08f, .duck = 0.75f}),
      synth("stab", organStab(),
            {.gainDb = -15.0f, .pan = 0.15f, .reverbSend = 0.25f, .duck = 0.4f}),
      synth("lead", pulseLead(),
            {.gainDb = -14.0f, .pan = -0.1f, .delaySend = 0.45f, .reverbSend = 0.2f, .duck = 0.3f}),
  };

  song.patterns = {
      rhythm("four", "X... X... X... X..."),
      rhythm("snare", ".... X... .... X..o | .... X... .o.. X.oo"),
      rhythm("hats", "x.xx x.xo x.xx x.xx"),
      rhythm("open hats", "..x. ..x. ..x. ..X."),
      melody("acid", "0 0 12 0 | 0 12 0 3 | 0 0 12 0 | 7 0 12 0"),
      comping("stabs", kNovaChords, "..x. ..x. ..x. ..x-"),
      melody("theme", kNovaTheme),
  };

  song.sections = {
      {"groove",
       4,
       {{"kick", "four"},
        {"hat", "hats"},
        {.instrument = "acid",
         .pattern = "acid",
         .transpose = -12,
         .progression = kNovaRoots,
         .cutoffFrom = -1.0f,
         .cutoffTo = 0.6f},
        {"stab", "stabs"}}},
      {"theme",
       4,
       {{"kick", "four"},
        {"snare", "snare"},
        {"hat", "hats"},
        {"open hat", "open hats"},
        {.instrument = "acid",
         .pattern = "acid",
         .transpose = -12,
         .progression = kNovaRoots,
         .cutoffFrom = 0.6f,
         .cutoffTo = 0.6f},
        {"stab", "stabs"},
        {.instrument = "lead", .pattern = "theme", .transpose = -12}}},
  };
  return song;
}

}  // namespace musicgen::songs
