// "Nova": oldskool trance in A minor at 138 BPM. Offbeat bass, a wide supersaw pad and a
// sixteenth arpeggio open up over four bars; then the theme arrives on a detuned lead.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/nova_theme.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch offbeatBass() {
  return {.layers = {{.wave = Wave::Saw, .level = 0.7f},
                     {.wave = Wave::Pulse, .level = 0.5f, .semitones = -12.0f}},
          .amp = {.attack = 0.002f, .decay = 0.2f, .sustain = 0.6f, .release = 0.05f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.12f, .sustain = 0.1f, .release = 0.05f},
          .filter = {.cutoffHz = 320.0f, .resonance = 0.3f, .envelopeOctaves = 2.4f}};
}

SynthPatch supersawPad() {
  return {
      .layers =
          {{.wave = Wave::Saw, .level = 1.0f, .unison = 7, .detuneCents = 34.0f, .width = 0.95f}},
      .amp = {.attack = 0.06f, .decay = 0.5f, .sustain = 0.75f, .release = 0.35f},
      .filter = {.cutoffHz = 2600.0f, .resonance = 0.15f}};
}

SynthPatch arpPluck() {
  return {.layers = {{.wave = Wave::Saw, .level = 0.8f},
                     {.wave = Wave::Pulse, .level = 0.3f, .semitones = 12.0f, .pulseWidth = 0.3f}},
          .amp = {.attack = 0.001f, .decay = 0.16f, .sustain = 0.0f, .release = 0.08f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.12f, .sustain = 0.0f, .release = 0.05f},
          .filter = {
              .cutoffHz = 1100.0f, .resonance = 0.35f, .envelopeOctaves = 2.0f, .keyTrack = 0.4f}};
}

SynthPatch themeLead() {
  return {.layers =
              {{.wave = Wave::Saw, .level = 0.9f, .unison = 5, .detuneCents = 18.0f, .width = 0.6f},
               {.wave = Wave::Sine, .level = 0.4f, .semitones = 12.0f}},
          .amp = {.attack = 0.008f, .decay = 0.3f, .sustain = 0.8f, .release = 0.2f},
          .filter = {.cutoffHz = 3200.0f, .resonance = 0.1f, .keyTrack = 0.5f}};
}

}  // namespace

Song nova() {
  Song song;
  song.title = "Nova";
  song.bpm = 138.0;
  song.rootNote = 45;  // A2
  song.seed = 0x6e6f7661ull;
  song.delay = {.beats = 0.75f, .feedback = 0.42f, .dampingHz = 5000.0f};
  song.reverb = {.seconds = 2.8f, .dampingHz = 7000.0f, .predelayMs = 20.0f};
  song.sidechain = {.attackMs = 4.0f, .releaseBeats = 0.28f};

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = 0.0f, .keysSidechain = true}, 1.02f, 0.9f, 0.55f),
      drum("clap", DrumKind::Clap, {.gainDb = -6.0f, .reverbSend = 0.3f}, 1.1f),
      drum("open hat", DrumKind::OpenHat, {.gainDb = -11.0f, .pan = -0.1f, .duck = 0.4f}, 1.0f,
           0.8f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -16.0f, .pan = 0.3f}),
      synth("bass", offbeatBass(), {.gainDb = -5.0f, .duck = 0.5f}),
      synth("pad", supersawPad(), {.gainDb = -17.0f, .reverbSend = 0.4f, .duck = 0.65f}),
      synth("arp", arpPluck(),
            {.gainDb = -16.0f, .pan = 0.2f, .delaySend = 0.4f, .reverbSend = 0.2f, .duck = 0.5f}),
      synth("lead", themeLead(),
            {.gainDb = -15.0f, .delaySend = 0.3f, .reverbSend = 0.35f, .duck = 0.35f}),
  };

  song.patterns = {
      rhythm("four", "X... X... X... X..."),
      rhythm("backbeat", ".... X... .... X..."),
      rhythm("offbeats", "..X. ..X. ..X. ..X."),
      rhythm("sixteenths", "xoxo xoxo xoxo xoxx"),
      melody("offbeat bass", ". . 0 . | . . 0 . | . . 0 . | . . 0 ."),
      comping("pad", kNovaChords, "x--- ---- ---- ---."),
      melody("arp",
             "24 27 31 36 | 31 27 24 27 | 31 36 31 27 | 24 27 31 36 |"
             "20 24 27 32 | 27 24 20 24 | 27 32 27 24 | 20 24 27 32 |"
             "15 19 22 27 | 22 19 15 19 | 22 27 22 19 | 15 19 22 27 |"
             "22 26 29 34 | 29 26 22 26 | 29 34 29 26 | 22 26 29 34"),
      melody("theme", kNovaTheme),
  };

  song.sections = {
      {"rise",
       4,
       {{"kick", "four"},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        {.instrument = "bass",
         .pattern = "offbeat bass",
         .transpose = -12,
         .progression = kNovaRoots},
        {"pad", "pad"},
        {.instrument = "arp", .pattern = "arp", .cutoffFrom = -2.0f, .cutoffTo = 0.0f}}},
      {"theme",
       4,
       {{"kick", "four"},
        {"clap", "backbeat"},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        {.instrument = "bass",
         .pattern = "offbeat bass",
         .transpose = -12,
         .progression = kNovaRoots},
        {"pad", "pad"},
        {"arp", "arp"},
        {"lead", "theme"}}},
  };
  return song;
}

}  // namespace musicgen::songs
