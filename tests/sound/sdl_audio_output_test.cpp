// Opening SDL's audio quietly, whether or not there is a device to open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "sound/audio/sdl_audio_output.hpp"

TEST(SdlAudioOutput, OpensQuietlyOrNotAtAll) {
  // ALSA opens where there is a sound card; without one it complains on standard error.
  const struct { const char* driver; std::optional<bool> opens; } cases[] = {
      {"dummy", true}, {"no-such-driver", false}, {"alsa", std::nullopt}};
  for (const auto& c : cases) {
    setenv("SDL_AUDIODRIVER", c.driver, 1);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    {
      const auto output = SdlAudioOutput::Open();
      if (c.opens) {
        EXPECT_EQ(output != nullptr, *c.opens) << c.driver;
      }
      if (output) {
        EXPECT_GT(output->sample_rate(), 0);
        EXPECT_LE(output->buffer_frames() * 1000 / output->sample_rate(), 30) << "latency in ms";
      }
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.driver;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.driver;
  }
  unsetenv("SDL_AUDIODRIVER");
}
