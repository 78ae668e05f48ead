// "Gløw": mellow melodic electronica in D major at 105 BPM, with a little swing. Soft
// kick and rim, a round bass, warm electric-piano chords, and a bell melody that echoes
// across the stereo field.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch roundBass() {
  return {.layers = {{.wave = Wave::Sine, .level = 0.9f}, {.wave = Wave::Triangle, .level = 0.5f}},
          .amp = {.attack = 0.006f, .decay = 0.6f, .sustain = 0.7f, .release = 0.12f},
          .filter = {.cutoffHz = 700.0f}};
}

SynthPatch electricPiano() {
  return {.layers = {{.wave = Wave::Triangle, .level = 0.8f},
                     {.wave = Wave::Sine, .level = 0.35f, .semitones = 12.0f},
                     {.wave = Wave::Saw, .level = 0.12f, .semitones = 0.05f}},
          .amp = {.attack = 0.004f, .decay = 1.6f, .sustain = 0.25f, .release = 0.5f},
          .filterEnvelope = {.attack = 0.002f, .decay = 0.5f, .sustain = 0.2f, .release = 0.3f},
          .filter = {.cutoffHz = 1300.0f, .resonance = 0.1f, .envelopeOctaves = 1.2f}};
}

SynthPatch warmPad() {
  return {
      .layers =
          {{.wave = Wave::Saw, .level = 0.8f, .unison = 3, .detuneCents = 14.0f, .width = 0.8f}},
      .amp = {.attack = 0.7f, .decay = 1.0f, .sustain = 0.85f, .release = 1.0f},
      .filter = {.cutoffHz = 900.0f, .resonance = 0.05f}};
}

SynthPatch bell() {
  // An octave-and-a-fifth partial over the fundamental reads as a soft bell.
  return {.layers = {{.wave = Wave::Sine, .level = 0.9f},
                     {.wave = Wave::Sine, .level = 0.25f, .semitones = 19.0f}},
          .amp = {.attack = 0.002f, .decay = 0.9f, .sustain = 0.0f, .release = 0.6f}};
}

}  // namespace

Song glow() {
  Song song;
  song.title = "Gløw";
  song.bpm = 105.0;
  song.rootNote = 38;  // D2
  song.swing = 0.14f;
  song.seed = 0x676c6f77ull;
  song.delay = {.beats = 0.75f, .feedback = 0.45f, .dampingHz = 3500.0f};
  song.reverb = {.seconds = 3.2f, .dampingHz = 5500.0f, .predelayMs = 30.0f};
  song.sidechain = {.attackMs = 8.0f, .releaseBeats = 0.35f};
  song.tailSeconds = 2.0;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = 0.0f, .keysSidechain = true}, 0.92f, 1.0f, 0.2f),
      drum("rim", DrumKind::Snare, {.gainDb = -6.0f, .pan = 0.1f, .reverbSend = 0.3f}, 1.6f, 0.4f,
           0.2f),
      drum("shaker", DrumKind::ClosedHat, {.gainDb = -17.0f, .pan = -0.3f, .reverbSend = 0.1f},
           1.0f, 2.0f, 0.2f),
      synth("bass", roundBass(), {.gainDb = -4.0f, .duck = 0.6f}),
      synth("keys", electricPiano(),
            {.gainDb = -11.0f, .pan = 0.15f, .reverbSend = 0.3f, .duck = 0.25f}),
      synth("pad", warmPad(), {.gainDb = -20.0f, .reverbSend = 0.5f, .duck = 0.3f}),
      synth("bell", bell(),
            {.gainDb = -14.0f, .pan = -0.2f, .delaySend = 0.45f, .reverbSend = 0.4f}),
  };

  // Dmaj9, Bm9, Gmaj9, A6: the top voices barely move.
  const std::vector<std::string_view> chords = {"16+19+23+26", "16+19+23+24", "16+19+21+24",
                                                "14+16+19+23"};
  song.patterns = {
      rhythm("kick", "X... .... X..x ...."),
      rhythm("rim", ".... X... .... X..."),
      rhythm("shaker", "o.x. o.xo o.x. o.xx"),
      melody("bass", "0 - - - | - - . 0 | - - 7 - | . 12 - ."),
      comping("keys", chords, "x--. ..x- -.x- ----"),
      comping("pad", chords, "x--- ---- ---- ----"),
      melody("bell",
             ". . 40 - | 38 - 35 - | . . 33 - | - - . . |"
             ". . 38 - | 35 - 33 - | . . 31 - | - - . . |"
             ". . 35 - | 33 - 31 - | . . 28 - | 31 - . . |"
             ". . 33 - | - - 31 - | 28 - - - | . . . . "),
  };

  const std::vector<int> roots = {0, -3, -7, -5};  // D, B, G, A
  song.sections = {
      {"open",
       2,
       {{"kick", "kick"},
        {"shaker", "shaker"},
        {.instrument = "bass", .pattern = "bass", .progression = roots},
        {"keys", "keys"},
        {.instrument = "pad", .pattern = "pad", .transpose = -12}}},
      {"glow",
       4,
       {{"kick", "kick"},
        {"rim", "rim"},
        {"shaker", "shaker"},
        {.instrument = "bass", .pattern = "bass", .progression = roots},
        {"keys", "keys"},
        {.instrument = "pad", .pattern = "pad", .transpose = -12},
        {"bell", "bell"}}},
  };
  return song;
}

}  // namespace musicgen::songs
