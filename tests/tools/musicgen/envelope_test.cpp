#include "musicgen/envelope.h"

#include <gtest/gtest.h>

#include <vector>

namespace musicgen {
namespace {

constexpr double kRate = 1000.0;  // one sample per millisecond keeps the arithmetic readable

std::vector<float> run(const Adsr& shape, std::int64_t gate, int frames) {
  EnvelopeGenerator env(shape, kRate, gate);
  std::vector<float> out(static_cast<std::size_t>(frames));
  for (float& v : out) v = env.next();
  return out;
}

TEST(Envelope, AttacksDecaysToSustainHoldsAndReleasesAfterTheGate) {
  const Adsr shape{.attack = 0.010f, .decay = 0.100f, .sustain = 0.5f, .release = 0.300f};
  const std::vector<float> v = run(shape, 500, 900);
  EXPECT_NEAR(v[4], 0.5f, 0.001f);                // halfway up the linear attack
  EXPECT_FLOAT_EQ(v[9], 1.0f);                    // the top at the attack's end
  EXPECT_NEAR(v[9 + 100], 0.5f, 0.5f * 0.0015f);  // within -60 dB of the distance to sustain
  EXPECT_NEAR(v[499], 0.5f, 1e-4f);               // held while the key is down
  // The release falls 60 dB over its time: 20 dB after a third of it.
  EXPECT_NEAR(v[499 + 100], 0.05f, 0.003f);
  EXPECT_LT(v[499 + 299], 0.0006f);
  EXPECT_EQ(v[499 + 301], 0.0f);
}

TEST(Envelope, FinishesOnlyAfterItsRelease) {
  EnvelopeGenerator env({.attack = 0.001f, .decay = 0.01f, .sustain = 1.0f, .release = 0.05f},
                        kRate, 20);
  int frames = 0;
  while (!env.finished() && frames < 10000) {
    env.next();
    ++frames;
  }
  EXPECT_GE(frames, 20 + 50);
  EXPECT_LE(frames, 20 + 52);
}

TEST(Envelope, ShortGateReleasesFromWhereTheAttackGot) {
  const std::vector<float> v =
      run({.attack = 0.100f, .decay = 0.1f, .sustain = 1.0f, .release = 0.1f}, 50, 200);
  float peak = 0.0f;
  for (float x : v) peak = std::max(peak, x);
  EXPECT_NEAR(peak, 0.5f, 0.02f);
  EXPECT_LT(v[60], v[49]);
}

}  // namespace
}  // namespace musicgen
