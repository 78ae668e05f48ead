// "Nova 2": Nova taken somewhere else. A squelching acid bassline carries the groove
// instead of the offbeat bass; offbeat organ stabs and a gated supersaw replace the pad and
// the arpeggio; a theme of its own bounces over a descending Gm-F-Eb-D, the breakdown
// sings it at half speed, and the peak brings a hook and a counter-line of its own.
// Slightly faster, a tone lower: G minor.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/composition.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch acidBass() {
  return {.layers = {{.wave = Wave::Saw, .level = 1.0f}},
          .amp = {.attack = 0.002f, .decay = 0.2f, .sustain = 0.7f, .release = 0.03f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.16f, .sustain = 0.0f, .release = 0.05f},
          .filter = {.cutoffHz = 260.0f,
                     .resonance = 0.85f,
                     .envelopeOctaves = 3.0f,
                     .accentOctaves = 1.6f},
          .drive = 1.2f,
          .glideSeconds = 0.06f};
}

SynthPatch organStab() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.6f},
                     {.wave = Wave::Sine, .level = 0.6f, .semitones = 12.0f},
                     {.wave = Wave::Sine, .level = 0.3f, .semitones = 19.0f}},
          .amp = {.attack = 0.003f, .decay = 0.18f, .sustain = 0.0f, .release = 0.06f},
          .filter = {.cutoffHz = 2400.0f, .resonance = 0.1f}};
}

SynthPatch gatedSaw() {
  // No attack and almost no release: the rhythm of the comping is the gate.
  return {
      .layers =
          {{.wave = Wave::Saw, .level = 1.0f, .unison = 7, .detuneCents = 30.0f, .width = 1.0f}},
      .amp = {.attack = 0.003f, .decay = 0.3f, .sustain = 0.8f, .release = 0.04f},
      .filter = {.cutoffHz = 3000.0f, .resonance = 0.2f}};
}

SynthPatch pad() {
  return {.layers =
              {{.wave = Wave::Saw, .level = 0.8f, .unison = 7, .detuneCents = 24.0f, .width = 0.9f},
               {.wave = Wave::Sine, .level = 0.4f, .semitones = -12.0f}},
          .amp = {.attack = 0.8f, .decay = 1.0f, .sustain = 0.85f, .release = 1.2f},
          .filter = {.cutoffHz = 1800.0f, .resonance = 0.1f}};
}

SynthPatch pulseLead() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.8f, .pulseWidth = 0.5f},
                     {.wave = Wave::Pulse, .level = 0.4f, .semitones = 0.08f, .pulseWidth = 0.3f}},
          .amp = {.attack = 0.005f, .decay = 0.25f, .sustain = 0.7f, .release = 0.15f},
          .filterEnvelope = {.attack = 0.005f, .decay = 0.3f, .sustain = 0.4f, .release = 0.1f},
          .filter = {
              .cutoffHz = 1500.0f, .resonance = 0.25f, .envelopeOctaves = 1.2f, .keyTrack = 0.6f}};
}

SynthPatch themeLead() {
  return {.layers =
              {{.wave = Wave::Saw, .level = 0.8f, .unison = 3, .detuneCents = 14.0f, .width = 0.5f},
               {.wave = Wave::Pulse, .level = 0.4f, .semitones = 12.0f, .pulseWidth = 0.25f}},
          .amp = {.attack = 0.02f, .decay = 0.4f, .sustain = 0.75f, .release = 0.35f},
          .filter = {.cutoffHz = 2800.0f, .resonance = 0.15f, .keyTrack = 0.5f}};
}

SynthPatch arpPulse() {
  return {.layers = {{.wave = Wave::Pulse, .level = 0.8f, .pulseWidth = 0.2f}},
          .amp = {.attack = 0.001f, .decay = 0.1f, .sustain = 0.0f, .release = 0.05f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.08f, .sustain = 0.0f, .release = 0.05f},
          .filter = {.cutoffHz = 1800.0f, .resonance = 0.3f, .envelopeOctaves = 1.5f}};
}

SynthPatch riser() {
  return {.noise = 0.7f,
          .amp = {.attack = 2.0f, .decay = 1.0f, .sustain = 1.0f, .release = 0.3f},
          .filter = {.mode = FilterMode::HighPass, .cutoffHz = 600.0f, .resonance = 0.5f}};
}

}  // namespace

