// The Windows sound: wave-out effect voices on stand-in devices, the built-in sounds as the
// program's resources, and the platform sound as a whole on whatever devices the machine offers.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <set>

#include "sound/platform_sound.hpp"
#include "sound/resources/embedded_resources.hpp"
#include "sound/winmm/wave_out_calls.hpp"
#include "sound/winmm/winmm_sound.hpp"
#include "tests/support/sound_bytes.hpp"

namespace {
// Wave-out stand-ins: every device opens and notes its format record; what it does with a block
// is up to the test. A stalled device holds its block until it is reset.
enum class Device { PlaysAtOnce, Stalls, Refuses } device = Device::PlaysAtOnce;
int openDevices = 0;
UINT_PTR lastDevice = 0;
Bytes lastFormat;  // with its extra bytes
std::set<HWAVEOUT> holding;
MMRESULT WINAPI Open(LPHWAVEOUT handle, UINT, LPCWAVEFORMATEX format, DWORD_PTR, DWORD_PTR, DWORD) {
  lastFormat.assign(reinterpret_cast<const std::uint8_t*>(format),
                    reinterpret_cast<const std::uint8_t*>(format) + sizeof *format + format->cbSize);
  *handle = reinterpret_cast<HWAVEOUT>(++lastDevice);
  ++openDevices;
  return MMSYSERR_NOERROR;
}
MMRESULT WINAPI Close(HWAVEOUT) {
  --openDevices;
  return MMSYSERR_NOERROR;
}
MMRESULT WINAPI Write(HWAVEOUT out, LPWAVEHDR header, UINT) {
  if (device == Device::Refuses) return MMSYSERR_NOMEM;
  if (device == Device::Stalls && !holding.insert(out).second) return WAVERR_STILLPLAYING;
  if (device == Device::PlaysAtOnce) header->dwFlags |= WHDR_DONE;
  return MMSYSERR_NOERROR;
}
MMRESULT WINAPI Reset(HWAVEOUT out) {
  holding.erase(out);
  return MMSYSERR_NOERROR;
}
MMRESULT WINAPI Header(HWAVEOUT, LPWAVEHDR, UINT) { return MMSYSERR_NOERROR; }  // prepare, unprepare
const WaveOutCalls kStandIns{Open, Header, Write, Reset, Header, Close};
}  // namespace

TEST(WinmmSound, EffectVoicesTellTheirFormatRestartAndCloseTheirDevicesOncePlayedRefusedOrReleased) {
  ScratchDirectory directory;
  const Bytes pcm = Join({Format(1, 1, 8000, 16), Le(0, 2)}),
              extra = Join({Format(3, 1, 8000, 32), Le(2, 2), Text("xy")});
  directory.write("broken.wav", Riff("WAVX", {}));
  directory.write("click.wav", Pcm16Wave(1, 8000, {100, -100}));
  directory.write("float.wav", Riff("WAVE", {Chunk("fmt ", extra), Chunk("data", Bytes(8, 0))}));
  WinmmWaveVoices voices(kStandIns);
  for (const char* name : {"nosuch.wav", "broken.wav", static_cast<const char*>(nullptr)})
    EXPECT_EQ(voices.prepare_wave(name), 0u) << (name ? name : "no name");
  for (const WaveVoice unknown : {0u, 0x1234u}) EXPECT_FALSE(voices.play_wave(unknown)) << unknown;
  ASSERT_NE(voices.prepare_wave("click.wav"), 0u);  // never played, as the next
  EXPECT_EQ(lastFormat, pcm) << "the device was told another format than the file's";
  ASSERT_NE(voices.prepare_wave("float.wav"), 0u);
  EXPECT_EQ(lastFormat, extra) << "the device was told another format than the file's";
  for (int effect = 0; effect < 10; ++effect) ASSERT_TRUE(voices.play_wave(voices.prepare_wave("click.wav")));
  EXPECT_EQ(openDevices, 3) << "devices kept open after their effects had played";  // the last until the next
  device = Device::Refuses;
  EXPECT_FALSE(voices.play_wave(voices.prepare_wave("click.wav")));
  EXPECT_EQ(openDevices, 2) << "a device that refused its effect stays open";
  device = Device::Stalls;
  const WaveVoice again = voices.prepare_wave("click.wav");
  ASSERT_TRUE(voices.play_wave(again));
  EXPECT_TRUE(voices.play_wave(again)) << "an effect played again while still queued stayed silent";
  for (int effect = 3; effect < 300; ++effect)
    EXPECT_EQ(voices.play_wave(voices.prepare_wave("click.wav")), effect < 256) << effect;
  EXPECT_EQ(openDevices, 256) << "every effect kept a device open";
  voices.release_all_waves();
  EXPECT_EQ(openDevices, 0) << "devices left open at exit";
}

TEST(WinmmSound, ThePlatformSoundPlaysBuiltInEffectsAndMusicFromTheProgramsResources) {
  for (const std::string name : {"kettei.wav", "kasoru.wav", "flush.wav", "create.wav", "alarm.wav", "tuzyou.wav",
                                 "kyouda.wav", "mahou.wav", "title.mid", "entry.mid", "buttle1.mid", "buttle2.mid",
                                 "buttle3.mid", "buttle4.mid", "syori.mid", "gameover.mid", "end.mid"})
    EXPECT_TRUE(FindEmbeddedResource(name, name.ends_with(".wav") ? "WAVE" : "MIDI").has_value()) << name;
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
