// The Windows sound system on whatever devices the machine offers: effects, music and their failures.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "sound/platform_sound.hpp"
#include "sound/winmm/winmm_sound.hpp"
#include "tests/sound/wave_bytes.hpp"

TEST(WinmmSound, PreparesEffectsWhereThereIsADeviceAndRefusesBrokenOnes) {
  ScratchDirectory directory;
  directory.write("broken.wav", "RIFF\x04\0\0\0WAVX");
  WinmmSound sound;
  for (const char* name : {"nosuch.wav", "broken.wav", static_cast<const char*>(nullptr)})
    EXPECT_EQ(sound.prepare_wave(name), 0u) << (name ? name : "no name");
  EXPECT_FALSE(sound.play_wave(0));
  EXPECT_FALSE(sound.play_wave(0x1234));
  const WaveVoice voice = sound.prepare_wave("kettei.wav");
  if (waveOutGetNumDevs() == 0) {
    EXPECT_EQ(voice, 0u) << "no wave-out device, yet a voice";
    EXPECT_EQ(sound.voice_count(), 0u);
    return;
  }
  ASSERT_NE(voice, 0u);
  const WaveVoice second = sound.prepare_wave("flush.wav");
  ASSERT_NE(second, 0u);
  EXPECT_NE(second, voice) << "each effect has a device of its own";
  EXPECT_TRUE(sound.play_wave(voice));
  EXPECT_TRUE(sound.play_wave(second));
  sound.release_all_waves();
  EXPECT_EQ(sound.voice_count(), 0u);
  EXPECT_FALSE(sound.play_wave(voice)) << "a released voice is unknown";
}

TEST(WinmmSound, ReleasesPlayedEffectsOnceTheirDevicesAreDone) {
  if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no wave-out device here";
  ScratchDirectory directory;
  directory.write("click.wav", wave_bytes::Pcm16Wave(1, 8000, {100, -100}));
  WinmmSound sound;
  // Each click lasts a quarter of a millisecond; preparing the next effect (or none) releases
  // those done, so the voices held do not grow with the effects played. The device is given
  // a minute to finish a click, however busy the machine.
  for (int click = 0; click < 3; ++click) {
    ASSERT_TRUE(sound.play_wave(sound.prepare_wave("click.wav")));
    for (int tries = 0; tries < 6000 && sound.voice_count() > 0; ++tries) {
      Sleep(10);
      sound.prepare_wave(nullptr);
    }
    ASSERT_EQ(sound.voice_count(), 0u) << "click " << click << " still holds its device after a minute";
  }
}

TEST(WinmmSound, ThePlatformSoundPlaysBuiltInMusicWhereThereIsAMidiDevice) {
  ScratchDirectory empty;
  const auto sound = CreatePlatformSound();
  ASSERT_NE(dynamic_cast<WinmmSound*>(sound.get()), nullptr);
  EXPECT_EQ(sound->load_music("nosuch.mid"), nullptr);
  MusicPlayer* title = sound->load_music("title.mid");
  ASSERT_NE(title, nullptr) << "the built-in piece loads from the program's resources";
  EXPECT_EQ(sound->play_music(title, true), midiOutGetNumDevs() > 0);
  EXPECT_TRUE(sound->stop_music(title));
  EXPECT_TRUE(sound->stop_music(title)) << "stopping a player that does not play";
}
