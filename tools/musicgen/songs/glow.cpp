// "Gløw": mellow melodic electronica in D major at 104.4 BPM, with a little swing. Soft
// kick and rim, a round bass, warm electric-piano chords and a bell melody that echoes
// across the stereo field; a second part moves to the subdominant with a breathy lead,
// and after a drumless interlude both melodies return together.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/composition.h"
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

SynthPatch breathLead() {
  return {.layers = {{.wave = Wave::Triangle, .level = 0.8f},
                     {.wave = Wave::Sine, .level = 0.3f, .semitones = 12.0f}},
          .noise = 0.03f,
          .amp = {.attack = 0.05f, .decay = 0.5f, .sustain = 0.75f, .release = 0.35f},
          .filter = {.cutoffHz = 2600.0f, .resonance = 0.1f, .keyTrack = 0.4f}};
}

SynthPatch pluck() {
  return {.layers = {{.wave = Wave::Triangle, .level = 0.8f},
                     {.wave = Wave::Pulse, .level = 0.15f, .semitones = 12.0f, .pulseWidth = 0.3f}},
          .amp = {.attack = 0.001f, .decay = 0.3f, .sustain = 0.0f, .release = 0.2f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.15f, .sustain = 0.0f, .release = 0.1f},
          .filter = {.cutoffHz = 1500.0f, .envelopeOctaves = 1.5f, .keyTrack = 0.3f}};
}

SynthPatch swell() {
  return {.noise = 0.5f,
          .amp = {.attack = 3.0f, .decay = 1.0f, .sustain = 1.0f, .release = 1.0f},
          .filter = {.mode = FilterMode::BandPass, .cutoffHz = 1200.0f, .resonance = 0.4f}};
}

}  // namespace

