// Bringing the sound up: the deferred sound beside the game, which starts the music asked for
// meanwhile once the sound is up, and SDL's audio device, opened quietly and with a short buffer.
#include <gtest/gtest.h>

#include <future>

#if !defined(_WIN32)
#include <signal.h>

#include "sound/audio/sdl_audio_output.hpp"
#endif

#include "sound/deferred_sound.hpp"
#include "tests/support/sound_log.hpp"

TEST(DeferredSound, MusicAskedForBeforeTheSoundIsUpStartsOnceItIsAndLaterCallsGoStraightThrough) {
  for (const bool platformHasSound : {true, false}) {
    std::promise<void> open;
    RecordingSound* recording = nullptr;
    bool resumeLeftToTheGame = true;
    DeferredSound sound([&, up = open.get_future().share()]() -> std::unique_ptr<SoundSystem> {
#if !defined(_WIN32)
      sigset_t held;  // on this thread, and so on every thread the sound starts from it
      pthread_sigmask(SIG_BLOCK, nullptr, &held);
      resumeLeftToTheGame = sigismember(&held, SIGCONT) == 1;
#endif
      up.wait();
      if (!platformHasSound) return nullptr;
      auto made = std::make_unique<RecordingSound>([] { return 0u; });
      recording = made.get();
      return made;
    });
    EXPECT_EQ(sound.prepare_wave("kettei.wav"), 0u);  // no effect waits for the device
    MusicPlayer* entry = sound.load_music("entry.mid");
    EXPECT_TRUE(sound.play_music(entry, true));
    EXPECT_TRUE(sound.stop_music(entry));
    MusicPlayer* title = sound.load_music("title.mid");
    EXPECT_TRUE(sound.play_music(title, true));  // noted: nothing is known yet
    open.set_value();
    sound.wait_until_up();
    EXPECT_TRUE(resumeLeftToTheGame) << "a resume handled on the sound's thread: the terminal taken twice";
    EXPECT_TRUE(sound.stop_music(title));
    EXPECT_EQ(sound.play_music(entry, false), platformHasSound);  // loaded before the sound was up
    EXPECT_EQ(sound.play_wave(sound.prepare_wave("kettei.wav")), platformHasSound);
    if (!platformHasSound) continue;
    EXPECT_EQ(SoundLog(*recording),
              (std::vector<std::string>{"0 load title.mid", "0 play title.mid loop", "0 stop title.mid",
                                        "0 load entry.mid", "0 play entry.mid once", "0 wave kettei.wav"}));
  }
}

#if !defined(_WIN32)
TEST(SdlAudioOutput, OpensQuietlyOrNotAtAllAndWithABufferOfAtMost30Ms) {
  for (const std::string driver : {"dummy", "no-such-driver"}) {
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    {
      const auto output = SdlAudioOutput::Open();
      EXPECT_EQ(output != nullptr, driver == "dummy") << driver;
      EXPECT_LE(output ? output->buffer_frames() * 1000 / output->sample_rate() : 0, 30) << "latency in ms";
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "") << driver;
  }
  unsetenv("SDL_AUDIODRIVER");
}
#endif
