// The Windows sound system on whatever devices the machine offers: effects, music and their failures.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "sound/platform_sound.hpp"
#include "sound/winmm/wave_out_calls.hpp"
#include "sound/winmm/winmm_sound.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
// Wave-out stand-ins: every device opens and notes its format; what it does with a block is up to the test.
enum class Device { PlaysAtOnce, Stalls, Refuses } device = Device::PlaysAtOnce;
int openDevices = 0;
UINT_PTR lastDevice = 0;
WAVEFORMATEX lastFormat{};
MMRESULT WINAPI Open(LPHWAVEOUT handle, UINT, LPCWAVEFORMATEX format, DWORD_PTR, DWORD_PTR, DWORD) {
  lastFormat = *format;
  *handle = reinterpret_cast<HWAVEOUT>(++lastDevice);
  ++openDevices;
  return MMSYSERR_NOERROR;
}
MMRESULT WINAPI Close(HWAVEOUT) {
  --openDevices;
  return MMSYSERR_NOERROR;
}
MMRESULT WINAPI Write(HWAVEOUT, LPWAVEHDR header, UINT) {
  if (device == Device::PlaysAtOnce) header->dwFlags |= WHDR_DONE;
  return device == Device::Refuses ? MMSYSERR_NOMEM : MMSYSERR_NOERROR;
}
MMRESULT WINAPI Reset(HWAVEOUT) { return MMSYSERR_NOERROR; }
MMRESULT WINAPI Header(HWAVEOUT, LPWAVEHDR, UINT) { return MMSYSERR_NOERROR; }  // prepare, unprepare
const WaveOutCalls kStandIns{Open, Header, Write, Reset, Header, Close};
}  // namespace

TEST(WinmmSound, EffectVoicesRefuseBadNamesAndCloseTheirDevicesOncePlayedRefusedOrReleased) {
  ScratchDirectory directory;
  directory.write("broken.wav", "RIFF\x04\0\0\0WAVX");
  directory.write("click.wav", wave_bytes::Pcm16Wave(1, 8000, {100, -100}));
  WinmmWaveVoices voices(kStandIns);
  for (const char* name : {"nosuch.wav", "broken.wav", static_cast<const char*>(nullptr)})
    EXPECT_EQ(voices.prepare_wave(name), 0u) << (name ? name : "no name");
  EXPECT_FALSE(voices.play_wave(0));
  EXPECT_FALSE(voices.play_wave(0x1234));
  ASSERT_NE(voices.prepare_wave("kettei.wav"), 0u);  // never played
  EXPECT_EQ(lastFormat.nBlockAlign, 2) << "16-bit mono samples told to the device as a byte each";
  for (int effect = 0; effect < 10; ++effect) ASSERT_TRUE(voices.play_wave(voices.prepare_wave("click.wav")));
  EXPECT_EQ(openDevices, 2) << "devices kept open after their effects had played";  // the last until the next
  device = Device::Refuses;
  EXPECT_FALSE(voices.play_wave(voices.prepare_wave("click.wav")));
  EXPECT_EQ(openDevices, 1) << "a device that refused its effect stays open";
  device = Device::Stalls;
  for (int effect = 1; effect < 300; ++effect)
    EXPECT_EQ(voices.play_wave(voices.prepare_wave("click.wav")), effect < 256) << effect;
  EXPECT_EQ(openDevices, 256) << "every effect kept a device open";
  voices.release_all_waves();
  EXPECT_EQ(openDevices, 0) << "devices left open at exit";
}

TEST(WinmmSound, ThePlatformSoundPlaysBuiltInEffectsAndMusicWhereThereAreDevices) {
  ScratchDirectory empty;
  const auto sound = CreatePlatformSound();
  ASSERT_NE(dynamic_cast<WinmmSound*>(sound.get()), nullptr);
  EXPECT_EQ(sound->play_wave(sound->prepare_wave("kettei.wav")), waveOutGetNumDevs() > 0);
  EXPECT_EQ(sound->load_music("nosuch.mid"), nullptr);
  MusicPlayer* title = sound->load_music("title.mid");
  ASSERT_NE(title, nullptr) << "the built-in piece loads from the program's resources";
  EXPECT_EQ(sound->play_music(title, true), midiOutGetNumDevs() > 0);
  EXPECT_TRUE(sound->stop_music(title));
  EXPECT_TRUE(sound->stop_music(title)) << "stopping a player that does not play";
}
