#include "musicgen/drums.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "musicgen/oscillator.h"
#include "musicgen/rng.h"
#include "musicgen/state_variable_filter.h"

namespace musicgen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A decay of time constant tau is inaudible (-60 dB) after about 7 tau.
std::size_t framesFor(double tau, double sampleRate) {
  return static_cast<std::size_t>(std::ceil(7.0 * tau * sampleRate)) + 1;
}

// Soft saturation that keeps a peak of 1 at 1: gives the kick its weight.
float saturate(double x, double drive) {
  return static_cast<float>(std::tanh(drive * x) / std::tanh(drive));
}

std::vector<float> renderKick(const DrumPatch& p, double sr, Rng& rng) {
  const double startHz = 160.0 * p.tune;
  const double endHz = 47.0 * p.tune;
  const double pitchTau = 0.035;  // how fast the "boom" falls to its body
  const double ampTau = 0.13 * p.decay;
  const double attack = 0.0008 * sr;  // a few samples so the hit does not click
  std::vector<float> out(framesFor(ampTau, sr));
  StateVariableFilter clickFilter(sr, FilterMode::HighPass);
  clickFilter.setCutoff(2500.0, 0.1);
  double phase = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / sr;
    const double hz = endHz + (startHz - endHz) * std::exp(-t / pitchTau);
    phase += hz / sr;
    const double amp = std::min(1.0, static_cast<double>(i) / attack) * std::exp(-t / ampTau);
    const double body = std::sin(kTwoPi * phase) * amp;
    const double click = clickFilter.process(rng.bipolar()) * std::exp(-t / 0.0025) * p.tone;
    out[i] = saturate(body + 0.5 * click, 1.8);
  }
  return out;
}

std::vector<float> renderSnare(const DrumPatch& p, double sr, Rng& rng) {
  const double bodyTau = 0.05 * p.decay;
  const double noiseTau = 0.065 * p.decay;
  std::vector<float> out(framesFor(std::max(bodyTau, noiseTau), sr));
  StateVariableFilter rattle(sr, FilterMode::HighPass);
  rattle.setCutoff(1400.0 * p.tune, 0.2);
  double phaseLow = 0.0, phaseHigh = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / sr;
    const double drop = 1.0 + 0.4 * std::exp(-t / 0.01);  // a short knock at the attack
    phaseLow += 185.0 * p.tune * drop / sr;
    phaseHigh += 330.0 * p.tune * drop / sr;
    const double body = (0.65 * std::sin(kTwoPi * phaseLow) + 0.35 * std::sin(kTwoPi * phaseHigh)) *
                        std::exp(-t / bodyTau);
    const double noise = rattle.process(rng.bipolar()) * std::exp(-t / noiseTau);
    // High-passed white noise peaks far above a sine: it gets the smaller share.
    out[i] = static_cast<float>((1.0 - 0.4 * p.tone) * body + (0.2 + 0.4 * p.tone) * noise);
  }
  return out;
}

std::vector<float> renderClap(const DrumPatch& p, double sr, Rng& rng) {
  // Several hands a few milliseconds apart, then the room.
  constexpr std::array<double, 4> kBursts = {0.0, 0.009, 0.0175, 0.027};
  const double tailTau = 0.06 * p.decay;
  std::vector<float> out(framesFor(tailTau, sr) + static_cast<std::size_t>(kBursts.back() * sr));
  StateVariableFilter band(sr, FilterMode::BandPass);
  band.setCutoff(900.0 + 900.0 * p.tone * p.tune, 0.45);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / sr;
    double env = 0.0;
    for (double start : kBursts) {
      if (t >= start) env += std::exp(-(t - start) / 0.0035);
    }
    if (t >= kBursts.back()) env += 0.7 * std::exp(-(t - kBursts.back()) / tailTau);
    out[i] = static_cast<float>(2.2 * band.process(rng.bipolar()) * std::min(env, 1.0));
  }
  return out;
}

