// "Nova": oldskool trance in A minor at 137 BPM. An offbeat bass and a squelching acid
// line build the groove; a wide supersaw pad and a sixteenth arpeggio open up; the theme
// arrives on a detuned lead, goes quiet for a counter-melody, returns through the
// breakdown and comes back harmonised in thirds at the end.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/composition.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/nova_theme.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch offbeatBass() {
  return {.layers = {{.wave = Wave::Saw, .level = 0.7f}, {.wave = Wave::Sine, .level = 0.8f}},
          .amp = {.attack = 0.002f, .decay = 0.2f, .sustain = 0.6f, .release = 0.05f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.12f, .sustain = 0.1f, .release = 0.05f},
          .filter = {.cutoffHz = 320.0f, .resonance = 0.3f, .envelopeOctaves = 2.4f}};
}

SynthPatch acid() {
  return {.layers = {{.wave = Wave::Saw, .level = 1.0f}},
          .amp = {.attack = 0.002f, .decay = 0.25f, .sustain = 0.6f, .release = 0.03f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.15f, .sustain = 0.0f, .release = 0.05f},
          .filter = {.cutoffHz = 380.0f,
                     .resonance = 0.82f,
                     .envelopeOctaves = 2.4f,
                     .accentOctaves = 1.4f,
                     .keyTrack = 0.3f},
          .drive = 1.4f,
          .glideSeconds = 0.07f};
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

SynthPatch bell() {
  return {.layers = {{.wave = Wave::Sine, .level = 0.9f},
                     {.wave = Wave::Sine, .level = 0.3f, .semitones = 19.0f},
                     {.wave = Wave::Triangle, .level = 0.3f, .semitones = 12.0f}},
          .amp = {.attack = 0.002f, .decay = 1.2f, .sustain = 0.0f, .release = 0.6f}};
}

SynthPatch riser() {
  return {.noise = 0.7f,
          .amp = {.attack = 2.0f, .decay = 1.0f, .sustain = 1.0f, .release = 0.3f},
          .filter = {.mode = FilterMode::BandPass, .cutoffHz = 900.0f, .resonance = 0.55f}};
}

}  // namespace

