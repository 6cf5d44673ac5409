// The game's music: stream players over FluidSynth, mixed into the audio output.
#include "sound/midi/midi_music.hpp"

#include "sound/midi/fluid_synth_engine.hpp"
#include "sound/midi/midi_player_set.hpp"
#include "sound/midi/synth_stream_service.hpp"

namespace {
class SynthMusic final : public MusicService {
 public:
  SynthMusic(AudioOutput& output, std::unique_ptr<SynthEngine> engine)
      : output_(output), engine_(std::move(engine)), streams_(*engine_, output.sample_rate()), players_(streams_) {
    output_.add_source(&streams_);
  }
  // Out of the mix first; then the players stop and close their streams.
  ~SynthMusic() override { output_.remove_source(&streams_); }

  MusicPlayer* load_music(const char* name) override { return players_.load_music(name); }
  bool play_music(MusicPlayer* player, bool loop) override { return players_.play_music(player, loop); }
  bool stop_music(MusicPlayer* player) override { return players_.stop_music(player); }

 private:
  AudioOutput& output_;
  std::unique_ptr<SynthEngine> engine_;
  SynthStreamService streams_;
  MidiPlayerSet players_;
};
}  // namespace

std::unique_ptr<MusicService> CreateMidiMusic(AudioOutput& output) {
  auto engine = CreateFluidSynthEngine(output.sample_rate());
  if (!engine) return nullptr;
  return std::make_unique<SynthMusic>(output, std::move(engine));
}
