#include "musicgen/synth_voice.h"

#include <gtest/gtest.h>

#include <vector>

#include "spectrum.h"

namespace musicgen {
namespace {

constexpr double kRate = 44100.0;

std::vector<float> play(const SynthPatch& patch, const SynthNote& note, std::size_t frames) {
  SynthVoice voice(patch, note, kRate, kRate / 2.0, 7);
  std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
  voice.render(left.data(), right.data(), frames);
  return left;
}

std::size_t ms(double milliseconds) {
  return static_cast<std::size_t>(milliseconds * kRate / 1000.0);
}

TEST(SynthVoice, SlideStartsAtTheEarlierPitchAndSettlesOnTheNote) {
  const SynthPatch sine{.layers = {{.wave = Wave::Sine}},
                        .amp = {.attack = 0.001f, .sustain = 1.0f},
                        .glideSeconds = 0.1f};
  const SynthNote a3{.midiNote = 57.0, .gateFrames = 20000};  // 220 Hz
  SynthNote slid = a3;
  slid.glideFrom = 69.0;  // from 440 Hz
  const std::vector<float> steady = play(sine, a3, ms(400));
  const std::vector<float> sliding = play(sine, slid, ms(400));
  EXPECT_NEAR(testing::zeroCrossingHz(steady, 0, ms(20), kRate), 220.0, 3.0);
  EXPECT_GT(testing::zeroCrossingHz(sliding, 0, ms(8), kRate), 380.0);
  const double middle = testing::zeroCrossingHz(sliding, ms(30), ms(60), kRate);
  EXPECT_GT(middle, 240.0);
  EXPECT_LT(middle, 380.0);
  EXPECT_NEAR(testing::zeroCrossingHz(sliding, ms(200), ms(400), kRate), 220.0, 1.0);
}

TEST(SynthVoice, AccentOpensTheFilterFurther) {
  const SynthPatch acid{
      .layers = {{.wave = Wave::Saw}},
      .amp = {.attack = 0.001f, .sustain = 1.0f},
      .filterEnvelope = {.attack = 0.001f, .decay = 0.2f, .sustain = 0.0f},
      .filter = {.cutoffHz = 300.0f, .envelopeOctaves = 1.0f, .accentOctaves = 2.5f}};
  SynthNote note{.midiNote = 45.0, .gateFrames = 20000};
  const auto brightness = [&](bool accent) {
    note.accent = accent;
    std::vector<float> s = play(acid, note, 4096);
    return 1.0 - testing::powerShareBelow(testing::powerSpectrum(s), 1000.0, kRate);
  };
  EXPECT_GT(brightness(true), 3.0 * brightness(false));
}

}  // namespace
}  // namespace musicgen
