// The subtractive synth voice: stacks of band-limited oscillators that may slide in from
// another pitch, a resonant filter moved by its own envelope (further on accents), key
// tracking, a tempo-locked LFO and arrangement automation, then optional saturation and
// the amplitude envelope.
// Depends on: oscillator, state_variable_filter, envelope, voice, rng.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "musicgen/envelope.h"
#include "musicgen/oscillator.h"
#include "musicgen/rng.h"
#include "musicgen/state_variable_filter.h"
#include "musicgen/voice.h"

namespace musicgen {

struct OscillatorLayer {
  Wave wave = Wave::Saw;
  float level = 1.0f;
  float semitones = 0.0f;    // offset from the played note
  int unison = 1;            // oscillators in a detuned stack (a "supersaw" is 5 to 9)
  float detuneCents = 0.0f;  // spread of the stack, lowest to highest
  float width = 0.0f;        // 0..1: how far the stack fans out across the stereo field
  float pulseWidth = 0.5f;
};

struct FilterPatch {
  FilterMode mode = FilterMode::LowPass;
  float cutoffHz = 18000.0f;
  float resonance = 0.0f;        // 0..1
  float envelopeOctaves = 0.0f;  // cutoff rise at the filter envelope's peak
  float accentOctaves = 0.0f;    // added to envelopeOctaves on accented notes
  float keyTrack = 0.0f;         // 0..1: how much the cutoff follows the note (1 = fully)
};

// Sweeps the cutoff up and back once per cycle, locked to the beat from the song's start.
struct LfoPatch {
  float cyclesPerBeat = 0.0f;  // 0 = off; a note may ask for its own rate
  float octaves = 0.0f;        // cutoff rise at the top of the cycle
};

struct SynthPatch {
  std::vector<OscillatorLayer> layers{};
  float noise = 0.0f;  // white noise mixed in before the filter
  Adsr amp{};
  Adsr filterEnvelope{};
  FilterPatch filter{};
  LfoPatch lfo{};
  float drive = 0.0f;          // 0 = clean; higher saturates after the filter (growl)
  float glideSeconds = 0.06f;  // how long a sliding note takes to reach its pitch
};

struct SynthNote {
  double midiNote = 60.0;
  float velocity = 1.0f;
  std::int64_t startFrame = 0;        // in the song, for the LFO and automation
  std::int64_t gateFrames = 1;        // key held this long, then the release
  float lfoCyclesPerBeat = 0.0f;      // > 0 overrides the patch's rate
  Ramp cutoffOctaves{};               // arrangement automation of the cutoff
  std::optional<double> glideFrom{};  // MIDI note the pitch starts at
  bool accent = false;
};

class SynthVoice final : public Voice {
 public:
  SynthVoice(const SynthPatch& patch, const SynthNote& note, double sampleRate,
             double framesPerBeat, std::uint64_t seed);

  void render(float* left, float* right, std::size_t frames) override;
  bool finished() const override { return amp_.finished(); }

 private:
  struct StackVoice {
    Oscillator oscillator;
    double pitch;  // MIDI note, layer offset and detune included
    float gainLeft;
    float gainRight;
  };

  void updateCutoff();
  void updateGlide();

  const SynthPatch& patch_;
  SynthNote note_;
  double framesPerBeat_;
  std::vector<StackVoice> stack_;
  StateVariableFilter filterLeft_;
  StateVariableFilter filterRight_;
  EnvelopeGenerator amp_;
  EnvelopeGenerator filterEnvelope_;
  float filterEnvelopeLevel_ = 0.0f;
  float driveNormal_ = 1.0f;  // keeps a full-scale input at full scale through the drive
  double glideFactor_ = 0.0;  // factor on the remaining slide per cutoff update
  double glideOffset_ = 0.0;  // semitones still to slide; 0 once there
  Rng noise_;
  std::int64_t position_ = 0;  // frames rendered so far
};

double midiToHz(double midiNote);

}  // namespace musicgen
