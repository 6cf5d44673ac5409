// The sound brought up beside the game: music asked for early starts once the sound is up.
#include <gtest/gtest.h>

#include <future>

#if !defined(_WIN32)
#include <signal.h>
#endif

#include "tests/support/recording_sound.hpp"
#include "sound/deferred_sound.hpp"

using Names = std::vector<std::string>;

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
    MusicPlayer* replaced = sound.load_music("entry.mid");
    EXPECT_TRUE(sound.play_music(replaced, true));
    EXPECT_TRUE(sound.stop_music(replaced));
    MusicPlayer* title = sound.load_music("title.mid");
    EXPECT_TRUE(sound.play_music(title, true));  // noted: nothing is known yet
    open.set_value();
    sound.wait_until_up();
    EXPECT_TRUE(resumeLeftToTheGame) << "a resume handled on the sound's thread: the terminal taken twice";
    EXPECT_FALSE(sound.play_music(nullptr, true));
    if (!platformHasSound) {  // every call fails quietly
      EXPECT_EQ(sound.load_music("title.mid"), nullptr);
      EXPECT_FALSE(sound.play_music(title, true));
      EXPECT_TRUE(sound.stop_music(title));
      continue;
    }
    ASSERT_NE(recording, nullptr);
    EXPECT_EQ(recording->names("load_music"), Names{"title.mid"});
    EXPECT_EQ(recording->names("play_music"), Names{"title.mid"});
    EXPECT_TRUE(recording->calls().back().loop);
    EXPECT_TRUE(sound.stop_music(title));
    EXPECT_TRUE(sound.play_wave(sound.prepare_wave("kettei.wav")));
    EXPECT_EQ(recording->names("stop_music"), Names{"title.mid"});
    EXPECT_EQ(recording->names("play_wave"), Names{"kettei.wav"});
  }
}
