// The Windows sound system on whatever devices the machine offers: effects, music and their failures.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "sound/platform_sound.hpp"
#include "sound/winmm/winmm_sound.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
bool HasWaveDevice() { return waveOutGetNumDevs() > 0; }
bool HasMidiDevice() { return midiOutGetNumDevs() > 0; }
}  // namespace

TEST(WinmmSound, PreparesABuiltInEffectWhenThereIsADevice) {
  ScratchDirectory empty;
  WinmmSound sound;
  const WaveVoice voice = sound.prepare_wave("kettei.wav");
  if (!HasWaveDevice()) {
    EXPECT_EQ(voice, 0u) << "no wave-out device, yet a voice";
    EXPECT_FALSE(sound.play_wave(voice));
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
  if (!HasWaveDevice()) GTEST_SKIP() << "no wave-out device here";
  ScratchDirectory directory;
  directory.write("click.wav", wave_bytes::Pcm16Wave(1, 8000, {100, -100}));
  WinmmSound sound;
  // Each click lasts a quarter of a millisecond; preparing the next one releases those done,
  // so the voices held do not grow with the effects played.
  int clicks = 0;
  do {
    ASSERT_TRUE(sound.play_wave(sound.prepare_wave("click.wav")));
    Sleep(20);
  } while (++clicks < 100 && sound.voice_count() > 1);
  sound.prepare_wave("click.wav");
  EXPECT_LE(sound.voice_count(), 2u) << "after " << clicks << " clicks";
}

TEST(WinmmSound, RefusesEffectsThatCannotBeLoadedOrPlayed) {
  ScratchDirectory directory;
  directory.write("broken.wav", "RIFF\x04\0\0\0WAVX");
  WinmmSound sound;
  EXPECT_EQ(sound.prepare_wave("nosuch.wav"), 0u);
  EXPECT_EQ(sound.prepare_wave("broken.wav"), 0u);
  EXPECT_EQ(sound.prepare_wave(nullptr), 0u);
  EXPECT_FALSE(sound.play_wave(0));
  EXPECT_FALSE(sound.play_wave(0x1234));
  EXPECT_EQ(sound.voice_count(), 0u);
}

TEST(WinmmSound, LoadsBuiltInMusicAndPlaysItWhereThereIsAMidiDevice) {
  ScratchDirectory empty;
  WinmmSound sound;
  EXPECT_EQ(sound.load_music("nosuch.mid"), nullptr);
  EXPECT_EQ(sound.load_music(nullptr), nullptr);
  MusicPlayer* title = sound.load_music("title.mid");
  ASSERT_NE(title, nullptr) << "the built-in piece loads from the program's resources";
  EXPECT_EQ(sound.play_music(title, true), HasMidiDevice());
  EXPECT_TRUE(sound.stop_music(title));
  EXPECT_TRUE(sound.stop_music(title)) << "stopping a player that does not play";
}

TEST(WinmmSound, MusicCallsOnNullOrForeignPlayersFail) {
  WinmmSound sound;
  MusicPlayer foreign;
  WinmmSound other;
  MusicPlayer* elsewhere = other.load_music("end.mid");
  ASSERT_NE(elsewhere, nullptr);
  for (MusicPlayer* player : {static_cast<MusicPlayer*>(nullptr), &foreign, elsewhere}) {
    EXPECT_FALSE(sound.play_music(player, true));
    EXPECT_FALSE(sound.play_music(player, false));
    EXPECT_FALSE(sound.stop_music(player));
  }
}

TEST(WinmmSound, IsThePlatformSound) {
  const auto sound = CreatePlatformSound();
  ASSERT_NE(sound, nullptr);
  EXPECT_NE(dynamic_cast<WinmmSound*>(sound.get()), nullptr);
}
