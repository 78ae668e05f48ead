// "Vortek 3": driving four-to-the-floor electronica in F minor at 128 BPM. A rolling
// sixteenth bass under syncopated supersaw stabs; two lead hooks on two progressions, an
// arpeggio that runs three notes against four, and a breakdown that previews the second
// hook before it drops. The last two bars fold the groove back down to the intro's.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/composition.h"
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

SynthPatch subBass() {
  return {.layers = {{.wave = Wave::Sine}, {.wave = Wave::Triangle, .level = 0.25f}},
          .amp = {.attack = 0.02f, .decay = 0.5f, .sustain = 0.85f, .release = 0.3f}};
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

SynthPatch pluck() {
  return {.layers = {{.wave = Wave::Saw, .level = 0.7f},
                     {.wave = Wave::Pulse, .level = 0.4f, .semitones = 12.02f, .pulseWidth = 0.3f}},
          .amp = {.attack = 0.001f, .decay = 0.18f, .sustain = 0.0f, .release = 0.08f},
          .filterEnvelope = {.attack = 0.001f, .decay = 0.1f, .sustain = 0.0f, .release = 0.05f},
          .filter = {
              .cutoffHz = 1200.0f, .resonance = 0.4f, .envelopeOctaves = 2.2f, .keyTrack = 0.4f}};
}

SynthPatch pad() {
  return {.layers =
              {{.wave = Wave::Saw, .level = 0.9f, .unison = 7, .detuneCents = 30.0f, .width = 1.0f},
               {.wave = Wave::Triangle, .level = 0.4f, .semitones = -12.0f}},
          .amp = {.attack = 0.5f, .decay = 1.0f, .sustain = 0.8f, .release = 0.9f},
          .filter = {.cutoffHz = 1700.0f, .resonance = 0.15f}};
}

SynthPatch riser() {
  return {.noise = 0.7f,
          .amp = {.attack = 1.5f, .decay = 1.0f, .sustain = 1.0f, .release = 0.3f},
          .filter = {.mode = FilterMode::BandPass, .cutoffHz = 900.0f, .resonance = 0.55f}};
}

}  // namespace

