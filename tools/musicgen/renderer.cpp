#include "musicgen/renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

#include "musicgen/drums.h"
#include "musicgen/effects.h"
#include "musicgen/mastering.h"
#include "musicgen/rng.h"
#include "musicgen/schedule.h"
#include "musicgen/sidechain.h"
#include "musicgen/synth_voice.h"

namespace musicgen {

namespace {

constexpr std::size_t kBlockFrames = 512;
constexpr double kLengthFadeSeconds = 2.0;  // end fade when a length is imposed
constexpr int kPrerollBars = 1;             // rendered before an excerpt for its tails

struct PlayingVoice {
  std::unique_ptr<Voice> voice;
  std::size_t waitFrames;  // silent frames before its note starts
};

// An instrument's playing voices and its fixed mix gains.
struct Channel {
  std::vector<PlayingVoice> voices;
  float gainLeft = 1.0f;
  float gainRight = 1.0f;
};

std::unique_ptr<Voice> startVoice(const Song& song, const Timing& timing, const ScheduledNote& note,
                                  std::uint64_t seed) {
  const Instrument& instrument = song.instruments[note.instrument];
  if (const auto* drum = std::get_if<DrumPatch>(&instrument.patch)) {
    DrumPatch tuned = *drum;
    tuned.tune *= static_cast<float>(std::exp2((note.midiNote - song.rootNote) / 12.0));
    return std::make_unique<SampleVoice>(renderDrum(tuned, note.velocity, kSampleRate, seed));
  }
  SynthNote synthNote{.midiNote = static_cast<double>(note.midiNote),
                      .velocity = note.velocity,
                      .startFrame = note.startFrame,
                      .gateFrames = note.lengthFrames,
                      .lfoCyclesPerBeat = note.lfoCyclesPerBeat,
                      .cutoffOctaves = note.cutoffOctaves,
                      .accent = note.accent};
  if (note.glideFrom) synthNote.glideFrom = static_cast<double>(*note.glideFrom);
  return std::make_unique<SynthVoice>(std::get<SynthPatch>(instrument.patch), synthNote,
                                      kSampleRate, timing.framesPerBeat(), seed);
}

void mixGains(const MixSettings& mix, float& left, float& right) {
  const float gain = std::pow(10.0f, mix.gainDb / 20.0f);
  panGains(mix.pan, left, right);
  left *= gain;
  right *= gain;
}

SidechainEnvelope sidechainOf(const Song& song, const Timing& timing,
                              const std::vector<ScheduledNote>& notes) {
  std::vector<std::int64_t> triggers;
  for (const ScheduledNote& note : notes)
    if (song.instruments[note.instrument].mix.keysSidechain) triggers.push_back(note.startFrame);
  return SidechainEnvelope(std::move(triggers), song.sidechain, timing.framesPerBeat(),
                           kSampleRate);
}

// One render's moving parts: the instruments' voices, the side-chain, the send effects
// and the block buffers they share. Works through the song a block at a time so memory
// stays small however long the song is.
class BlockMixer {
 public:
  BlockMixer(const Song& song, const Timing& timing, const std::vector<ScheduledNote>& notes)
      : song_(song),
        timing_(timing),
        notes_(notes),
        channels_(song.instruments.size()),
        sidechain_(sidechainOf(song, timing, notes)),
        delay_(song.delay, timing.framesPerBeat(), kSampleRate),
        reverb_(song.reverb, kSampleRate) {
    for (std::size_t i = 0; i < channels_.size(); ++i)
      mixGains(song.instruments[i].mix, channels_[i].gainLeft, channels_[i].gainRight);
  }