std::vector<float> renderHat(const DrumPatch& p, double sr, Rng& rng, bool open) {
  // Inharmonic square partials give the metal; noise gives the sizzle.
  constexpr std::array<double, 6> kPartials = {263.1, 391.7, 537.9, 611.3, 827.5, 1077.1};
  const double tau = (open ? 0.11 : 0.016) * p.decay;
  std::vector<float> out(framesFor(tau, sr));
  std::vector<Oscillator> metal;
  for (double hz : kPartials) metal.emplace_back(Wave::Pulse, hz * p.tune, sr, rng.uniform());
  StateVariableFilter band(sr, FilterMode::BandPass);
  band.setCutoff(8000.0 + 3000.0 * p.tone, 0.25);
  StateVariableFilter high(sr, FilterMode::HighPass);
  high.setCutoff(6500.0, 0.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / sr;
    double metallic = 0.0;
    for (Oscillator& osc : metal) metallic += osc.next();
    const double raw = metallic / 6.0 * 0.6 + rng.bipolar() * 0.6;
    const double env = std::min(1.0, t / 0.0005) * std::exp(-t / tau);
    out[i] = static_cast<float>(1.6 * high.process(band.process(static_cast<float>(raw))) * env);
  }
  return out;
}

std::vector<float> renderCrash(const DrumPatch& p, double sr, Rng& rng) {
  // More, higher and denser partials than the hats, ring-modulated in pairs so the
  // spectrum has no pitch to it, over a long noise wash.
  constexpr std::array<double, 8> kPartials = {342.0,  479.3,  587.9,  811.6,
                                               1042.7, 1371.4, 1693.1, 2317.9};
  const double tau = 0.42 * p.decay;
  std::vector<float> out(framesFor(tau, sr));
  std::vector<Oscillator> metal;
  for (double hz : kPartials) metal.emplace_back(Wave::Pulse, hz * p.tune, sr, rng.uniform());
  StateVariableFilter high(sr, FilterMode::HighPass);
  high.setCutoff(3500.0 + 2500.0 * p.tone, 0.15);
  StateVariableFilter air(sr, FilterMode::HighPass);
  air.setCutoff(2000.0, 0.0);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / sr;
    double ring = 0.0;
    for (std::size_t k = 0; k < metal.size(); k += 2) ring += metal[k].next() * metal[k + 1].next();
    const double raw = ring / 4.0 * 0.7 + rng.bipolar() * 0.5;
    // A bright splash over the first moments, then the long wash.
    const double env = std::min(1.0, t / 0.001) *
                       (0.55 * std::exp(-t / (0.06 * p.decay)) + 0.45 * std::exp(-t / tau));
    out[i] = static_cast<float>(1.3 * air.process(high.process(static_cast<float>(raw))) * env);
  }
  return out;
}

std::vector<float> renderTom(const DrumPatch& p, double sr, Rng& rng) {
  const double baseHz = 110.0 * p.tune;
  const double tau = 0.16 * p.decay;
  std::vector<float> out(framesFor(tau, sr));
  StateVariableFilter skin(sr, FilterMode::BandPass);
  skin.setCutoff(baseHz * 6.0, 0.3);
  double phase = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / sr;
    phase += baseHz * (1.0 + 0.6 * std::exp(-t / 0.03)) / sr;  // the head's pitch bend
    const double body = std::sin(kTwoPi * phase) * std::exp(-t / tau);
    const double stick = skin.process(rng.bipolar()) * std::exp(-t / 0.012) * p.tone;
    out[i] = saturate(std::min(1.0, t / 0.0008) * (body + 0.8 * stick), 1.3);
  }
  return out;
}

}  // namespace

std::vector<float> renderDrum(const DrumPatch& patch, float velocity, double sampleRate,
                              std::uint64_t seed) {
  Rng rng(seed);
  std::vector<float> hit;
  switch (patch.kind) {
    case DrumKind::Kick:
      hit = renderKick(patch, sampleRate, rng);
      break;
    case DrumKind::Snare:
      hit = renderSnare(patch, sampleRate, rng);
      break;
    case DrumKind::Clap:
      hit = renderClap(patch, sampleRate, rng);
      break;
    case DrumKind::ClosedHat:
      hit = renderHat(patch, sampleRate, rng, false);
      break;
    case DrumKind::OpenHat:
      hit = renderHat(patch, sampleRate, rng, true);
      break;
    case DrumKind::Crash:
      hit = renderCrash(patch, sampleRate, rng);
      break;
    case DrumKind::Tom:
      hit = renderTom(patch, sampleRate, rng);
      break;
  }
  for (float& s : hit) s *= velocity;
  return hit;
}

}  // namespace musicgen
