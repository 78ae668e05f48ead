#include "musicgen/synth_voice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "musicgen/audio_buffer.h"

namespace musicgen {

namespace {

// The cutoff moves smoothly enough at this granularity and tan() stays off the hot path.
constexpr std::int64_t kCutoffUpdateFrames = 16;

}  // namespace

double midiToHz(double midiNote) {
  return 440.0 * std::exp2((midiNote - 69.0) / 12.0);
}

SynthVoice::SynthVoice(const SynthPatch& patch, const SynthNote& note, double sampleRate,
                       double framesPerBeat, std::uint64_t seed)
    : patch_(patch),
      note_(note),
      framesPerBeat_(framesPerBeat),
      filterLeft_(sampleRate, patch.filter.mode),
      filterRight_(sampleRate, patch.filter.mode),
      amp_(patch.amp, sampleRate, note.gateFrames),
      filterEnvelope_(patch.filterEnvelope, sampleRate, note.gateFrames),
      noise_(seed) {
  if (note.glideFrom && *note.glideFrom != note.midiNote) {
    glideOffset_ = *note.glideFrom - note.midiNote;
    // An exponential slide that is within 5% of the distance after glideSeconds, as a
    // portamento circuit does; it steps once per cutoff update.
    const double updates =
        std::max(1.0, patch.glideSeconds * sampleRate / static_cast<double>(kCutoffUpdateFrames));
    glideFactor_ = std::exp(std::log(0.05) / updates);
  }
  Rng phases(mixSeed(seed, 1));
  for (const OscillatorLayer& layer : patch.layers) {
    const int count = std::max(1, layer.unison);
    // Equal loudness whatever the stack size: uncorrelated voices add in power.
    const float level = layer.level / std::sqrt(static_cast<float>(count));
    for (int i = 0; i < count; ++i) {
      const double spread = count == 1 ? 0.0 : static_cast<double>(i) / (count - 1) - 0.5;
      const double cents = layer.detuneCents * spread;
      const double pitch = note.midiNote + layer.semitones + cents / 100.0;
      // Alternate sides so neighbouring detunes do not bunch up on one side.
      const float pan = static_cast<float>(layer.width * 2.0 * spread * (i % 2 == 0 ? 1 : -1));
      float gl = 1.0f, gr = 1.0f;
      panGains(pan, gl, gr);
      // A single oscillator starts at phase 0 so short plucks and basses start cleanly;
      // a stack starts at random phases so it does not flange on every note.
      const double phase = count == 1 ? 0.0 : phases.uniform();
      stack_.push_back({Oscillator(layer.wave, midiToHz(pitch + glideOffset_), sampleRate, phase,
                                   layer.pulseWidth),
                        pitch, level * gl, level * gr});
    }
  }
  if (patch.drive > 0.0f) driveNormal_ = 1.0f / std::tanh(1.0f + patch.drive);
  updateCutoff();
}

void SynthVoice::updateGlide() {
  glideOffset_ *= glideFactor_;
  if (std::abs(glideOffset_) < 0.01) glideOffset_ = 0.0;  // a cent short: land on the note
  for (StackVoice& v : stack_) v.oscillator.setFrequency(midiToHz(v.pitch + glideOffset_));
}

void SynthVoice::updateCutoff() {
  const FilterPatch& f = patch_.filter;
  const std::int64_t songFrame = note_.startFrame + position_;
  const float envelopeOctaves = f.envelopeOctaves + (note_.accent ? f.accentOctaves : 0.0f);
  double octaves = f.keyTrack * (note_.midiNote - 60.0) / 12.0 +
                   envelopeOctaves * filterEnvelopeLevel_ + note_.cutoffOctaves.at(songFrame);
  const float rate =
      note_.lfoCyclesPerBeat > 0.0f ? note_.lfoCyclesPerBeat : patch_.lfo.cyclesPerBeat;
  if (rate > 0.0f && patch_.lfo.octaves != 0.0f) {
    // Closed on the beat, open half a cycle later: the "wub" lands on the grid.
    double cycle = static_cast<double>(songFrame) / framesPerBeat_ * rate;
    cycle -= std::floor(cycle);
    octaves += patch_.lfo.octaves * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * cycle));
  }
  const double hz = f.cutoffHz * std::exp2(octaves);
  filterLeft_.setCutoff(hz, f.resonance);
  filterRight_.setCutoff(hz, f.resonance);
}

void SynthVoice::render(float* left, float* right, std::size_t frames) {
  for (std::size_t i = 0; i < frames && !amp_.finished(); ++i, ++position_) {
    filterEnvelopeLevel_ = filterEnvelope_.next();
    if (position_ % kCutoffUpdateFrames == 0) {
      if (glideOffset_ != 0.0 && position_ > 0) updateGlide();
      updateCutoff();
    }
    float l = 0.0f, r = 0.0f;
    for (StackVoice& v : stack_) {
      const float s = v.oscillator.next();
      l += s * v.gainLeft;
      r += s * v.gainRight;
    }
    if (patch_.noise > 0.0f) {
      const float n = noise_.bipolar() * patch_.noise;
      l += n;
      r += n;
    }
    l = filterLeft_.process(l);
    r = filterRight_.process(r);
    if (patch_.drive > 0.0f) {
      l = std::tanh((1.0f + patch_.drive) * l) * driveNormal_;
      r = std::tanh((1.0f + patch_.drive) * r) * driveNormal_;
    }
    const float gain = amp_.next() * note_.velocity;
    left[i] += l * gain;
    right[i] += r * gain;
  }
}

}  // namespace musicgen
