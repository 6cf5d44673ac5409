// The source mix: what the audio device plays, as sources come and go.
#include <gtest/gtest.h>

#include <vector>

#include "sound/audio/source_mix.hpp"

namespace {
// A source that adds the same value to every sample.
struct Steady final : AudioSource {
  explicit Steady(float level) : level(level) {}
  void mix_into(float* out, std::size_t frames) override {
    for (std::size_t i = 0; i < frames * 2; ++i) out[i] += level;
  }
  float level;
};

// One callback's first sample, over stale data left from the last callback.
float Mixed(SourceMix& mix) {
  std::vector<float> out(8, 123.0f);
  mix.mix(out.data(), 4);
  EXPECT_EQ(out, std::vector<float>(8, out[0]));
  return out[0];
}
}  // namespace

TEST(SourceMix, SumsItsSourcesClampsTheResultAndForgetsRemovedOnesAndHearsNoMoreThanItsSlots) {
  SourceMix mix;
  EXPECT_EQ(Mixed(mix), 0.0f);
  Steady quiet(0.25f), loud(0.75f), louder(0.5f);
  mix.add(&quiet);
  mix.add(&loud);
  EXPECT_EQ(Mixed(mix), 1.0f);
  mix.add(&louder);
  EXPECT_EQ(Mixed(mix), 1.0f);  // 1.5 clamped
  mix.remove(&loud);
  mix.remove(&louder);
  EXPECT_EQ(Mixed(mix), 0.25f);
  std::vector<Steady> more(SourceMix::kSlots, Steady(0.01f));  // one too many: it is not heard
  for (Steady& source : more) mix.add(&source);
  EXPECT_NEAR(Mixed(mix), 0.25f + 0.01f * (SourceMix::kSlots - 1), 1e-5);
}
