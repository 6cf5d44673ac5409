// The source mix: what the audio device plays, as sources come and go.
#include <gtest/gtest.h>

#include <vector>

#include "sound/audio/source_mix.hpp"

namespace {
// A source that adds the same value to every sample.
class Steady final : public AudioSource {
 public:
  explicit Steady(float level) : level_(level) {}
  void mix_into(float* out, std::size_t frames) override {
    for (std::size_t i = 0; i < frames * 2; ++i) out[i] += level_;
  }

 private:
  float level_;
};

std::vector<float> Mix(SourceMix& mix, std::size_t frames) {
  std::vector<float> out(frames * 2, 123.0f);  // stale data from the last callback
  mix.mix(out.data(), frames);
  return out;
}
}  // namespace

TEST(SourceMix, SumsItsSourcesClampsTheResultAndForgetsRemovedOnes) {
  SourceMix mix;
  EXPECT_EQ(Mix(mix, 4), std::vector<float>(8, 0.0f));
  Steady quiet(0.25f), loud(0.75f), louder(0.5f);
  mix.add(&quiet);
  mix.add(&loud);
  EXPECT_EQ(Mix(mix, 4), std::vector<float>(8, 1.0f));
  mix.add(&louder);
  EXPECT_EQ(Mix(mix, 4), std::vector<float>(8, 1.0f));  // 1.5 clamped
  mix.remove(&loud);
  mix.remove(&louder);
  EXPECT_EQ(Mix(mix, 4), std::vector<float>(8, 0.25f));
}

TEST(SourceMix, SourcesBeyondItsSlotsAreNotHeard) {
  SourceMix mix;
  std::vector<Steady> sources(SourceMix::kSlots + 1, Steady(0.01f));
  for (Steady& source : sources) mix.add(&source);
  EXPECT_NEAR(Mix(mix, 1)[0], 0.01f * SourceMix::kSlots, 1e-5);
}
