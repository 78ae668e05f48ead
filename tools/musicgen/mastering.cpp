#include "musicgen/mastering.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <numbers>

#include "musicgen/loudness.h"
#include "musicgen/state_variable_filter.h"

namespace musicgen {

void removeRumble(StereoBuffer& buffer, double sampleRate) {
  for (std::vector<float>* channel : {&buffer.left, &buffer.right}) {
    StateVariableFilter highPass(sampleRate, FilterMode::HighPass);
    highPass.setCutoff(25.0, 0.0);
    for (float& s : *channel) s = highPass.process(s);
  }
}

void foldTail(StereoBuffer& buffer, std::size_t loopFrames) {
  if (loopFrames == 0 || buffer.frames() <= loopFrames) return;
  for (std::vector<float>* channel : {&buffer.left, &buffer.right}) {
    for (std::size_t i = loopFrames; i < channel->size(); ++i)
      (*channel)[i % loopFrames] += (*channel)[i];
  }
  buffer.resize(loopFrames);
}

void fadeOut(StereoBuffer& buffer, std::size_t frames) {
  frames = std::min(frames, buffer.frames());
  const std::size_t start = buffer.frames() - frames;
  for (std::size_t i = 0; i < frames; ++i) {
    const double x = static_cast<double>(i + 1) / static_cast<double>(frames);
    const auto gain = static_cast<float>(0.5 + 0.5 * std::cos(std::numbers::pi * x));
    buffer.left[start + i] *= gain;
    buffer.right[start + i] *= gain;
  }
}

float peakLevel(const StereoBuffer& buffer) {
  float peak = 0.0f;
  for (float s : buffer.left) peak = std::max(peak, std::abs(s));
  for (float s : buffer.right) peak = std::max(peak, std::abs(s));
  return peak;
}

namespace {

constexpr double kLookaheadSeconds = 0.003;  // long enough not to distort a kick's cycle
constexpr double kReleaseSeconds = 0.12;     // recovers between beats without pumping audibly

// Soft saturation normalised so the loudest sample stays the loudest and lands on 1.
void saturate(StereoBuffer& buffer, float drive) {
  const float peak = peakLevel(buffer);
  const double d = drive;
  const double in = 1.0 / peak;
  const double out = d > 0.0 ? 1.0 / std::tanh(d) : 1.0;
  for (std::vector<float>* channel : {&buffer.left, &buffer.right})
    for (float& s : *channel)
      s = static_cast<float>(d > 0.0 ? std::tanh(d * s * in) * out : s * in);
}

}  // namespace

std::vector<float> limiterGain(const std::vector<float>& peaks, double gain, double ceiling,
                               bool circular, double sampleRate) {
  const std::size_t n = peaks.size();
  std::vector<float> result(n, 1.0f);
  if (n == 0) return result;
  const std::size_t look =
      std::clamp<std::size_t>(static_cast<std::size_t>(kLookaheadSeconds * sampleRate), 1, n);
  // The gain each frame needs on its own; past the end: the start again, or silence.
  const auto need = [&](std::size_t i) -> double {
    if (i >= n && !circular) return 1.0;
    const double peak = gain * peaks[i % n];
    return peak > ceiling ? ceiling / peak : 1.0;
  };
  // The smallest need over the look-ahead window [i, i + look), by a monotonic queue.
  std::vector<double> held(n);
  std::deque<std::size_t> queue;  // indices whose needs increase from front to back
  for (std::size_t j = 0; j < n + look - 1; ++j) {
    const double v = need(j);
    while (!queue.empty() && need(queue.back()) >= v) queue.pop_back();
    queue.push_back(j);
    if (j + 1 < look) continue;
    const std::size_t i = j + 1 - look;
    while (queue.front() < i) queue.pop_front();
    held[i] = need(queue.front());
  }
  // Instant reduction, exponential recovery. A loop runs it twice so the start picks up
  // where the end leaves off.
  const double recovery = 1.0 - std::exp(-1.0 / (kReleaseSeconds * sampleRate));
  std::vector<double> envelope(n);
  double e = 1.0;
  for (int pass = circular ? 0 : 1; pass < 2; ++pass) {
    for (std::size_t i = 0; i < n; ++i) {
      e = held[i] < e ? held[i] : e + (held[i] - e) * recovery;
      envelope[i] = e;
    }
  }
  // Averaging over the look-ahead turns the steps into ramps that still reach each
  // reduction by the frame that needs it: every frame averaged holds it already.
  // Before the start: the loop's end, or else the first frame's gain held, so a peak in
  // the first milliseconds is still reached in time.
  const auto envelopeAt = [&](std::ptrdiff_t i) -> double {
    if (i >= 0) return envelope[static_cast<std::size_t>(i)];
    return circular ? envelope[static_cast<std::size_t>(i + static_cast<std::ptrdiff_t>(n))]
                    : envelope[0];
  };
  double sum = 0.0;
  for (std::size_t k = 0; k < look; ++k) sum += envelopeAt(-static_cast<std::ptrdiff_t>(k));
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) {
      sum += envelope[i];
      sum -= envelopeAt(static_cast<std::ptrdiff_t>(i) - static_cast<std::ptrdiff_t>(look));
    }
    result[i] = static_cast<float>(std::min(1.0, sum / static_cast<double>(look)));
  }
  return result;
}

void finishMaster(StereoBuffer& buffer, const MasterSettings& settings, double sampleRate) {
  if (peakLevel(buffer) <= 0.0f) return;
  saturate(buffer, settings.drive);
  const std::vector<float> peaks = truePeaks(buffer, settings.circular);
  const double ceiling = std::pow(10.0, settings.ceilingDbtp / 20.0);
  const double loudness = integratedLoudness(buffer, sampleRate);
  if (loudness <= kSilenceLufs) {
    // Too short or too quiet to measure: just bring the highest true peak to the ceiling.
    const double gain = ceiling / *std::max_element(peaks.begin(), peaks.end());
    for (std::vector<float>* channel : {&buffer.left, &buffer.right})
      for (float& s : *channel) s = static_cast<float>(s * gain);
    return;
  }
  // The limiter takes loudness off the peaks, less than the gain adds: find the gain that
  // lands on target by the secant method, starting from the limiter-free guess.
  const auto render = [&](double gainDb, StereoBuffer& out) {
    const double gain = std::pow(10.0, gainDb / 20.0);
    const std::vector<float> limiter =
        limiterGain(peaks, gain, ceiling, settings.circular, sampleRate);
    out = buffer;
    for (std::vector<float>* channel : {&out.left, &out.right})
      for (std::size_t i = 0; i < channel->size(); ++i)
        (*channel)[i] = static_cast<float>((*channel)[i] * gain * limiter[i]);
    return integratedLoudness(out, sampleRate) - settings.loudnessLufs;  // the error
  };
  StereoBuffer out;
  double gainDb = settings.loudnessLufs - loudness;
  double error = render(gainDb, out);
  double slope = 1.0;  // loudness gained per dB of gain: 1 without limiting, less with it
  for (int round = 0; round < 12 && std::abs(error) > 0.01; ++round) {
    const double step = -error / slope;
    const double nextError = render(gainDb + step, out);
    if (std::abs(error - nextError) > 1e-6)
      slope = std::clamp((error - nextError) / -step, 0.05, 1.0);
    gainDb += step;
    error = nextError;
  }
  buffer = std::move(out);
}

}  // namespace musicgen
