// Fuzzes loading and playing a WAVE file: any bytes must load or fail cleanly and mix safely.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "sound/audio/offline_audio.hpp"
#include "sound/wave/wave_file.hpp"
#include "sound/wave/wave_voices.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/domrak-wave-fuzz-" + std::to_string(getpid()) + ".wav";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

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
