// Fuzzes loading and playing a WAVE file whose sizes may lie: any file must load or fail cleanly,
// within the effect limits, and mix safely.
#include <cstdint>

#include "tests/fuzz/lying_file.hpp"
#include "sound/audio/offline_audio.hpp"
#include "sound/wave/wave_file.hpp"
#include "sound/wave/wave_voices.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteLyingFile(data, size, ".wav", kMaxEffectFileBytes);
  if (path.empty()) return 0;

  // The reader alone, with reads of awkward sizes and a reset between them.
  WaveFile wave;
  if (wave.open(path.c_str(), nullptr, WAVE_READ) >= 0) {
    std::uint8_t buffer[333];
    std::uint32_t got = 0;
    wave.read(buffer, sizeof buffer, &got);
    wave.reset();
    wave.read(buffer, 1, &got);
  }

  // The whole way to the mix.
  OfflineAudio audio(48000);
  WaveVoices voices(audio);
  voices.play_wave(voices.prepare_wave(path.c_str()));
  audio.render(2048);
  voices.release_all_waves();
  return 0;
}
