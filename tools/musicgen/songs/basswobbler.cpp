// "BassWobbler": half-time wobble music in E minor at 140 BPM. The bass is a saw stack
// through a resonant low-pass whose cutoff an LFO sweeps at a different rate on each note;
// a clean sine sub carries the same notes underneath and a band-passed growl answers it
// in the second drop. Each drop comes after a build that speeds the wobble up and one bar
// of near silence with a falling sub; between them a breakdown over a slow, detuned bass.
#include "musicgen/pattern_notation.h"
#include "musicgen/songs/composition.h"
#include "musicgen/songs/instrument_shorthand.h"
#include "musicgen/songs/songs.h"

namespace musicgen::songs {

namespace {

SynthPatch wobble() {
  return {.layers =
              {{.wave = Wave::Saw, .level = 0.7f, .unison = 2, .detuneCents = 14.0f, .width = 0.4f},
               {.wave = Wave::Pulse, .level = 0.45f, .semitones = 12.0f}},
          .amp = {.attack = 0.004f, .decay = 0.1f, .sustain = 0.9f, .release = 0.05f},
          .filter = {.cutoffHz = 90.0f, .resonance = 0.6f, .keyTrack = 0.5f},
          .lfo = {.cyclesPerBeat = 1.0f, .octaves = 5.8f},
          .drive = 2.0f};
}

SynthPatch growl() {
  // A band-pass swept through the vowel range sounds like a mouth opening and closing.
  return {.layers = {{.wave = Wave::Pulse, .level = 0.7f, .pulseWidth = 0.3f},
                     {.wave = Wave::Saw, .level = 0.6f, .semitones = 0.1f}},
          .amp = {.attack = 0.004f, .decay = 0.1f, .sustain = 0.9f, .release = 0.06f},
          .filter = {.mode = FilterMode::BandPass, .cutoffHz = 260.0f, .resonance = 0.75f},
          .lfo = {.cyclesPerBeat = 2.0f, .octaves = 3.2f},
          .drive = 3.5f};
}

SynthPatch sub() {
  return {.layers = {{.wave = Wave::Sine}},
          .amp = {.attack = 0.005f, .decay = 0.1f, .sustain = 1.0f, .release = 0.06f}};
}

SynthPatch dive() {
  return {.layers = {{.wave = Wave::Sine}, {.wave = Wave::Triangle, .level = 0.3f}},
          .amp = {.attack = 0.01f, .decay = 0.8f, .sustain = 0.8f, .release = 0.2f},
          .glideSeconds = 1.6f};
}

SynthPatch detunedBass() {
  return {
      .layers =
          {{.wave = Wave::Saw, .level = 0.8f, .unison = 3, .detuneCents = 22.0f, .width = 0.35f}},
      .amp = {.attack = 0.06f, .decay = 0.5f, .sustain = 0.9f, .release = 0.4f},
      .filter = {.cutoffHz = 320.0f, .resonance = 0.25f},
      .drive = 0.6f};
}

SynthPatch pad() {
  return {
      .layers =
          {{.wave = Wave::Saw, .level = 0.8f, .unison = 5, .detuneCents = 22.0f, .width = 0.9f}},
      .amp = {.attack = 0.4f, .decay = 1.0f, .sustain = 0.8f, .release = 0.8f},
      .filter = {.cutoffHz = 1400.0f, .resonance = 0.1f}};
}

SynthPatch chime() {
  return {.layers = {{.wave = Wave::Triangle, .level = 0.8f},
                     {.wave = Wave::Sine, .level = 0.4f, .semitones = 12.0f}},
          .amp = {.attack = 0.002f, .decay = 0.5f, .sustain = 0.0f, .release = 0.3f},
          .filter = {.cutoffHz = 4000.0f}};
}

SynthPatch lead() {
  return {
      .layers =
          {{.wave = Wave::Triangle, .level = 0.8f},
           {.wave = Wave::Saw, .level = 0.25f, .unison = 2, .detuneCents = 10.0f, .width = 0.5f}},
      .amp = {.attack = 0.05f, .decay = 0.6f, .sustain = 0.7f, .release = 0.4f},
      .filter = {.cutoffHz = 2200.0f, .resonance = 0.1f, .keyTrack = 0.3f}};
}

SynthPatch riser() {
  return {.noise = 0.7f,
          .amp = {.attack = 2.0f, .decay = 1.0f, .sustain = 1.0f, .release = 0.3f},
          .filter = {.mode = FilterMode::BandPass, .cutoffHz = 800.0f, .resonance = 0.6f}};
}

}  // namespace

Song basswobbler() {
  Song song;
  song.title = "BassWobbler";
  song.bpm = 140.0;
  song.rootNote = 40;  // E2
  song.swing = 0.08f;
  song.seed = 0x776f62626c65ull;
  song.delay = {.beats = 0.75f, .feedback = 0.4f, .dampingHz = 3500.0f};
  song.reverb = {.seconds = 2.6f, .dampingHz = 5000.0f, .predelayMs = 25.0f};
  song.sidechain = {.attackMs = 5.0f, .releaseBeats = 0.7f};
  song.ending = Ending::Loop;
  song.tailSeconds = 3.5;
  song.masterDrive = 1.0f;

  song.instruments = {
      drum("kick", DrumKind::Kick, {.gainDb = 1.0f, .keysSidechain = true}, 0.95f, 1.3f, 0.5f),
      drum("snare", DrumKind::Snare, {.gainDb = 0.0f, .reverbSend = 0.3f}, 1.0f, 1.4f, 0.65f),
      drum("clap", DrumKind::Clap, {.gainDb = -8.0f, .pan = 0.05f, .reverbSend = 0.3f}),
      drum("hat", DrumKind::ClosedHat, {.gainDb = -4.0f, .pan = 0.2f, .duck = 0.2f}),
      drum("open hat", DrumKind::OpenHat, {.gainDb = -12.0f, .pan = -0.25f, .duck = 0.3f}),
      drum("crash", DrumKind::Crash, {.gainDb = -9.0f, .reverbSend = 0.25f}, 0.95f),
      synth("sub", sub(), {.gainDb = -14.0f, .duck = 1.0f}),
      synth("wobble", wobble(), {.gainDb = -10.0f, .duck = 0.9f}),
      synth("growl", growl(), {.gainDb = -10.0f, .pan = 0.1f, .delaySend = 0.15f, .duck = 0.5f}),
      synth("dive", dive(), {.gainDb = -8.0f, .reverbSend = 0.3f}),
      synth("detuned", detunedBass(), {.gainDb = -10.0f, .duck = 0.5f}),
      synth("pad", pad(), {.gainDb = -16.0f, .reverbSend = 0.5f, .duck = 0.5f}),
      synth("chime", chime(),
            {.gainDb = -9.0f, .pan = -0.15f, .delaySend = 0.4f, .reverbSend = 0.35f, .duck = 0.3f}),
      synth("lead", lead(),
            {.gainDb = -9.0f, .pan = 0.1f, .delaySend = 0.3f, .reverbSend = 0.45f, .duck = 0.3f}),
      synth("riser", riser(), {.gainDb = -12.0f, .reverbSend = 0.4f}),
  };

  // Em, C, Am, B: the B major chord's D sharp is the one note outside the key, and the
  // melodies lean on it on the way back to E.
  song.patterns = {
      rhythm("kick", "X... .... ..x. .... | X... ..x. .... ...."),
      rhythm("kick B", "X... ..x. .... .... | X... .... ..X. ...."),
      rhythm("kick sparse", "X... .... .... ...."),
      rhythm("snare", ".... .... X... ...."),
      // Eight-bar phrases that end on a fill.
      rhythm("snare phrase", phrase(8, ".... .... X... ....", ".... ..o. X..x X.XX")),
      rhythm("snare ghost", phrase(4, ".... .... X... ..o. | .... .... X... o..o",
                                   ".... .... X... ..o. | .... ..x. X.x. XXXX")),
      rhythm("snare ghost B", phrase(4, ".... ..o. X... ..o. | .o.. .... X..o o..o",
                                     ".... ..o. X... ..o. | X..x ..X. X.X. XXXX")),
      rhythm("kick phrase", phrase(4, "X... .... ..x. .... | X... ..x. .... ....",
                                   "X... .... ..x. .... | X... ..x. X.x. ....")),
      rhythm("hats", "x.x. x.xo x.x. xoxx"),
      rhythm("hats phrase", phrase(8, "x.x. x.xo x.x. xoxx", "x.x. x.xo xxxx XXXX")),
      rhythm("hats B", "x.xx x.xo x.x. xxxo | x.x. xox. x.xx x.xx"),
      rhythm("open hats", "..x. .... ..x. ...."),
      rhythm("build roll", times(2, "X... X... X... X...") + times(2, "x.x. x.x. x.x. x.x.") +
                               times(2, "xxxx xxxx xxxx xxxx") + "XXXX XXXX XXXX XXXX"),
      downbeat("crash"),
      held("riser 7", 7),
      // The number after @ is the wobble rate in cycles per beat: 3 and 6 are triplets.
      melody("riff A",
             "0@1 - - - - - - - 0@2 - - - 0@4 - - - |"
             "0@3 - - - - - 3@2 - - - 5@4 - - - 7@8 - |"
             "8@1 - - - - - - - 8@3 - - - - - 8@6 - |"
             "7@2 - - - - - - - 7@4 - - - 10@8 - 12@8 - |"
             "0@2 - - - 0@4 - - - . . 0@8 - 0@1 - - - |"
             "3@3 - - - - - 5@3 - - - - - 7@6 - - - |"
             "8@4 - - - 8@2 - - - - - - - 5@6 - - - |"
             "7@1 - - - - - - - 7@6 - - - - - 7@12 - "),
      melody("riff B",
             "0@4 - - - - - . . 0@8 - - . 0@2 - - - |"
             ". . 0@6 - - - 3@4 - - - 0@1 - - - - - |"
             "8@4 - - - - - . . 8@8 - - . 7@2 - - - |"
             ". . 7@6 - - - 10@4 - - - 12@8 - - - 7@16 - |"
             "0@4 - - - - - . . 0@8 - - . 0@2 - - - |"
             ". . 3@6 - - - 5@4 - - - 7@1 - - - - - |"
             "8@3 - - - - - - - 5@6 - - - - - . . |"
             "7@8 - - - 7@4 - - - 7@2 - - - 7@1 - - - "),
      // The growl fills the holes riff B leaves.
      melody("growl answers",
             ". . . . . . 12@4 - . . . . . . . . | 12@8 - . . . . . . . . . . . . . . |"
             ". . . . . . 20@4 - . . . . . . . . | 19@8 - . . . . . . . . . . . . . . |"
             ". . . . . . 12@4 - . . . . . . . . | 15@8 - . . . . . . . . . . . . . . |"
             ". . . . . . . . . . . . . . 17@6 - | . . . . . . . . . . . . . . . . "),
      // Two bars each at one, two and four cycles a beat, then eight: the build speeds up.
      melody("speed up", "0@1 " + times(31, "-") + "0@2 " + times(31, "-") + "0@4 " +
                             times(31, "-") + "0@8 " + times(15, "-")),
      melody("dive", "24 ~0 - - - - - - - - - - - - - -"),
      melody("held", "0 - - - - - - - - - - - - - - -"),
      comping("pad", {"12+15+19", "12+15+20", "12+17+20", "11+15+19"}, "x--- ---- ---- ----"),
      melody("chime",
             ". . 31 - | . 27 . 24 | - - . . | . . . . |"
             ". . 31 - | . 34 . 31 | - - 27 - | . . . . |"
             ". . 32 - | . 31 . 27 | - - . . | . . 24 - |"
             "26 - . . | 29 - . . | 35 - - - | . . . . "),
      melody("chime high",
             ". . 36 - | . 34 . 31 | - - 34 - | 36 - . . |"
             ". . 39 - | . 36 . 34 | - - 31 - | . . . . |"
             ". . 36 - | . 32 . 31 | - - 29 - | 31 - . . |"
             "35 - . . | 33 - . . | 31 - 30 - | - - . . "),
      melody("break lead",
             "31 - - - - - - - 27 - - - 29 - 31 - |"
             "32 - - - - - - - 31 - - - 27 - - - |"
             "24 - - - - - - - 27 - - - 29 - 31 - |"
             "35 - - - - - - - 31 - - - 26 - - - |"
             "36 - - - - - - - 34 - - - 31 - - - |"
             "32 - - - - - - - 36 - - - 34 - 32 - |"
             "31 - - - - - - - 29 - - - 27 - 24 - |"
             "27 - - - 26 - - - - - - - - - - - "),
  };

  const std::vector<int> heldRoots = {0, 8, 5, 7};  // E1, C2, A1, B1
  const Clip crash{.instrument = "crash", .pattern = "crash", .bars = 1};
  const auto riff = [](std::string instrument, std::string pattern, float gainDb = 0.0f) {
    return Clip{.instrument = std::move(instrument),
                .pattern = std::move(pattern),
                .transpose = -12,
                .gainDb = gainDb};
  };
  const auto build = [&](float riserTo) {
    return std::vector<Clip>{
        {"kick", "kick sparse"},
        {"hat", "hats"},
        {"pad", "pad"},
        {.instrument = "snare", .pattern = "build roll", .levelFromDb = -16.0f},
        {.instrument = "wobble",
         .pattern = "speed up",
         .transpose = -12,
         .cutoffFrom = -2.0f,
         .cutoffTo = 0.0f,
         .levelFromDb = -6.0f},
        {.instrument = "sub", .pattern = "speed up", .transpose = -12, .levelFromDb = -12.0f},
        {.instrument = "riser",
         .pattern = "riser 7",
         .cutoffFrom = -2.0f,
         .cutoffTo = riserTo,
         .levelFromDb = -16.0f}};
  };
  const std::vector<Clip> stop = {{.instrument = "dive", .pattern = "dive", .transpose = -12},
                                  {.instrument = "chime", .pattern = "chime", .bars = 1}};

  song.sections = {
      // In at once on the pad and the riff's filtered sub, so the track (and every loop of
      // it) starts at a level; the filter opens and the kit joins a phrase at a time.
      {"intro",
       16,
       {{"pad", "pad"},
        {.instrument = "chime", .pattern = "chime", .startBar = 8},
        {.instrument = "sub", .pattern = "riff A", .transpose = -12, .levelFromDb = -4.0f},
        {.instrument = "wobble",
         .pattern = "riff A",
         .transpose = -12,
         .gainDb = -4.0f,
         .cutoffFrom = -3.0f,
         .cutoffTo = -1.0f},
        {"kick", "kick sparse"},
        {.instrument = "snare", .pattern = "snare phrase", .gainDb = -6.0f, .startBar = 8},
        {.instrument = "hat", .pattern = "hats phrase", .gainDb = -6.0f, .startBar = 4}}},
      {"build", 7, build(3.0f)},
      {"stop", 1, stop},
      {"drop A",
       16,
       {crash,
        {"kick", "kick phrase"},
        {"snare", "snare phrase"},
        {"hat", "hats phrase"},
        riff("sub", "riff A"),
        riff("wobble", "riff A", -4.0f),
        {.instrument = "pad", .pattern = "pad", .gainDb = -6.0f}}},
      {"drop A2",
       16,
       {crash,
        {"kick", "kick B"},
        {"snare", "snare ghost"},
        {"clap", "snare"},
        {"hat", "hats B"},
        {"open hat", "open hats"},
        riff("sub", "riff A", 1.0f),
        riff("wobble", "riff A", 1.5f),
        {.instrument = "chime", .pattern = "chime high", .gainDb = 2.0f}}},
      {"breakdown",
       12,
       {crash,
        {"pad", "pad"},
        {.instrument = "detuned", .pattern = "held", .transpose = -12, .progression = heldRoots},
        {"chime", "chime"},
        {"lead", "break lead"},
        {.instrument = "hat", .pattern = "hats phrase", .gainDb = -8.0f, .startBar = 4}}},
      {"lift",
       8,
       {{"pad", "pad"},
        {.instrument = "detuned", .pattern = "held", .transpose = -12, .progression = heldRoots},
        {"lead", "break lead"},
        {"kick", "kick sparse"},
        {.instrument = "snare", .pattern = "snare phrase", .gainDb = -6.0f},
        {"hat", "hats"}}},
      {"build 2", 7, build(3.6f)},
      {"stop 2", 1, stop},
      {"drop B",
       16,
       {crash,
        {"kick", "kick B"},
        {"snare", "snare ghost"},
        {"hat", "hats B"},
        riff("sub", "riff B"),
        riff("wobble", "riff B", -4.0f)}},
      {"drop B2",
       16,
       {crash,
        {"kick", "kick phrase"},
        {"snare", "snare ghost B"},
        {"clap", "snare"},
        {"hat", "hats B"},
        {"open hat", "open hats"},
        riff("sub", "riff B", 1.0f),
        riff("wobble", "riff B", 1.5f),
        riff("growl", "growl answers", 2.0f),
        {.instrument = "chime", .pattern = "chime high", .startBar = 8}}},
      // The first riff comes back under the breakdown's lead, with the growl answering.
      {"drop C",
       8,
       {crash,
        {"kick", "kick phrase"},
        {"snare", "snare ghost B"},
        {"clap", "snare"},
        {"hat", "hats B"},
        {"open hat", "open hats"},
        riff("sub", "riff A"),
        riff("wobble", "riff A", 1.0f),
        riff("growl", "growl answers", -2.0f),
        {.instrument = "lead", .pattern = "break lead", .gainDb = 2.0f}}},
      // A phrase down to the intro's pad and filtered riff, then one bar of the stop that
      // leads into every drop, leading into the start.
      {"outro",
       8,
       {crash,
        {"pad", "pad"},
        {"chime", "chime"},
        {.instrument = "wobble",
         .pattern = "riff A",
         .transpose = -12,
         .cutoffFrom = 0.0f,
         .cutoffTo = -3.0f,
         .levelToDb = -4.0f},
        {.instrument = "sub", .pattern = "riff A", .transpose = -12, .levelToDb = -4.0f},
        {"kick", "kick"},
        {"snare", "snare phrase"},
        {.instrument = "hat", .pattern = "hats phrase", .levelToDb = -6.0f}}},
      {"turn", 1, stop},
  };
  return song;
}

}  // namespace musicgen::songs
