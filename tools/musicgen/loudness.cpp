#include "musicgen/loudness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace musicgen {

namespace {

struct Biquad {
  double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
  double z1 = 0.0, z2 = 0.0;

  double process(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

// The two K-weighting stages, derived from their analogue prototypes so they hold at any
// rate: a +4 dB shelf above ~1.7 kHz (the head's effect) and a high-pass near 38 Hz.
std::array<Biquad, 2> kWeighting(double sampleRate) {
  std::array<Biquad, 2> stages;
  {
    constexpr double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(std::numbers::pi * f0 / sampleRate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    Biquad& s = stages[0];
    s.b0 = (vh + vb * k / q + k * k) / a0;
    s.b1 = 2.0 * (k * k - vh) / a0;
    s.b2 = (vh - vb * k / q + k * k) / a0;
    s.a1 = 2.0 * (k * k - 1.0) / a0;
    s.a2 = (1.0 - k / q + k * k) / a0;
  }
  {
    constexpr double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(std::numbers::pi * f0 / sampleRate);
    const double a0 = 1.0 + k / q + k * k;
    Biquad& s = stages[1];
    s.b0 = 1.0;
    s.b1 = -2.0;
    s.b2 = 1.0;
    s.a1 = 2.0 * (k * k - 1.0) / a0;
    s.a2 = (1.0 - k / q + k * k) / a0;
  }
  return stages;
}

double blockLoudness(double meanSquare) {
  return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-20));
}

// Oversampling interpolator: windowed-sinc taps for the three points between two samples.
constexpr int kOversample = 4;
constexpr int kHalfTaps = 8;  // samples used each side

using PhaseTaps = std::array<std::array<double, 2 * kHalfTaps>, kOversample - 1>;

PhaseTaps interpolationTaps() {
  PhaseTaps taps{};
  for (int phase = 1; phase < kOversample; ++phase) {
    const double frac = static_cast<double>(phase) / kOversample;
    for (int j = 0; j < 2 * kHalfTaps; ++j) {
      const double t = static_cast<double>(j - kHalfTaps + 1) - frac;  // from x[n - 7 .. n + 8]
      const double sinc = std::sin(std::numbers::pi * t) / (std::numbers::pi * t);
      const double window = 0.5 + 0.5 * std::cos(std::numbers::pi * t / kHalfTaps);
      taps[static_cast<std::size_t>(phase - 1)][static_cast<std::size_t>(j)] = sinc * window;
    }
  }
  return taps;
}

// Both channels' K-weighted squares summed over each 100 ms hop.
std::vector<double> hopEnergies(const StereoBuffer& buffer, double sampleRate, std::size_t hop) {
  const std::size_t hops = buffer.frames() / hop;
  std::vector<double> hopEnergy(hops, 0.0);
  for (const std::vector<float>* channel : {&buffer.left, &buffer.right}) {
    std::array<Biquad, 2> k = kWeighting(sampleRate);
    for (std::size_t h = 0; h < hops; ++h) {
      double sum = 0.0;
      for (std::size_t i = h * hop; i < (h + 1) * hop; ++i) {
        const double y = k[1].process(k[0].process((*channel)[i]));
        sum += y * y;
      }
      hopEnergy[h] += sum;
    }
  }
  return hopEnergy;
}

}  // namespace

double integratedLoudness(const StereoBuffer& buffer, double sampleRate) {
  const auto hop = static_cast<std::size_t>(std::llround(0.1 * sampleRate));
  const std::vector<double> hopEnergy = hopEnergies(buffer, sampleRate, hop);
  const std::size_t hops = hopEnergy.size();
  if (hops < 4) return kSilenceLufs;
  // 400 ms blocks overlapping by 75%: four hops each.
  std::vector<double> blocks;
  for (std::size_t h = 0; h + 4 <= hops; ++h)
    blocks.push_back((hopEnergy[h] + hopEnergy[h + 1] + hopEnergy[h + 2] + hopEnergy[h + 3]) /
                     static_cast<double>(4 * hop));
  const auto gatedMean = [&](double threshold) {
    double sum = 0.0;
    std::size_t count = 0;
    for (double b : blocks) {
      if (blockLoudness(b) > threshold) {
        sum += b;
        ++count;
      }
    }
    return count ? sum / static_cast<double>(count) : 0.0;
  };
  const double absoluteGated = gatedMean(kSilenceLufs);
  if (absoluteGated <= 0.0) return kSilenceLufs;
  const double relativeGated = gatedMean(blockLoudness(absoluteGated) - 10.0);
  return blockLoudness(relativeGated);
}

std::vector<float> truePeaks(const StereoBuffer& buffer, bool circular) {
  static const PhaseTaps taps = interpolationTaps();
  const std::size_t n = buffer.frames();
  std::vector<float> peaks(n, 0.0f);
  if (n == 0) return peaks;
  constexpr std::size_t kBefore = kHalfTaps - 1, kAfter = kHalfTaps;
  std::vector<float> padded(kBefore + n + kAfter);
  for (const std::vector<float>* channel : {&buffer.left, &buffer.right}) {
    // The channel with what lies either side of it: its other end when it loops.
    for (std::size_t i = 0; i < padded.size(); ++i) {
      const auto at = static_cast<std::ptrdiff_t>(i) - static_cast<std::ptrdiff_t>(kBefore);
      const auto size = static_cast<std::ptrdiff_t>(n);
      if (at >= 0 && at < size)
        padded[i] = (*channel)[static_cast<std::size_t>(at)];
      else
        padded[i] =
            circular ? (*channel)[static_cast<std::size_t>(((at % size) + size) % size)] : 0.0f;
    }
    for (std::size_t f = 0; f < n; ++f) {
      const float* window = &padded[f];  // x[f - 7 .. f + 8]
      double peak = std::abs(window[kBefore]);
      for (const auto& phase : taps) {
        double v = 0.0;
        for (std::size_t j = 0; j < phase.size(); ++j) v += phase[j] * window[j];
        peak = std::max(peak, std::abs(v));
      }
      peaks[f] = std::max(peaks[f], static_cast<float>(peak));
    }
  }
  return peaks;
}

std::vector<double> shortTermLoudness(const StereoBuffer& buffer, double sampleRate,
                                      bool circular) {
  const auto hop = static_cast<std::size_t>(std::llround(0.1 * sampleRate));
  const std::vector<double> hopEnergy = hopEnergies(buffer, sampleRate, hop);
  const std::size_t hops = hopEnergy.size();
  constexpr std::size_t kWindow = 30;  // 3 s
  std::vector<double> result;
  double sum = 0.0;
  // Without a loop the window starts empty, as a meter started with the programme reads.
  if (circular)
    for (std::size_t h = 0; h < std::min(kWindow, hops); ++h) sum += hopEnergy[hops - 1 - h];
  for (std::size_t h = 0; h < hops; ++h) {
    sum += hopEnergy[h];
    if (h >= kWindow)
      sum -= hopEnergy[h - kWindow];
    else if (circular && hops >= kWindow)
      sum -= hopEnergy[hops + h - kWindow];
    result.push_back(blockLoudness(std::max(sum, 0.0) / static_cast<double>(kWindow * hop)));
  }
  return result;
}

double truePeakDb(const StereoBuffer& buffer, bool circular) {
  const std::vector<float> peaks = truePeaks(buffer, circular);
  const float peak = peaks.empty() ? 0.0f : *std::max_element(peaks.begin(), peaks.end());
  return 20.0 * std::log10(std::max(peak, 1e-10f));
}

}  // namespace musicgen
