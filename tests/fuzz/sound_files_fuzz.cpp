// Fuzzes loading and playing sound files whose sizes may lie: every file must load or fail
// cleanly, within the limits, and play safely. data[0] picks how far past the written bytes the
// file is extended with a hole (read as zeros, costing nothing on disk): not at all, a little,
// past the limit, or to 4 GB; data[1] whether it is read as an effect (even) or a piece (odd);
// the file is the rest. The seeds in tests/fuzz/seeds begin with those two bytes.
#include "sound/audio/offline_audio.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/wave/wave_file.hpp"
#include "sound/wave/wave_voices.hpp"
#include "tests/support/fake_midi_stream.hpp"
#include "tests/support/sound_bytes.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchDirectory scratch;  // removed again as the fuzzer exits
  if (size < 2) return 0;
  const bool effect = data[1] % 2 == 0;
  const std::uint64_t limit = effect ? kMaxEffectFileBytes : kMaxMusicFileBytes;
  const std::uint64_t claims[] = {0, 1, 4096, 1 << 20, limit + 1, 4ull << 30};
  const char* const path = "sound";
  scratch.write(path, Bytes(data + 2, data + size), size - 2 + claims[data[0] % 6]);
  if (effect) {
    // Read, converted and mixed: the whole way an effect goes.
    OfflineAudio audio(48000);
    WaveVoices voices(audio);
    voices.play_wave(voices.prepare_wave(path));
    audio.render(2048);
    return 0;
  }
  // The events read to the end, and played: a file that parsed always rewinds.
  FakeStreamService streams;
  MidiStreamPlayer player(streams);
  if (!player.sequence().load(path)) return 0;
  MidiEvent event;
  for (int i = 0; i < 100000 && player.sequence().next_event(event) == MidiSequence::Read::Event; ++i) {
  }
  if (!player.sequence().rewind()) __builtin_trap();
  if (player.play(size % 2 == 0)) streams.hand_back(200);
  player.stop();
  return 0;
}