  // Adds the song from `origin` (a song frame) on into `mix`. Notes starting past its end
  // are left out; sounds still ringing at the end are cut there.
  void run(StereoBuffer& mix, std::int64_t origin) {
    const auto total = static_cast<std::int64_t>(mix.frames());
    for (std::int64_t start = 0; start < total; start += kBlockFrames) {
      const auto frames =
          static_cast<std::size_t>(std::min<std::int64_t>(kBlockFrames, total - start));
      startNotes(origin + start, frames);
      sends_.clear();
      for (std::size_t i = 0; i < frames; ++i)
        pump_[i] = sidechain_.at(origin + start + static_cast<std::int64_t>(i));
      for (std::size_t c = 0; c < channels_.size(); ++c)
        mixChannel(c, frames, &mix.left[start], &mix.right[start]);
      delay_.process(sends_.delayLeft.data(), sends_.delayRight.data(), frames);
      reverb_.process(sends_.reverbLeft.data(), sends_.reverbRight.data(), frames);
      for (std::size_t i = 0; i < frames; ++i) {
        mix.left[start + i] += sends_.delayLeft[i] + sends_.reverbLeft[i];
        mix.right[start + i] += sends_.delayRight[i] + sends_.reverbRight[i];
      }
    }
  }

 private:
  struct Sends {
    std::array<float, kBlockFrames> delayLeft{}, delayRight{}, reverbLeft{}, reverbRight{};
    void clear() {
      for (auto* send : {&delayLeft, &delayRight, &reverbLeft, &reverbRight}) send->fill(0.0f);
    }
  };

  void startNotes(std::int64_t blockStart, std::size_t frames) {
    const std::int64_t blockEnd = blockStart + static_cast<std::int64_t>(frames);
    for (; nextNote_ < notes_.size() && notes_[nextNote_].startFrame < blockEnd; ++nextNote_) {
      const ScheduledNote& note = notes_[nextNote_];
      // A note starting inside the block waits for its own frame, not the block's.
      channels_[note.instrument].voices.push_back(
          {startVoice(song_, timing_, note, noteSeed(note)),
           static_cast<std::size_t>(note.startFrame - blockStart)});
    }
  }

  // A note's noise comes from where it sits in the arrangement, so an excerpt plays
  // exactly the hits the whole song plays there, on every pass.
  std::uint64_t noteSeed(const ScheduledNote& note) const {
    const auto voice = static_cast<std::uint64_t>(note.instrument) * 128 +
                       static_cast<std::uint64_t>(note.midiNote);
    return mixSeed(mixSeed(song_.seed, static_cast<std::uint64_t>(note.step)), voice);
  }

  void mixChannel(std::size_t index, std::size_t frames, float* left, float* right) {
    Channel& channel = channels_[index];
    if (channel.voices.empty()) return;
    busLeft_.fill(0.0f);
    busRight_.fill(0.0f);
    for (PlayingVoice& playing : channel.voices) {
      const std::size_t wait = std::min(playing.waitFrames, frames);
      playing.voice->render(busLeft_.data() + wait, busRight_.data() + wait, frames - wait);
      playing.waitFrames -= wait;
    }
    std::erase_if(channel.voices, [](const PlayingVoice& p) { return p.voice->finished(); });

    const MixSettings& settings = song_.instruments[index].mix;
    for (std::size_t i = 0; i < frames; ++i) {
      const float duck = 1.0f - settings.duck * pump_[i];
      const float l = busLeft_[i] * channel.gainLeft * duck;
      const float r = busRight_[i] * channel.gainRight * duck;
      left[i] += l;
      right[i] += r;
      sends_.delayLeft[i] += l * settings.delaySend;
      sends_.delayRight[i] += r * settings.delaySend;
      sends_.reverbLeft[i] += l * settings.reverbSend;
      sends_.reverbRight[i] += r * settings.reverbSend;
    }
  }