Song nova2() {
  Song song;
  song.title = "Nova 2";
  song.bpm = 139.5;
  song.rootNote = 43;  // G2: a tone under Nova, so the remix sits in a key of its own
  song.seed = 0x6e6f766132ull;
  song.delay = {.beats = 0.5f, .feedback = 0.5f, .dampingHz = 3800.0f};
  song.reverb = {.seconds = 2.2f, .dampingHz = 6000.0f, .predelayMs = 12.0f};
  song.sidechain = {.attackMs = 3.0f, .releaseBeats = 0.3f};
  song.ending = Ending::Loop;
  song.tailSeconds = 3.5;
  song.masterDrive = 0.9f;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = -1.4f, .keysSidechain = true}, 1.06f, 0.8f, 0.7f),
      drum("snare", DrumKind::Snare, {.gainDb = -1.0f, .reverbSend = 0.2f}, 1.15f, 0.9f, 0.7f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -5.0f, .pan = -0.25f}, 1.1f),
      drum("open hat", DrumKind::OpenHat, {.gainDb = -8.0f, .pan = 0.2f, .duck = 0.4f}, 1.1f, 0.6f),
      drum("ride", DrumKind::Crash, {.gainDb = -13.0f, .pan = 0.35f, .duck = 0.3f}, 1.7f, 0.3f,
           0.8f),
      drum("crash", DrumKind::Crash, {.gainDb = -9.0f, .reverbSend = 0.2f}),
      synth("acid", acidBass(), {.gainDb = -6.4f, .delaySend = 0.06f, .duck = 0.9f}),
      synth("stab", organStab(),
            {.gainDb = -11.0f, .pan = 0.15f, .reverbSend = 0.25f, .duck = 0.4f}),
      synth("gate", gatedSaw(), {.gainDb = -17.0f, .reverbSend = 0.3f, .duck = 0.6f}),
      synth("pad", pad(), {.gainDb = -15.0f, .reverbSend = 0.5f, .duck = 0.3f}),
      synth("lead", pulseLead(),
            {.gainDb = -14.0f, .pan = -0.1f, .delaySend = 0.35f, .reverbSend = 0.2f, .duck = 0.3f}),
      synth("theme", themeLead(),
            {.gainDb = -12.0f, .delaySend = 0.4f, .reverbSend = 0.4f, .duck = 0.3f}),
      synth("arp", arpPulse(),
            {.gainDb = -15.0f, .pan = 0.3f, .delaySend = 0.3f, .reverbSend = 0.1f, .duck = 0.5f}),
      synth("riser", riser(), {.gainDb = -14.0f, .reverbSend = 0.4f}),
  };

  // Gm, F, Eb, D: the descending minor cadence the remix runs on.
  const std::vector<std::string_view> descent = {"12+15+19", "10+14+17", "8+12+15", "7+11+14"};
  const std::vector<int> descentRoots = {0, -2, -4, -5};
  // The descent at half the pace, for the breakdown's slow theme.
  const std::vector<std::string_view> slowChords = {descent[0], descent[0], descent[1], descent[1],
                                                    descent[2], descent[2], descent[3], descent[3]};
  // The remix's own theme: each chord bounced between its top notes, the second half a
  // third higher, over the E major chord a turn through its G sharp.
  const std::string remixTheme =
      "36 . 34 36 | . 31 . 27 | 36 . 34 36 | . 31 27 . |"
      "34 . 31 34 | . 29 . 26 | 34 . 31 34 | . 38 . 34 |"
      "32 . 29 32 | . 27 . 24 | 32 . 29 32 | . 36 . 32 |"
      "35 . 31 35 | . 26 . 23 | 31 . 35 . | 38 . 35 . |"
      "39 . 36 39 | . 36 . 31 | 39 . 36 39 | . 43 . 39 |"
      "38 . 34 38 | . 34 . 29 | 38 . 34 38 | . 41 . 38 |"
      "36 . 32 36 | . 32 . 27 | 36 . 32 36 | . 39 . 36 |"
      "35 . 31 35 | . 38 . 35 | 31 . . . | . . . . ";
  // The peak's hook: short calls a fifth apart, answered by a climb to the leading tone.
  const std::string peakHook =
      "24 . 24 31 | . 24 36 . | 34 . 31 . | 29 . 31 . |"
      "26 . 26 29 | . 26 34 . | 31 . 29 . | 26 . 22 . |"
      "24 . 24 27 | . 24 32 . | 31 . 29 . | 27 . 24 . |"
      "23 . 26 . | 29 . 31 . | 32 . 35 . | 36 . . . ";
  // Long notes above the hook, one per chord.
  const std::string peakCounter = "39 " + times(15, "-") + "41 " + times(15, "-") + "44 " +
                                  times(15, "-") + "43 " + times(11, "-") + ". . . .";

  song.patterns = {
      rhythm("four", "X... X... X... X..."),
      rhythm("snare", ".... X... .... X..o | .... X... .o.. X.oo"),
      // Eight-bar phrases that end on a fill.
      rhythm("snare phrase", phrase(4, ".... X... .... X..o | .... X... .o.. X.oo",
                                    ".... X... .... X..o | .... X.o. X.XX XXXX")),
      rhythm("snare B", phrase(4, "..o. X... ..o. X..o | .... X..o .o.. X.oo",
                               "..o. X... ..o. X..o | X.o. X.XX .XXX XXXX")),
      rhythm("hats", "x.xx x.xo x.xx x.xx"),
      rhythm("hats B", phrase(8, "xxxx x.xo xxxx x.xx", "xxxx x.xo XxXx XXXX")),
      rhythm("open hats", "..x. ..x. ..x. ..X."),
      rhythm("ride", "..x. ..x. ..x. ..x."),
      rhythm("roll", times(2, "x... x... x... x...") + times(2, "x.x. x.x. x.x. x.x.") +
                         times(3, "xxxx xxxx xxxx xxxx") + "XXXX XXXX XXXX XXXX"),
      downbeat("crash"),
      held("riser 8", 8),
      melody("acid A", "0 0 12! 0 | ~12 0 7 0! | 0 12 0 ~7 | 0 12! ~7 .", 0.7f),
      melody("acid B", "0! . 0 12 | 0 ~7 0 . | 12! 0 ~12 0 | 7 0! 12 .", 0.7f),
      melody("acid C",
             "0 . 0 . | 12! . 0 ~12 | . 0 7! . | 0 0 ~12 0 |"
             "0! 12 . 0 | ~7 . 0 12! | 0 . ~12 0 | 7! 0 ~12 .",
             0.7f),
      comping("stabs", descent, "..x. ..x. ..x. ..x-"),
      comping("gate", descent, "x.xx x.x. xx.x x.xx"),
      comping("gate B", descent, "x.x. xx.x x.xx .xx."),
      comping("slow pad", slowChords, "x--- ---- ---- ----"),
      comping("descent pad", descent, "x--- ---- ---- ----"),
      melody("arp", arpeggio({{12, 15, 19}, {10, 14, 17}, {8, 12, 15}, {7, 11, 14}},
                             "0 1 2 1 3 2 1 2 0 1 2 1 3 2 4 3")),
      melody("slow arp", arpeggio({{12, 15, 19},
                                   {12, 15, 19},
                                   {10, 14, 17},
                                   {10, 14, 17},
                                   {8, 12, 15},
                                   {8, 12, 15},
                                   {7, 11, 14},
                                   {7, 11, 14}},
                                  "0 1 2 1 3 2 1 2 0 1 2 1 3 2 4 3")),
      melody("remix theme", remixTheme),
      melody("slow theme", stretch(remixTheme, 2)),
      melody("peak hook", peakHook),
      melody("peak counter", peakCounter),
  };

  const Clip crash{.instrument = "crash", .pattern = "crash", .bars = 1};
  const auto acid = [&](std::string pattern, float from = 0.0f, float to = 0.0f,
                        const std::vector<int>& roots = {0, -2, -4, -5}) {
    return Clip{.instrument = "acid",
                .pattern = std::move(pattern),
                .transpose = -12,
                .progression = roots,
                .cutoffFrom = from,
                .cutoffTo = to};
  };
  const auto drums = [&](std::vector<Clip> extra) {
    std::vector<Clip> clips = {crash,
                               {"kick", "four"},
                               {"snare", "snare phrase"},
                               {"hat", "hats"},
                               {"open hat", "open hats"}};
    clips.insert(clips.end(), extra.begin(), extra.end());
    return clips;
  };

  song.sections = {
      {"intro",
       16,
       {{"kick", "four"},
        {.instrument = "hat", .pattern = "hats", .levelFromDb = -10.0f},
        {.instrument = "open hat", .pattern = "open hats", .startBar = 8},
        {.instrument = "snare", .pattern = "snare phrase", .gainDb = -8.0f, .startBar = 8},
        acid("acid A", -2.5f, -1.0f, descentRoots)}},
      // The theme's second half as a first glimpse of it, filtered.
      {"groove", 16,
       drums({acid("acid A", -1.0f, 0.4f, descentRoots),
              {.instrument = "stab", .pattern = "stabs", .startBar = 8},
              {.instrument = "lead",
               .pattern = "remix theme",
               .gainDb = -3.0f,
               .cutoffFrom = -2.0f,
               .cutoffTo = -0.5f,
               .startBar = 8}})},
      {"build",
       8,
       {{.instrument = "kick", .pattern = "four", .bars = 6},
        {"hat", "hats"},
        acid("acid B", 0.4f, 1.4f, descentRoots),
        {"stab", "stabs"},
        {.instrument = "gate", .pattern = "gate", .cutoffFrom = -2.0f, .levelFromDb = -10.0f},
        {.instrument = "snare", .pattern = "roll", .levelFromDb = -16.0f},
        {.instrument = "riser",
         .pattern = "riser 8",
         .cutoffFrom = -1.0f,
         .cutoffTo = 3.5f,
         .levelFromDb = -16.0f}}},
      {"drive", 16,
       drums({acid("acid A", 0.3f, 0.3f, descentRoots),
              {"stab", "stabs"},
              {"gate", "gate"},
              {.instrument = "lead", .pattern = "remix theme", .gainDb = -1.5f}})},
      {"drive 2", 16,
       drums({acid("acid C", 0.5f, 0.5f, descentRoots),
              {"stab", "stabs"},
              {"arp", "arp"},
              {"ride", "ride"},
              {.instrument = "gate", .pattern = "gate", .gainDb = -3.0f}})},
      {"breakdown",
       16,
       {crash,
        {.instrument = "pad", .pattern = "slow pad", .levelFromDb = -8.0f},
        {"theme", "slow theme"},
        {.instrument = "acid",
         .pattern = "acid A",
         .transpose = -12,
         .progression = descentRoots,
         .gainDb = -8.0f,
         .cutoffFrom = -2.5f,
         .cutoffTo = -1.5f,
         .startBar = 4},
        {.instrument = "snare", .pattern = "snare phrase", .gainDb = -10.0f, .startBar = 8},
        {.instrument = "arp",
         .pattern = "slow arp",
         .gainDb = 2.0f,
         .cutoffFrom = -2.0f,
         .cutoffTo = -0.5f,
         .startBar = 8}}},
      {"rise",
       8,
       {{"pad", "descent pad"},
        {.instrument = "lead", .pattern = "remix theme", .cutoffFrom = -2.0f, .cutoffTo = 0.0f},
        acid("acid B", -2.0f, 1.0f, descentRoots),
        {.instrument = "gate", .pattern = "gate", .levelFromDb = -12.0f, .startBar = 4},
        {.instrument = "snare", .pattern = "roll", .levelFromDb = -16.0f},
        {.instrument = "riser",
         .pattern = "riser 8",
         .cutoffFrom = -1.0f,
         .cutoffTo = 3.8f,
         .levelFromDb = -16.0f}}},
      // Two bars of the acid alone before the peak lands.
      {"stop",
       2,
       {acid("acid B", 1.0f, 1.6f, descentRoots),
        {.instrument = "snare", .pattern = "roll", .gainDb = -4.0f, .startBar = 1}}},
      // The peak's own hook over the drive's groove, a counter-line above it and a busier
      // kit.
      {"peak",
       16,
       {crash,
        {"kick", "four"},
        {"snare", "snare B"},
        {"hat", "hats B"},
        {"open hat", "open hats"},
        acid("acid C", 0.6f, 0.6f, descentRoots),
        {"stab", "stabs"},
        {"gate", "gate B"},
        {.instrument = "lead", .pattern = "peak hook", .gainDb = 2.0f},
        {.instrument = "theme", .pattern = "peak counter", .gainDb = 1.0f},
        {"ride", "ride"}}},
      // The theme once more, an octave up on the big lead, over the peak's kit.
      {"peak 2",
       16,
       {crash,
        {"kick", "four"},
        {"snare", "snare B"},
        {"hat", "hats B"},
        {"open hat", "open hats"},
        acid("acid A", 0.6f, 0.6f, descentRoots),
        {"stab", "stabs"},
        {"gate", "gate"},
        {.instrument = "theme", .pattern = "remix theme", .transpose = 12, .gainDb = 1.0f},
        {.instrument = "lead", .pattern = "peak counter", .transpose = -12, .gainDb = 2.0f},
        {"arp", "arp"},
        {"ride", "ride"}}},
      {"outro",
       12,
       {crash,
        {"kick", "four"},
        {.instrument = "snare", .pattern = "snare phrase", .bars = 8},
        {.instrument = "hat", .pattern = "hats", .levelToDb = -10.0f},
        {.instrument = "open hat", .pattern = "open hats", .bars = 8},
        acid("acid A", 0.3f, -2.5f, descentRoots),
        {.instrument = "stab",
         .pattern = "stabs",
         .cutoffFrom = 0.0f,
         .cutoffTo = -2.0f,
         .levelToDb = -10.0f,
         .bars = 8}}},
  };
  return song;
}

}  // namespace musicgen::songs
