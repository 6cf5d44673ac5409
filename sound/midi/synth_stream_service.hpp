// MIDI streams played through a synthesiser that is mixed into the game's audio output.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/audio_source.hpp"
#include "sound/midi/midi_stream.hpp"
#include "sound/midi/synth_engine.hpp"

class SynthStream;

// Each record is applied at its own sample: the synthesiser renders up to it, takes it and
// renders on. Buffers are handed back on each stream's own thread.
class SynthStreamService final : public MidiStreamService, public AudioSource {
 public:
  // How the mix takes the service's lock. A device's audio thread must never wait for the
  // game or a refill, so it only try-locks: a busy lock renders the chunk with the streams
  // held where they are. An offline render has time to wait, and waiting keeps it exact.
  enum class Mixing { RealTime, Offline };

  SynthStreamService(SynthEngine& engine, int sampleRate, Mixing mixing = Mixing::RealTime)
      : engine_(engine), sample_rate_(sampleRate), mixing_(mixing) {}
  ~SynthStreamService() override = default;  // every stream is closed first

  std::unique_ptr<MidiStream> open(DoneCallback done) override;
  void mix_into(float* out, std::size_t frames) override;

  // Waits until every buffer handed back has been delivered and its callback has returned.
  // Offline renders call it between chunks so that refills keep up with the render.
  void settle();

 private:
  friend class SynthStream;

  SynthEngine& engine_;
  double sample_rate_;
  Mixing mixing_;
  std::mutex mutex_;
  std::condition_variable delivered_;  // a stream finished handing back a buffer
  std::vector<SynthStream*> streams_;
  bool silence_requested_ = false;  // a stream stopped, was reset or closed
};