  const Song& song_;
  Timing timing_;
  const std::vector<ScheduledNote>& notes_;
  std::size_t nextNote_ = 0;  // the first note not yet started
  std::vector<Channel> channels_;
  SidechainEnvelope sidechain_;
  PingPongDelay delay_;
  Reverb reverb_;
  std::array<float, kBlockFrames> busLeft_{}, busRight_{};  // one instrument's voices summed
  std::array<float, kBlockFrames> pump_{};                  // side-chain depth per frame
  Sends sends_;
};

}  // namespace

int totalBars(const Song& song) {
  int bars = 0;
  for (const Section& section : song.sections) bars += section.bars;
  return bars;
}

std::int64_t naturalLengthFrames(const Song& song) {
  const std::int64_t loop = timingOf(song, kSampleRate).frameOf(arrangementSteps(song));
  if (song.ending == Ending::Loop) return loop;
  return loop + std::llround(song.tailSeconds * kSampleRate);
}

namespace {

// What to play for one render: song frames [origin, origin + frames), the notes in it,
// and how much of its start is pre-roll to drop.
struct RenderPlan {
  std::int64_t origin = 0;
  std::int64_t frames = 0;
  std::int64_t preroll = 0;
  std::vector<ScheduledNote> notes;
};

RenderPlan planRender(const Song& song, const RenderOptions& options) {
  const Timing timing = timingOf(song, kSampleRate);
  const std::int64_t loopSteps = arrangementSteps(song);
  RenderPlan plan;
  if (options.seconds) {
    if (!(*options.seconds > 0.0)) throw std::invalid_argument("length must be positive");
    plan.frames = std::llround(*options.seconds * kSampleRate);
    const auto steps = static_cast<std::int64_t>(
        std::ceil(static_cast<double>(plan.frames) / timing.framesPerStep));
    plan.notes = scheduleNotes(song, steps, kSampleRate);
  } else if (options.bars) {
    const BarRange range = *options.bars;
    if (range.first < 0 || range.count < 1 || range.first + range.count > totalBars(song))
      throw std::invalid_argument("bars outside the song");
    const std::int64_t barSteps = stepsPerBar(song);
    std::int64_t first = range.first * barSteps;
    // A looping song plays the excerpt on its second time through, after its own end.
    if (song.ending == Ending::Loop) first += loopSteps;
    const std::int64_t end = first + range.count * barSteps;
    const std::int64_t origin = std::max<std::int64_t>(0, first - kPrerollBars * barSteps);
    plan.origin = timing.frameOf(origin);
    plan.preroll = timing.frameOf(first) - plan.origin;
    plan.frames = timing.frameOf(end) - plan.origin;
    plan.notes = scheduleNotes(song, end, kSampleRate);
    std::erase_if(plan.notes, [&](const ScheduledNote& n) { return n.startFrame < plan.origin; });
  } else {
    // A looping song renders one tail past the end and folds it back onto the start.
    plan.frames = timing.frameOf(loopSteps) + std::llround(song.tailSeconds * kSampleRate);
    plan.notes = scheduleNotes(song, loopSteps, kSampleRate);
  }
  return plan;
}

}  // namespace

StereoBuffer renderMix(const Song& song, const RenderOptions& options) {
  validateSong(song);
  if (options.seconds && options.bars)
    throw std::invalid_argument("a render takes a length or a range of bars, not both");
  const Timing timing = timingOf(song, kSampleRate);
  const RenderPlan plan = planRender(song, options);

  StereoBuffer mix(static_cast<std::size_t>(plan.frames));
  BlockMixer(song, timing, plan.notes).run(mix, plan.origin);
  removeRumble(mix, kSampleRate);
  const auto preroll = static_cast<std::ptrdiff_t>(plan.preroll);
  mix.left.erase(mix.left.begin(), mix.left.begin() + preroll);
  mix.right.erase(mix.right.begin(), mix.right.begin() + preroll);

  if (options.seconds) {
    fadeOut(mix, static_cast<std::size_t>(std::min<double>(
                     kLengthFadeSeconds * kSampleRate, static_cast<double>(mix.frames()) / 4.0)));
  } else if (!options.bars && song.ending == Ending::Loop) {
    foldTail(mix, static_cast<std::size_t>(timing.frameOf(arrangementSteps(song))));
  }
  return mix;
}

StereoBuffer renderSong(const Song& song, const RenderOptions& options) {
  StereoBuffer mix = renderMix(song, options);
  const bool loops = !options.seconds && !options.bars && song.ending == Ending::Loop;
  finishMaster(mix,
               {.drive = song.masterDrive,
                .loudnessLufs = kMasterLoudnessLufs,
                .ceilingDbtp = kMasterCeilingDbtp,
                .circular = loops},
               kSampleRate);
  return mix;
}

}  // namespace musicgen