Song vortek3() {
  Song song;
  song.title = "Vortek 3";
  song.bpm = 128.0;
  song.rootNote = 41;  // F2
  song.seed = 0x766f72746b33ull;
  song.delay = {.beats = 0.75f, .feedback = 0.38f, .dampingHz = 4200.0f};
  song.reverb = {.seconds = 2.0f, .dampingHz = 6000.0f, .predelayMs = 15.0f};
  song.sidechain = {.attackMs = 4.0f, .releaseBeats = 0.22f};
  song.ending = Ending::Loop;
  song.tailSeconds = 3.0;
  song.masterDrive = 0.9f;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = -4.0f, .keysSidechain = true}, 1.0f, 1.0f, 0.6f),
      drum("clap", DrumKind::Clap, {.gainDb = -4.0f, .reverbSend = 0.25f}),
      drum("snare", DrumKind::Snare, {.gainDb = -6.0f, .pan = -0.05f, .reverbSend = 0.2f}, 1.1f,
           0.7f, 0.6f),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -6.0f, .pan = 0.25f, .duck = 0.3f}),
      drum("open hat", DrumKind::OpenHat, {.gainDb = -11.0f, .pan = -0.2f, .duck = 0.5f}, 1.05f),
      drum("perc", DrumKind::Snare,
           {.gainDb = -9.0f, .pan = -0.45f, .delaySend = 0.2f, .duck = 0.3f}, 2.1f, 0.35f, 0.1f),
      drum("tom", DrumKind::Tom, {.gainDb = -6.0f, .pan = 0.15f, .reverbSend = 0.25f}, 1.3f),
      drum("crash", DrumKind::Crash, {.gainDb = -10.0f, .pan = 0.1f, .reverbSend = 0.2f}),
      synth("bass", rollingBass(), {.gainDb = -2.5f, .duck = 0.75f}),
      synth("sub", subBass(), {.gainDb = -10.0f, .duck = 0.6f}),
      synth("stab", stab(),
            {.gainDb = -10.0f, .delaySend = 0.25f, .reverbSend = 0.3f, .duck = 0.6f}),
      synth("lead", lead(),
            {.gainDb = -14.0f, .pan = 0.1f, .delaySend = 0.35f, .reverbSend = 0.25f, .duck = 0.4f}),
      synth(
          "arp", pluck(),
          {.gainDb = -11.0f, .pan = -0.25f, .delaySend = 0.35f, .reverbSend = 0.2f, .duck = 0.5f}),
      synth("counter", lead(),
            {.gainDb = -15.0f, .pan = -0.2f, .delaySend = 0.4f, .reverbSend = 0.35f, .duck = 0.4f}),
      synth("pad", pad(), {.gainDb = -16.0f, .reverbSend = 0.45f, .duck = 0.5f}),
      synth("riser", riser(), {.gainDb = -14.0f, .reverbSend = 0.4f}),
  };

  // Three progressions, voiced so the top three notes barely move:
  // main  Fm  Db  Eb  C   (i VI VII V: the major V pulls back every fourth bar)
  // lift  Db  Eb  Cm  Fm  (the bridge: it sinks to the tonic instead)
  // hook  Db  Eb  Fm  C   (the second hook, from the breakdown on)
  const std::vector<std::vector<int>> mainChords = {
      {15, 19, 24}, {15, 20, 24}, {14, 17, 22}, {14, 19, 23}};
  const std::vector<std::vector<int>> liftChords = {
      {15, 20, 24}, {14, 17, 22}, {14, 19, 22}, {15, 19, 24}};
  const std::vector<std::vector<int>> hookChords = {
      {15, 20, 24}, {14, 17, 22}, {15, 19, 24}, {14, 19, 23}};
  const std::vector<int> mainRoots = {0, 8, 10, 7};  // from F1
  const std::vector<int> liftRoots = {8, 10, 7, 0};
  const std::vector<int> hookRoots = {8, 10, 0, 7};
  const auto stabText = [&](const std::vector<std::vector<int>>& chords) {
    std::string text;
    for (const std::string& c : chordTokens(chords))
      text += c + " . . " + c + " | . . " + c + " . | . " + c + " . . | " + c + " . " + c + " . |";
    return text;
  };
  const std::vector<std::string> mainTokens = chordTokens(mainChords);
  const std::vector<std::string> liftTokens = chordTokens(liftChords);
  const std::vector<std::string> hookTokens = chordTokens(hookChords);

  song.patterns = {
      rhythm("four", "X... X... X... X..."),
      rhythm("backbeat", ".... X... .... X..."),
      rhythm("backbeat ghost", ".... X... .... X..o"),
      rhythm("sixteenths", "x.o. x.ox x.o. x.oo"),
      rhythm("eighths", "x.x. x.x. x.x. x.x."),
      rhythm("offbeats", "..X. ..X. ..X. ..X."),
      rhythm("perc", "...x ..x. ...o .x.. | ...x ..x. .o.x ..x."),
      rhythm("perc B", "..xx ..x. .x.o .x.x | ...x .xx. .o.x .xx."),
      rhythm("sixteenths B", "x.ox x.ox x.ox xxoo"),
      rhythm("roll", times(4, "x...") + times(4, "x.x.") + times(4, "xxxx") + times(4, "XXXX")),
      melody("tom fill", ". . . . | . . . . | 7 . 7 5 | . 5 0 0"),
      downbeat("crash"),
      held("riser 4", 4),
      held("riser 2", 2),
      held("riser 1", 1),
      melody("roll bass", ". 0 0 0 | . 0 0 12 | . 0 0 0 | . 0 12 0"),
      melody("drive bass", ". 0 0 12 | . 0 7 0 | . 0 0 12 | . 7 12 7"),
      melody("sub", "0 - - - - - - - - - - - - - - -"),
      melody("main stabs", stabText(mainChords)),
      melody("lift stabs", stabText(liftChords)),
      melody("hook stabs", stabText(hookChords)),
      comping("lift pad", {liftTokens.begin(), liftTokens.end()}, "x--- ---- ---- ----"),
      comping("hook pad", {hookTokens.begin(), hookTokens.end()}, "x--- ---- ---- ----"),
      comping("main pad", {mainTokens.begin(), mainTokens.end()}, "x--- ---- ---- ----"),
      // Three notes against four: the figure starts on a different sixteenth each beat.
      melody("main arp", arpeggio(mainChords, "0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 3")),
      melody("lift arp", arpeggio(liftChords, "0 1 2 0 1 2 0 1 2 0 1 2 3 2 1 0")),
      melody("hook arp", arpeggio(hookChords, "2 1 0 2 1 0 2 1 0 2 1 0 3 2 1 0")),
      melody("hook A",
             "31 - - 27 | - - 24 - | 27 - 31 - | 34 - 31 - |"
             "32 - - 29 | - - 27 - | 24 - 27 - | 29 - - - |"
             "31 - - 29 | - - 26 - | 22 - 26 - | 29 - 31 - |"
             "35 - - 31 | - - 26 - | 23 - - - | . . . . |"
             "31 - - 27 | - - 24 - | 27 - 31 - | 36 - 34 - |"
             "32 - - 31 | - - 29 - | 27 - 29 - | 32 - - - |"
             "34 - - 31 | - - 29 - | 26 - 29 - | 31 - 34 - |"
             "35 - - - | 31 - 35 - | 38 - - 36 | 35 - - - "),
      // Long notes above hook A for its return, one a bar.
      melody("main counter", "39 " + times(15, "-") + "44 " + times(15, "-") + "46 " +
                                 times(15, "-") + "43 " + times(15, "-") + "48 " + times(15, "-") +
                                 "44 " + times(15, "-") + "41 " + times(15, "-") + "47 " +
                                 times(11, "-") + ". . . ."),
      melody("hook B",
             "32 - - 32 | - - 29 - | 27 - - 29 | - - 32 - |"
             "34 - - 34 | - - 31 - | 29 - - 31 | - - 34 - |"
             "36 - - 34 | - - 31 - | 32 - - 31 | - - 27 - |"
             "31 - - - | 35 - - - | 38 - - 35 | - - 31 - |"
             "32 - - 32 | - - 29 - | 27 - - 29 | - - 32 - |"
             "34 - - 34 | - - 36 - | 38 - - 36 | - - 34 - |"
             "36 - - - | 32 - - 31 | - - 27 - | 24 - - - |"
             "35 - - 31 | - - 26 - | 31 - 35 - | 38 - - - "),
  };

  const auto bass = [&](std::string pattern, const std::vector<int>& roots, float from = 0.0f,
                        float to = 0.0f) {
    return Clip{.instrument = "bass",
                .pattern = std::move(pattern),
                .transpose = -12,
                .progression = roots,
                .cutoffFrom = from,
                .cutoffTo = to};
  };
  const auto sub = [&](const std::vector<int>& roots) {
    return Clip{.instrument = "sub", .pattern = "sub", .transpose = -12, .progression = roots};
  };
  const Clip crash{.instrument = "crash", .pattern = "crash", .bars = 1};
  // Tom fills on the last bar of each eight-bar phrase.
  const Clip fill{.instrument = "tom", .pattern = "tom fill", .startBar = -1};
  const Clip midFill{.instrument = "tom", .pattern = "tom fill", .startBar = 7, .bars = 1};

  song.sections = {
      {"intro",
       8,
       {crash,
        {"kick", "four"},
        {.instrument = "hat", .pattern = "eighths", .levelFromDb = -8.0f},
        {.instrument = "open hat", .pattern = "offbeats", .gainDb = -4.0f, .startBar = 4},
        {"perc", "perc"},
        bass("roll bass", mainRoots, -2.5f, -1.2f),
        {.instrument = "tom", .pattern = "tom fill", .gainDb = -4.0f, .startBar = -1}}},
      {"build",
       8,
       {{"kick", "four"},
        {"clap", "backbeat"},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        {"perc", "perc"},
        bass("roll bass", mainRoots, -1.2f, 0.0f),
        {.instrument = "stab",
         .pattern = "main stabs",
         .cutoffFrom = -2.5f,
         .cutoffTo = -0.6f,
         .levelFromDb = -6.0f},
        {.instrument = "snare", .pattern = "roll", .levelFromDb = -14.0f, .startBar = -4},
        {.instrument = "riser",
         .pattern = "riser 4",
         .cutoffFrom = -2.0f,
         .cutoffTo = 3.2f,
         .levelFromDb = -16.0f,
         .startBar = -4}}},
      {"main A",
       16,
       {crash,
        {"kick", "four"},
        {"clap", "backbeat"},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        {"perc", "perc"},
        bass("roll bass", mainRoots),
        {"stab", "main stabs"},
        {.instrument = "lead", .pattern = "hook A", .gainDb = -1.5f},
        midFill,
        fill}},
      {"bridge",
       8,
       {crash,
        {.instrument = "kick", .pattern = "four", .bars = 7},
        {"clap", "backbeat ghost"},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        bass("drive bass", liftRoots),
        {.instrument = "arp", .pattern = "lift arp", .cutoffFrom = -1.0f, .cutoffTo = 0.6f},
        {.instrument = "stab",
         .pattern = "lift stabs",
         .gainDb = -3.0f,
         .cutoffFrom = -0.3f,
         .cutoffTo = -1.8f},
        {.instrument = "riser",
         .pattern = "riser 1",
         .cutoffFrom = -1.0f,
         .cutoffTo = 2.5f,
         .levelFromDb = -10.0f,
         .startBar = -1},
        fill}},
      {"breakdown",
       12,
       {crash,
        {.instrument = "pad", .pattern = "hook pad", .levelFromDb = -10.0f},
        sub(hookRoots),
        {.instrument = "arp",
         .pattern = "hook B",
         .transpose = -12,
         .gainDb = 8.0f,
         .cutoffFrom = -1.5f,
         .cutoffTo = 0.0f,
         .startBar = 4},
        {.instrument = "perc", .pattern = "perc", .gainDb = -4.0f, .startBar = 8},
        {.instrument = "hat", .pattern = "eighths", .levelFromDb = -12.0f, .startBar = 8},
        {.instrument = "tom", .pattern = "tom fill", .gainDb = -6.0f, .startBar = 7, .bars = 1}}},
      {"rise",
       4,
       {{"pad", "hook pad"},
        sub(hookRoots),
        {.instrument = "arp", .pattern = "hook arp", .cutoffFrom = -2.0f, .cutoffTo = 1.0f},
        {"hat", "sixteenths"},
        {.instrument = "snare", .pattern = "roll", .levelFromDb = -12.0f},
        {.instrument = "riser",
         .pattern = "riser 4",
         .cutoffFrom = -2.0f,
         .cutoffTo = 3.5f,
         .levelFromDb = -14.0f}}},
      {"main B",
       16,
       {crash,
        {"kick", "four"},
        {"clap", "backbeat"},
        {.instrument = "snare", .pattern = "backbeat", .gainDb = -3.0f},
        {"hat", "sixteenths"},
        {"open hat", "offbeats"},
        {"perc", "perc"},
        bass("drive bass", hookRoots),
        {"stab", "hook stabs"},
        {"lead", "hook B"},
        {.instrument = "arp", .pattern = "hook arp", .gainDb = -4.0f},
        {.instrument = "pad", .pattern = "hook pad", .gainDb = -4.0f},
        midFill,
        fill}},
      // Two bars without the kick, a roll and a riser, before hook A returns.
      {"stop",
       2,
       {{.instrument = "pad", .pattern = "main pad", .bars = 2},
        sub(mainRoots),
        {.instrument = "snare", .pattern = "roll", .startBar = 0},
        {"hat", "sixteenths"},
        {.instrument = "riser",
         .pattern = "riser 2",
         .cutoffFrom = -1.0f,
         .cutoffTo = 3.0f,
         .levelFromDb = -10.0f},
        fill}},
      // Hook A again with a counter-line above it at full level and a busier kit: snare on
      // the backbeat, new hats and percussion.
      {"main C",
       16,
       {crash,
        {"kick", "four"},
        {"clap", "backbeat ghost"},
        {.instrument = "snare", .pattern = "backbeat", .gainDb = -2.0f},
        {"hat", "sixteenths B"},
        {"open hat", "offbeats"},
        {"perc", "perc B"},
        bass("roll bass", mainRoots),
        {"stab", "main stabs"},
        {.instrument = "lead", .pattern = "hook A", .gainDb = 1.0f},
        {.instrument = "counter", .pattern = "main counter", .transpose = -12, .gainDb = 4.0f},
        {"arp", "main arp"},
        {.instrument = "crash", .pattern = "crash", .startBar = 8, .bars = 1},
        {.instrument = "pad",
         .pattern = "main pad",
         .gainDb = -3.0f,
         .levelFromDb = -8.0f,
         .startBar = 8},
        midFill,
        fill}},
      // Down to the intro's groove over its last bars: the loop starts again without a jump.
      {"outro",
       12,
       {crash,
        {"kick", "four"},
        {.instrument = "clap", .pattern = "backbeat", .bars = 8},
        {.instrument = "hat", .pattern = "sixteenths", .bars = 8},
        {.instrument = "hat", .pattern = "eighths", .startBar = 8},
        {.instrument = "open hat", .pattern = "offbeats", .bars = 8},
        {"perc", "perc"},
        bass("roll bass", mainRoots, 0.0f, -2.5f),
        {.instrument = "stab",
         .pattern = "main stabs",
         .cutoffFrom = 0.0f,
         .cutoffTo = -2.5f,
         .levelToDb = -8.0f,
         .bars = 8},
        {.instrument = "arp",
         .pattern = "main arp",
         .cutoffFrom = 0.0f,
         .cutoffTo = -2.0f,
         .levelToDb = -10.0f,
         .bars = 4},
        {.instrument = "riser",
         .pattern = "riser 2",
         .cutoffFrom = -1.5f,
         .cutoffTo = 1.5f,
         .levelFromDb = -14.0f,
         .levelToDb = -4.0f,
         .startBar = -2},
        midFill,
        fill}},
  };
  return song;
}

}  // namespace musicgen::songs
