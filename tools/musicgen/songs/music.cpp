// "music": a short, bright loop in C major at 120 BPM with a chip-tune flavour: pulse-wave
// bass, arpeggio and lead over a small drum kit. Its tail folds back onto its start, so it
// can repeat without a seam.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch pulseBass() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.6f, .pulseWidth = 0.5f},
                     {.wave = Wave::Triangle, .level = 0.7f}},
          .amp = {.attack = 0.002f, .decay = 0.15f, .sustain = 0.6f, .release = 0.03f},
          .filter = {.cutoffHz = 900.0f, .resonance = 0.1f}};
}

SynthPatch chipArp() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.7f, .pulseWidth = 0.25f}},
          .amp = {.attack = 0.001f, .decay = 0.12f, .sustain = 0.3f, .release = 0.04f},
          .filter = {.cutoffHz = 5000.0f}};
}

SynthPatch chipLead() {
  return {
      .layers = {{.wave = Wave::Pulse, .level = 0.7f, .pulseWidth = 0.5f},
                 {.wave = Wave::Pulse, .level = 0.3f, .semitones = 12.04f, .pulseWidth = 0.125f}},
      .amp = {.attack = 0.003f, .decay = 0.3f, .sustain = 0.65f, .release = 0.08f},
      .filter = {.cutoffHz = 4500.0f}};
}

}  // namespace

Song music() {
  Song song;
  song.title = "music";
  song.bpm = 120.0;
  song.rootNote = 48;  // C3
  song.seed = 0x6d75736963ull;
  song.delay = {.beats = 0.5f, .feedback = 0.3f, .dampingHz = 5000.0f};
  song.reverb = {.seconds = 1.2f, .dampingHz = 7000.0f, .predelayMs = 10.0f};
  song.sidechain = {.attackMs = 4.0f, .releaseBeats = 0.2f};
  song.ending = Ending::Loop;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = 0.0f, .keysSidechain = true}, 1.1f, 0.7f, 0.6f),
      drum("snare", DrumKind::Snare, {.gainDb = -5.0f, .reverbSend = 0.15f}, 1.25f, 0.6f, 0.7f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -15.0f, .pan = 0.3f}, 1.2f),
      synth("bass", pulseBass(), {.gainDb = -7.0f, .duck = 0.4f}),
      synth("arp", chipArp(), {.gainDb = -19.0f, .pan = -0.3f, .delaySend = 0.25f, .duck = 0.3f}),
      synth("lead", chipLead(),
            {.gainDb = -15.0f, .pan = 0.1f, .delaySend = 0.3f, .reverbSend = 0.2f, .duck = 0.2f}),
  };

  song.patterns = {
      rhythm("kick", "X... ..x. X... ...."),
      rhythm("snare", ".... X... .... X.o."),
      rhythm("hat", "x.x. x.x. x.x. x.xx"),
      melody("bass", "0 . 12 . | 0 . 12 . | 0 . 12 . | 0 12 0 12"),
      melody("arp",
             "12 16 19 24 12 16 19 24 12 16 19 24 12 16 19 24 |"
             "9 12 16 21 9 12 16 21 9 12 16 21 9 12 16 21 |"
             "9 12 17 21 9 12 17 21 9 12 17 21 9 12 17 21 |"
             "7 11 14 19 7 11 14 19 7 11 14 19 7 11 14 19"),
      melody("lead",
             "28 - 31 - | 28 - 24 - | 26 - 28 - | 24 - - - |"
             "21 - 24 - | 28 - 26 - | 24 - 21 - | - - . . |"
             "21 - 24 - | 29 - 28 - | 26 - 24 - | 21 - 24 - |"
             "26 - - - | 23 - 26 - | 31 - 29 - | 26 - - - "),
  };

  const std::vector<int> roots = {0, -3, -7, -5};  // C, A, F, G
  song.sections = {
      {"intro",
       2,
       {{"kick", "kick"},
        {"hat", "hat"},
        {.instrument = "bass", .pattern = "bass", .transpose = -12, .progression = roots},
        {"arp", "arp"}}},
      {"tune",
       4,
       {{"kick", "kick"},
        {"snare", "snare"},
        {"hat", "hat"},
        {.instrument = "bass", .pattern = "bass", .transpose = -12, .progression = roots},
        {"arp", "arp"},
        {"lead", "lead"}}},
  };
  return song;
}

}  // namespace musicgen::songs