Song nova() {
  Song song;
  song.title = "Nova";
  song.bpm = 137.0;
  song.rootNote = 45;  // A2
  song.seed = 0x6e6f7661ull;
  song.delay = {.beats = 0.75f, .feedback = 0.42f, .dampingHz = 5000.0f};
  song.reverb = {.seconds = 2.8f, .dampingHz = 7000.0f, .predelayMs = 20.0f};
  song.sidechain = {.attackMs = 4.0f, .releaseBeats = 0.28f};
  song.ending = Ending::Loop;
  song.tailSeconds = 3.5;
  song.masterDrive = 1.0f;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = -3.4f, .keysSidechain = true}, 1.02f, 0.9f, 0.55f),
      drum("clap", DrumKind::Clap, {.gainDb = -3.0f, .reverbSend = 0.3f}, 1.1f),
      drum("snare", DrumKind::Snare, {.gainDb = -7.0f, .reverbSend = 0.2f}, 1.2f, 0.6f, 0.6f),
      drum("open hat", DrumKind::OpenHat, {.gainDb = -9.0f, .pan = -0.1f, .duck = 0.4f}, 1.0f,
           0.8f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -9.0f, .pan = 0.3f}),
      drum("crash", DrumKind::Crash, {.gainDb = -9.0f, .reverbSend = 0.2f}),
      synth("bass", offbeatBass(), {.gainDb = 4.5f, .duck = 0.5f}),
      synth("acid", acid(),
            {.gainDb = -10.0f, .pan = 0.1f, .delaySend = 0.12f, .reverbSend = 0.05f, .duck = 0.6f}),
      synth("pad", supersawPad(), {.gainDb = -17.0f, .reverbSend = 0.4f, .duck = 0.65f}),
      synth("arp", arpPluck(),
            {.gainDb = -9.0f, .pan = 0.2f, .delaySend = 0.4f, .reverbSend = 0.2f, .duck = 0.5f}),
      synth("lead", themeLead(),
            {.gainDb = -12.0f, .delaySend = 0.3f, .reverbSend = 0.35f, .duck = 0.35f}),
      synth("harmony", themeLead(),
            {.gainDb = -16.0f, .pan = -0.3f, .delaySend = 0.3f, .reverbSend = 0.4f, .duck = 0.35f}),
      synth("bell", bell(),
            {.gainDb = -9.0f, .pan = 0.15f, .delaySend = 0.45f, .reverbSend = 0.45f}),
      synth("riser", riser(), {.gainDb = -13.0f, .reverbSend = 0.4f}),
  };

  // The second progression, for the breakdown and the finale: Dm, F, G, E, the E major
  // chord's G sharp pulling back to A.
  const std::vector<std::string_view> chordsB = {"12+17+20", "12+15+20", "10+14+17", "11+14+19"};
  const std::vector<int> rootsB = {5, -4, -2, -5};  // D2, F1, G1, E1

  song.patterns = {
      rhythm("four", "X... X... X... X..."),
      rhythm("backbeat", ".... X... .... X..."),
      // Eight-bar phrases that end on a fill.
      rhythm("clap phrase", phrase(8, ".... X... .... X...", ".... X... ..X. X.XX")),
      rhythm("snare fills", phrase(8, ".... .... .... ....", ".... .... x.x. XXXX")),
      rhythm("snare drive", phrase(8, ".... .... ..o. ...o", "..o. ..o. x.x. XXXX")),
      rhythm("offbeats", "..X. ..X. ..X. ..X."),
      rhythm("sixteenths", "xoxo xoxo xoxo xoxx"),
      rhythm("roll", times(4, "x.x. x.x. x.x. x.x.") + times(4, "xxxx xxxx xxxx xxxx")),
      downbeat("crash"),
      held("riser 8", 8),
      held("held", 1),
      melody("offbeat bass", ". . 0 . | . . 0 . | . . 0 . | . . 0 ."),
      // Two bars of acid over each chord root: slides (~) and accents (!) make it squelch.
      melody("acid",
             "0 . 12! 0 | 0 ~12 0 . | 7! 0 12 0 | ~7 0 12! ~0 |"
             "0 0 12 0! | . 0 ~12 0 | 7 . 0! ~12 | 0 7! 0 12",
             0.7f),
      melody("acid 2",
             "0! 0 ~12 0 | 7 0 0! ~7 | 0 12 . 0 | ~12! 0 7 0 |"
             "0 . 0! 12 | 0 ~7 0 . | 12! 0 ~12 0 | 7 0! 12 0",
             0.7f),
      comping("pad", kNovaChords, "x--- ---- ---- ---."),
      comping("pad B", chordsB, "x--- ---- ---- ---."),
      melody("arp",
             "24 27 31 36 | 31 27 24 27 | 31 36 31 27 | 24 27 31 36 |"
             "20 24 27 32 | 27 24 20 24 | 27 32 27 24 | 20 24 27 32 |"
             "15 19 22 27 | 22 19 15 19 | 22 27 22 19 | 15 19 22 27 |"
             "22 26 29 34 | 29 26 22 26 | 29 34 29 26 | 22 26 29 34"),
      melody("arp B", arpeggio({{17, 20, 24}, {15, 20, 24}, {14, 17, 22}, {14, 19, 23}},
                               "0 1 2 3 2 1 0 1 2 3 4 3 2 1 2 3")),
      // The breakdown's and the finale's own tune, over the second progression.
      melody("break tune",
             "29 - - - | - - 32 - | 36 - - - | 34 - 32 - |"
             "32 - - - | - - 31 - | 27 - - - | 24 - - - |"
             "26 - - - | - - 29 - | 34 - - - | 38 - - - |"
             "35 - - - | - - - - | 31 - - - | 26 - - - |"
             "29 - - - | - - 32 - | 36 - - - | 41 - - - |"
             "39 - - - | - - 36 - | 32 - - - | 36 - - - |"
             "38 - - - | - - 34 - | 29 - - - | 26 - - - |"
             "35 - - - | - - - - | 31 - - - | - - . . "),
      melody("counter B", "41 " + times(15, "-") + "39 " + times(15, "-") + "38 " + times(15, "-") +
                              "35 " + times(15, "-") + "44 " + times(15, "-") + "48 " +
                              times(15, "-") + "46 " + times(15, "-") + "47 " + times(11, "-") +
                              ". . . ."),
      melody("theme", kNovaTheme),
      melody("theme thirds", diatonicShift(kNovaTheme, kAMinorScale, -2)),
      // Long notes above the theme's range while the theme rests.
      melody("counter",
             "36 - - - - - - - - - - - 34 - - - | 36 - - - - - - - 32 - - - - - - - |"
             "31 - - - - - - - 34 - - - - - - - | 34 - - - - - - - 31 - - - 29 - - - |"
             "36 - - - - - - - - - - - 34 - - - | 36 - - - - - - - 32 - - - - - - - |"
             "31 - - - - - - - 34 - - - 36 - - - | 38 - - - - - - - - - - - . . . . "),
  };

  const Clip crash{.instrument = "crash", .pattern = "crash", .bars = 1};
  const Clip fills{.instrument = "snare", .pattern = "snare fills"};
  const auto bass = [](float from = 0.0f, float to = 0.0f,
                       const std::vector<int>& roots = kNovaRoots) {
    return Clip{.instrument = "bass",
                .pattern = "offbeat bass",
                .transpose = -12,
                .progression = roots,
                .cutoffFrom = from,
                .cutoffTo = to};
  };
  const auto acidLine = [](std::string pattern, float from = 0.0f, float to = 0.0f) {
    return Clip{.instrument = "acid",
                .pattern = std::move(pattern),
                .progression = kNovaRoots,
                .cutoffFrom = from,
                .cutoffTo = to};
  };
  const auto groove = [&](std::vector<Clip> extra, const std::vector<int>& roots = kNovaRoots) {
    std::vector<Clip> clips = {crash,
                               {"kick", "four"},
                               {"clap", "clap phrase"},
                               {"hat", "sixteenths"},
                               {"open hat", "offbeats"},
                               bass(0.0f, 0.0f, roots)};
    clips.insert(clips.end(), extra.begin(), extra.end());
    return clips;
  };

  song.sections = {
      {"intro",
       16,
       {{"kick", "four"},
        {.instrument = "hat", .pattern = "sixteenths", .levelFromDb = -10.0f},
        {.instrument = "open hat", .pattern = "offbeats", .startBar = 8},
        {.instrument = "clap", .pattern = "clap phrase", .startBar = 8},
        {.instrument = "snare", .pattern = "snare fills", .gainDb = -4.0f, .bars = 8},
        bass(-2.0f, -0.5f)}},
      // The counter-melody's long notes on the bell give a first tune before the theme.
      {"acid", 16,
       groove({acidLine("acid", -1.5f, 0.5f),
               fills,
               {.instrument = "arp",
                .pattern = "arp",
                .cutoffFrom = -2.5f,
                .cutoffTo = -1.0f,
                .startBar = 8},
               {.instrument = "bell", .pattern = "counter", .transpose = -12, .startBar = 8}})},
      {"build",
       8,
       {{.instrument = "kick", .pattern = "four", .bars = 6},
        {"clap", "backbeat"},
        {"hat", "sixteenths"},
        bass(),
        acidLine("acid", 0.5f, 1.5f),
        {.instrument = "arp", .pattern = "arp", .cutoffFrom = -1.0f, .cutoffTo = 0.0f},
        {.instrument = "pad",
         .pattern = "pad",
         .cutoffFrom = -1.5f,
         .cutoffTo = 0.0f,
         .levelFromDb = -12.0f},
        {.instrument = "snare", .pattern = "roll", .levelFromDb = -14.0f, .startBar = 4},
        {.instrument = "riser",
         .pattern = "riser 8",
         .cutoffFrom = -2.0f,
         .cutoffTo = 3.3f,
         .levelFromDb = -16.0f}}},
      {"theme", 16, groove({{"pad", "pad"}, {"arp", "arp"}, {"lead", "theme"}, fills})},
      {"counter", 16,
       groove({acidLine("acid 2"),
               {"arp", "arp"},
               fills,
               {.instrument = "pad", .pattern = "pad", .gainDb = -4.0f},
               {.instrument = "lead", .pattern = "counter", .gainDb = -3.0f}})},
      // The second progression, its own tune on the bell and then the lead.
      {"breakdown",
       16,
       {crash,
        {"pad", "pad B"},
        {.instrument = "bass",
         .pattern = "held",
         .transpose = -12,
         .progression = rootsB,
         .gainDb = -8.0f},
        {.instrument = "bell", .pattern = "break tune", .bars = 8},
        {.instrument = "lead",
         .pattern = "break tune",
         .cutoffFrom = -2.0f,
         .cutoffTo = 0.0f,
         .levelFromDb = -8.0f,
         .startBar = 8},
        {.instrument = "snare", .pattern = "snare fills", .gainDb = -8.0f},
        {.instrument = "arp", .pattern = "arp B", .cutoffFrom = -2.5f, .cutoffTo = -0.5f}}},
      {"rise",
       8,
       {{"pad", "pad"},
        {"lead", "theme"},
        {"arp", "arp"},
        acidLine("acid", -2.0f, 1.0f),
        {.instrument = "kick", .pattern = "four", .levelFromDb = -12.0f, .startBar = 4},
        {.instrument = "snare", .pattern = "roll", .levelFromDb = -14.0f},
        {.instrument = "riser",
         .pattern = "riser 8",
         .cutoffFrom = -2.0f,
         .cutoffTo = 3.6f,
         .levelFromDb = -16.0f}}},
      // The theme's return: the counter-melody now above it at full level, and the snare
      // driving.
      {"anthem", 16,
       groove({{"pad", "pad"},
               {"arp", "arp"},
               {.instrument = "lead", .pattern = "theme", .gainDb = 1.0f},
               {.instrument = "harmony", .pattern = "counter", .gainDb = 3.0f},
               {"snare", "snare drive"},
               {.instrument = "acid",
                .pattern = "acid",
                .progression = kNovaRoots,
                .gainDb = -3.0f}})},
      // The finale: the breakdown's tune over the second progression, with a counter-line.
      {"finale", 16,
       groove({{"pad", "pad B"},
               {"arp", "arp B"},
               {.instrument = "lead", .pattern = "break tune", .gainDb = 1.0f},
               {.instrument = "harmony", .pattern = "counter B", .gainDb = 2.0f},
               {"snare", "snare drive"},
               {.instrument = "acid", .pattern = "acid 2", .progression = rootsB}},
              rootsB)},
      // The groove thins out to the intro's: kick, hats and the offbeat bass closing down.
      {"outro",
       12,
       {crash,
        {"kick", "four"},
        {.instrument = "clap", .pattern = "clap phrase", .bars = 8},
        {.instrument = "hat", .pattern = "sixteenths", .levelToDb = -10.0f},
        {.instrument = "open hat", .pattern = "offbeats", .bars = 8},
        {.instrument = "snare", .pattern = "snare fills", .gainDb = -4.0f, .startBar = 4},
        bass(0.0f, -2.0f),
        {.instrument = "acid",
         .pattern = "acid 2",
         .progression = kNovaRoots,
         .cutoffFrom = 0.0f,
         .cutoffTo = -2.0f,
         .levelToDb = -12.0f,
         .bars = 8},
        {.instrument = "arp",
         .pattern = "arp",
         .cutoffFrom = 0.0f,
         .cutoffTo = -2.5f,
         .levelToDb = -10.0f,
         .bars = 4}}},
  };
  return song;
}

}  // namespace musicgen::songs
