// Renders a MIDI file through the game's stream player and synthesiser into a 16-bit stereo WAV file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "sound/audio/offline_audio.hpp"
#include "sound/midi/fluid_synth_engine.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/midi/synth_stream_service.hpp"

namespace {
constexpr int kRate = 48000;
constexpr std::size_t kChunk = 480;

void PutLittle(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

bool WriteWav(const char* path, const std::vector<float>& samples) {
  std::ofstream out(path, std::ios::binary);
  auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  PutLittle(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  PutLittle(out, 16, 4);
  PutLittle(out, 1, 2);  // PCM
  PutLittle(out, 2, 2);
  PutLittle(out, kRate, 4);
  PutLittle(out, kRate * 4, 4);
  PutLittle(out, 4, 2);
  PutLittle(out, 16, 2);
  out.write("data", 4);
  PutLittle(out, dataBytes, 4);
  for (float sample : samples)
    PutLittle(
        out,
        static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767))), 2);
  return static_cast<bool>(out);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s <in.mid> <out.wav> [seconds to loop for]\n", argv[0]);
    return 2;
  }
  auto engine = CreateFluidSynthEngine(kRate);
  if (!engine) {
    std::fprintf(stderr, "no synthesiser: FluidSynth or a General MIDI SoundFont is missing\n");
    return 1;
  }
  SynthStreamService streams(*engine, kRate, SynthStreamService::Mixing::Offline);
  OfflineAudio output(kRate);
  output.add_source(&streams);
  MidiStreamPlayer player(streams);
  if (!player.sequence().load(argv[1])) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  bool loop = argc == 4;
  double loopSeconds = loop ? std::atof(argv[3]) : 0;
  if (!player.play(loop)) {
    std::fprintf(stderr, "cannot play %s\n", argv[1]);
    return 1;
  }
  std::vector<float> samples;
  auto renderChunk = [&] {
    std::vector<float> chunk = output.render(kChunk);
    samples.insert(samples.end(), chunk.begin(), chunk.end());
    streams.settle();  // let the refill keep pace with a render that runs faster than real time
  };
  if (loop) {
    while (samples.size() < loopSeconds * kRate * 2) renderChunk();
  } else {
    while (player.end_state() != MidiStreamPlayer::EndState::Finished) renderChunk();
  }
  player.stop();
  for (int i = 0; i < 2 * kRate / static_cast<int>(kChunk); ++i) renderChunk();  // the release tails
  return WriteWav(argv[2], samples) ? 0 : 1;
}
