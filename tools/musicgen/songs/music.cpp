// "music": a forty-second loop in C major at 120 BPM with a chip-tune flavour: pulse-wave
// bass, arpeggio and lead over a small drum kit, a tune, a turn to the subdominant and the
// tune again with an echo. Its tail folds back onto its start, so it repeats without a seam.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/composition.h"
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
  song.masterDrive = 0.8f;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = -4.0f, .keysSidechain = true}, 1.1f, 0.7f, 0.6f),
      drum("snare", DrumKind::Snare, {.gainDb = -2.0f, .reverbSend = 0.15f}, 1.25f, 0.6f, 0.7f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -7.0f, .pan = 0.3f}, 1.2f),
      synth("bass", pulseBass(), {.gainDb = -7.0f, .duck = 0.4f}),
      synth("arp", chipArp(), {.gainDb = -15.0f, .pan = -0.3f, .delaySend = 0.25f, .duck = 0.3f}),
      synth("echo", chipArp(), {.gainDb = -14.0f, .pan = -0.4f, .delaySend = 0.5f, .duck = 0.2f}),
      synth("lead", chipLead(),
            {.gainDb = -14.0f, .pan = 0.1f, .delaySend = 0.3f, .reverbSend = 0.2f, .duck = 0.2f}),
  };

  song.patterns = {
      rhythm("kick", "X... ..x. X... ...."),
      rhythm("snare", ".... X... .... X.o."),
      rhythm("fill", ".... X... X.X. XXXX"),
      rhythm("hat", "x.x. x.x. x.x. x.xx"),
      melody("bass", "0 . 12 . | 0 . 12 . | 0 . 12 . | 0 12 0 12"),
      melody("arp", arpeggio({{12, 16, 19}, {9, 12, 16}, {9, 12, 17}, {7, 11, 14}},
                             "0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3")),
      melody("arp turn", arpeggio({{9, 12, 17}, {11, 14, 19}, {11, 16, 19}, {9, 12, 16}},
                                  "0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3")),
      melody("lead",
             "28 - 31 - | 28 - 24 - | 26 - 28 - | 24 - - - |"
             "21 - 24 - | 28 - 26 - | 24 - 21 - | - - . . |"
             "21 - 24 - | 29 - 28 - | 26 - 24 - | 21 - 24 - |"
             "26 - - - | 23 - 26 - | 31 - 29 - | 26 - - - "),
      melody("lead turn",
             "29 - 28 - | 26 - 24 - | 21 - 24 - | 29 - - - |"
             "31 - 29 - | 28 - 26 - | 23 - 26 - | 31 - - - |"
             "28 - 31 - | 35 - 31 - | 28 - 26 - | 28 - - - |"
             "33 - 31 - | 28 - 24 - | 26 - - - | 23 - 26 - "),
  };

  const std::vector<int> roots = {0, -3, -7, -5};       // C, A, F, G
  const std::vector<int> turnRoots = {-7, -5, -8, -3};  // F, G, E, A
  const auto bass = [](const std::vector<int>& progression) {
    return Clip{
        .instrument = "bass", .pattern = "bass", .transpose = -12, .progression = progression};
  };
  song.sections = {
      {"intro", 4, {{"kick", "kick"}, {"hat", "hat"}, bass(roots), {"arp", "arp"}}},
      {"tune",
       8,
       {{"kick", "kick"},
        {"snare", "snare"},
        {"hat", "hat"},
        bass(roots),
        {"arp", "arp"},
        {"lead", "lead"}}},
      {"turn",
       4,
       {{"kick", "kick"},
        {.instrument = "snare", .pattern = "snare", .bars = 3},
        {.instrument = "snare", .pattern = "fill", .startBar = -1},
        {"hat", "hat"},
        bass(turnRoots),
        {"arp", "arp turn"},
        {"lead", "lead turn"}}},
      {"tune again",
       4,
       {{"kick", "kick"},
        {"snare", "snare"},
        {"hat", "hat"},
        bass(roots),
        {"arp", "arp"},
        {"lead", "lead"},
        {.instrument = "echo", .pattern = "lead", .transpose = 12, .gainDb = -8.0f}}},
  };
  return song;
}

}  // namespace musicgen::songs