Song glow() {
  Song song;
  song.title = "Gløw";
  song.bpm = 104.4;
  song.rootNote = 38;  // D2
  song.swing = 0.14f;
  song.seed = 0x676c6f77ull;
  song.delay = {.beats = 0.75f, .feedback = 0.45f, .dampingHz = 3500.0f};
  song.reverb = {.seconds = 3.2f, .dampingHz = 5500.0f, .predelayMs = 30.0f};
  song.sidechain = {.attackMs = 8.0f, .releaseBeats = 0.55f};
  song.ending = Ending::Loop;
  song.tailSeconds = 4.0;
  song.masterDrive = 0.7f;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = -1.0f, .keysSidechain = true}, 0.92f, 1.0f, 0.2f),
      drum("rim", DrumKind::Snare, {.gainDb = -1.0f, .pan = 0.1f, .reverbSend = 0.3f}, 1.6f, 0.4f,
           0.2f),
      drum("clap", DrumKind::Clap, {.gainDb = -8.0f, .pan = -0.1f, .reverbSend = 0.4f}, 0.9f, 1.3f,
           0.3f),
      drum("shaker", DrumKind::ClosedHat, {.gainDb = -6.0f, .pan = -0.3f, .reverbSend = 0.1f}, 1.0f,
           2.0f, 0.2f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -7.0f, .pan = 0.35f, .duck = 0.2f}, 0.9f, 1.0f,
           0.1f),
      synth("bass", roundBass(), {.gainDb = -5.8f, .duck = 0.85f}),
      synth("keys", electricPiano(),
            {.gainDb = -10.0f, .pan = 0.15f, .reverbSend = 0.3f, .duck = 0.25f}),
      synth("pad", warmPad(), {.gainDb = -17.0f, .reverbSend = 0.5f, .duck = 0.3f}),
      synth("bell", bell(),
            {.gainDb = -6.0f, .pan = -0.2f, .delaySend = 0.45f, .reverbSend = 0.4f}),
      synth("lead", breathLead(),
            {.gainDb = -11.0f, .pan = 0.1f, .delaySend = 0.3f, .reverbSend = 0.45f, .duck = 0.2f}),
      synth("pluck", pluck(),
            {.gainDb = -10.0f, .pan = 0.4f, .delaySend = 0.4f, .reverbSend = 0.3f, .duck = 0.3f}),
      synth("swell", swell(), {.gainDb = -10.0f, .reverbSend = 0.6f}),
  };

  // Home: Dmaj9, Bm9, Gmaj9, A6, the top voices barely moving.
  // Away: Gmaj7, A, F#m7, Bm7, climbing from the subdominant.
  const std::vector<std::string_view> homeChords = {"16+19+23+26", "16+19+23+24", "16+19+21+24",
                                                    "14+16+19+23"};
  const std::vector<std::string_view> awayChords = {"17+21+24+28", "19+23+26+28", "16+19+23+26",
                                                    "19+21+24+28"};
  const std::vector<int> homeRoots = {0, -3, -7, -5};   // D, B, G, A
  const std::vector<int> awayRoots = {-7, -5, -8, -3};  // G, A, F#, B
  const std::vector<int> dMajor = {0, 2, 4, 5, 7, 9, 11};
  const std::string bellTune =
      ". . 40 - | 38 - 35 - | . . 33 - | - - . . |"
      ". . 38 - | 35 - 33 - | . . 31 - | - - . . |"
      ". . 35 - | 33 - 31 - | . . 28 - | 31 - . . |"
      ". . 33 - | - - 31 - | 28 - - - | . . . . |"
      ". . 40 - | 43 - 40 - | 38 - 35 - | - - . . |"
      ". . 38 - | 40 - 38 - | 35 - 33 - | - - . . |"
      ". . 35 - | 38 - 35 - | 33 - 31 - | 28 - . . |"
      "33 - 31 - | 28 - - - | 26 - - - | . . . . ";

  const std::string leadTune =
      "33 - - 35 | - - 36 - | - - 35 - | 33 - - - |"
      "31 - - 33 | - - 35 - | - - 33 - | 28 - - - |"
      "28 - - 31 | - - 35 - | - - 33 - | 31 - 28 - |"
      "33 - - - | - - - - | 31 - 33 - | 36 - - - |"
      "38 - - 36 | - - 35 - | - - 36 - | 38 - - - |"
      "40 - - 38 | - - 36 - | - - 35 - | 33 - - - |"
      "35 - - 33 | - - 31 - | - - 28 - | 31 - 33 - |"
      "33 - - - | - - - - | - - . . | . . . . ";

  song.patterns = {
      rhythm("kick", "X... .... X..x ...."),
      rhythm("kick phrase", phrase(8, "X... .... X..x ....", "X... .... X.x. x.x.")),
      rhythm("kick B", phrase(8, "X... ..x. X..x ....", "X... ..x. X..x X.x.")),
      rhythm("kick light", "X... .... .... ...."),
      rhythm("rim", ".... X... .... X..."),
      // Eight-bar phrases that end on a fill.
      rhythm("rim phrase", phrase(8, ".... X... .... X...", ".... X... ..x. XxXX")),
      rhythm("rim fill", ".... X... ..x. XxXX"),
      rhythm("rim B", phrase(8, ".... X..o .... X.o.", ".... X..o .X.x XXXX")),
      rhythm("clap phrase", phrase(8, ".... .... .... X...", ".... .... X..X X.X.")),
      rhythm("clap", ".... .... .... X..."),
      rhythm("shaker", "o.x. o.xo o.x. o.xx"),
      rhythm("hat", "..x. ..x. ..x. ..xo"),
      rhythm("hat B", "x.x. ..xo x.x. ..xx"),
      held("swell 4", 4),
      melody("bass", "0 - - - | - - . 0 | - - 7 - | . 12 - ."),
      melody("bass long", "0 - - - - - - - - - - - 7 - - -"),
      comping("keys", homeChords, "x--. ..x- -.x- ----"),
      comping("keys away", awayChords, "x--. ..x- -.x- ----"),
      comping("keys sparse", homeChords, "x--- ---- ---- ----"),
      comping("pad", homeChords, "x--- ---- ---- ----"),
      comping("pad away", awayChords, "x--- ---- ---- ----"),
      melody("bell", bellTune),
      // The together section's own tune, a line over the home chords that the bell answers.
      melody("together lead",
             "40 - - - | - - 38 - | 36 - - - | 43 - - - |"
             "45 - - - | - - 43 - | 40 - - - | 38 - - - |"
             "41 - - - | - - 43 - | 45 - - 43 | - - 41 - |"
             "43 - - - | - - - - | 40 - 38 - | 35 - - - |"
             "43 - - - | - - 45 - | 48 - - - | 47 - - - |"
             "45 - - - | - - 43 - | 40 - - - | 45 - - - |"
             "43 - - - | - - 41 - | 40 - 38 - | 36 - - - |"
             "38 - - - | - - 40 - | 43 - - - | - - . . "),
      melody("bell low", diatonicShift(bellTune, dMajor, -2)),
      melody("lead", leadTune),
      melody("lead thirds", diatonicShift(leadTune, dMajor, 2)),
      melody("pluck",
             arpeggio({{16, 19, 23, 26}, {16, 19, 23, 24}, {16, 19, 21, 24}, {14, 16, 19, 23}},
                      "0 . 2 1 . 3 2 . 1 . 3 2 . 1 0 .")),
      melody("pluck away",
             arpeggio({{17, 21, 24, 28}, {19, 23, 26, 28}, {16, 19, 23, 26}, {19, 21, 24, 28}},
                      "0 . 2 1 . 3 2 . 1 . 3 2 . 1 0 .")),
  };

  const auto bass = [](const std::vector<int>& roots, std::string pattern = "bass") {
    return Clip{.instrument = "bass", .pattern = std::move(pattern), .progression = roots};
  };
  const Clip homePad{.instrument = "pad", .pattern = "pad", .transpose = -12};
  const Clip awayPad{.instrument = "pad", .pattern = "pad away", .transpose = -12};

  song.sections = {
      {"intro",
       8,
       {{.instrument = "pad", .pattern = "pad", .transpose = -12, .levelFromDb = -10.0f},
        {"keys", "keys"},
        {.instrument = "shaker", .pattern = "shaker", .levelFromDb = -8.0f, .startBar = 4},
        {.instrument = "bell", .pattern = "bell", .gainDb = -6.0f, .startBar = 4},
        {.instrument = "rim", .pattern = "rim fill", .gainDb = -6.0f, .startBar = -1}}},
      {"home",
       16,
       {{"kick", "kick phrase"},
        {"rim", "rim phrase"},
        {"shaker", "shaker"},
        bass(homeRoots),
        {"keys", "keys"},
        homePad,
        {.instrument = "bell", .pattern = "bell", .gainDb = -2.0f}}},
      {"away",
       16,
       {{"kick", "kick phrase"},
        {"rim", "rim phrase"},
        {"shaker", "shaker"},
        {"hat", "hat"},
        bass(awayRoots),
        {"keys", "keys away"},
        awayPad,
        {.instrument = "lead", .pattern = "lead", .gainDb = -2.0f},
        {.instrument = "pluck", .pattern = "pluck away", .gainDb = -4.0f, .startBar = 8}}},
      {"interlude",
       12,
       {homePad,
        {"keys", "keys sparse"},
        {.instrument = "bass", .pattern = "bass long", .progression = homeRoots, .gainDb = -5.0f},
        {.instrument = "bell", .pattern = "bell", .bars = 8},
        {.instrument = "kick", .pattern = "kick light", .levelFromDb = -10.0f, .startBar = 8},
        {.instrument = "shaker", .pattern = "shaker", .levelFromDb = -12.0f, .startBar = 8},
        {.instrument = "swell",
         .pattern = "swell 4",
         .cutoffFrom = -1.0f,
         .cutoffTo = 2.0f,
         .startBar = 8}}},
      // Home again with a tune of its own on the lead, the bell answering it an octave
      // down, and a busier kit.
      {"together",
       16,
       {{"kick", "kick B"},
        {"rim", "rim B"},
        {"clap", "clap phrase"},
        {"shaker", "shaker"},
        {"hat", "hat B"},
        bass(homeRoots),
        {"keys", "keys"},
        homePad,
        {.instrument = "lead", .pattern = "together lead", .transpose = -12, .gainDb = 4.0f},
        {.instrument = "bell", .pattern = "bell low", .gainDb = -2.0f},
        {.instrument = "pluck", .pattern = "pluck", .gainDb = 1.0f}}},
      {"away again",
       8,
       {{"kick", "kick B"},
        {"rim", "rim B"},
        {"clap", "clap phrase"},
        {"shaker", "shaker"},
        {"hat", "hat B"},
        bass(awayRoots),
        {"keys", "keys away"},
        awayPad,
        {.instrument = "lead", .pattern = "lead", .gainDb = 3.0f},
        {.instrument = "bell", .pattern = "lead thirds", .gainDb = -3.0f},
        {"pluck", "pluck away"}}},
      // Back to the chords and the shaker the intro starts from.
      {"outro",
       8,
       {{.instrument = "pad", .pattern = "pad", .transpose = -12, .levelToDb = -10.0f},
        {"keys", "keys"},
        {.instrument = "shaker", .pattern = "shaker", .levelToDb = -8.0f},
        {.instrument = "bell", .pattern = "bell", .levelToDb = -6.0f, .bars = 4},
        {.instrument = "kick", .pattern = "kick", .bars = 4},
        {.instrument = "rim", .pattern = "rim", .bars = 3},
        {.instrument = "rim", .pattern = "rim fill", .startBar = 3, .bars = 1},
        {.instrument = "rim", .pattern = "rim fill", .gainDb = -8.0f, .startBar = -1},
        {.instrument = "bass", .pattern = "bass", .progression = homeRoots, .bars = 4}}},
  };
  return song;
}

}  // namespace musicgen::songs
