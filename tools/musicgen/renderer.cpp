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
  const SynthNote synthNote{static_cast<double>(note.midiNote),
                            note.velocity,
                            note.startFrame,
                            note.lengthFrames,
                            note.lfoCyclesPerBeat,
                            note.cutoffOctaves};
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

  // Adds the whole song into `mix`. Notes starting past its end are left out; sounds
  // still ringing at the end are cut there.
  void run(StereoBuffer& mix) {
    const auto total = static_cast<std::int64_t>(mix.frames());
    for (std::int64_t start = 0; start < total; start += kBlockFrames) {
      const auto frames =
          static_cast<std::size_t>(std::min<std::int64_t>(kBlockFrames, total - start));
      startNotes(start, frames);
      sends_.clear();
      for (std::size_t i = 0; i < frames; ++i)
        pump_[i] = sidechain_.at(start + static_cast<std::int64_t>(i));
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
          {startVoice(song_, timing_, note, mixSeed(song_.seed, nextNote_)),
           static_cast<std::size_t>(note.startFrame - blockStart)});
    }
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

std::int64_t naturalLengthFrames(const Song& song) {
  const std::int64_t loop = timingOf(song, kSampleRate).frameOf(arrangementSteps(song));
  if (song.ending == Ending::Loop) return loop;
  return loop + std::llround(song.tailSeconds * kSampleRate);
}

StereoBuffer renderSong(const Song& song, const RenderOptions& options) {
  validateSong(song);
  const Timing timing = timingOf(song, kSampleRate);
  const std::int64_t loopFrames = timing.frameOf(arrangementSteps(song));
  std::int64_t steps = arrangementSteps(song);
  std::int64_t frames = 0;
  if (options.seconds) {
    if (!(*options.seconds > 0.0)) throw std::invalid_argument("length must be positive");
    frames = std::llround(*options.seconds * kSampleRate);
    steps =
        static_cast<std::int64_t>(std::ceil(static_cast<double>(frames) / timing.framesPerStep));
  } else {
    // A looping song renders one tail past the end and folds it back onto the start.
    frames = loopFrames + std::llround(song.tailSeconds * kSampleRate);
  }

  StereoBuffer mix(static_cast<std::size_t>(frames));
  const std::vector<ScheduledNote> notes = scheduleNotes(song, steps, kSampleRate);
  BlockMixer(song, timing, notes).run(mix);
  removeRumble(mix, kSampleRate);
  if (options.seconds) {
    fadeOut(mix, static_cast<std::size_t>(
                     std::min<double>(kLengthFadeSeconds * kSampleRate, frames / 4.0)));
  } else if (song.ending == Ending::Loop) {
    foldTail(mix, static_cast<std::size_t>(loopFrames));
  }
  finishMaster(mix, song.masterDrive, kMasterPeakDb);
  return mix;
}

}  // namespace musicgen
