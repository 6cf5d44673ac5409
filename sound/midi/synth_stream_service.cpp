// The synthesiser's stream service: opening streams and mixing them, record by record, into the output.
#include "sound/midi/synth_stream_service.hpp"

#include "sound/midi/synth_stream.hpp"

std::unique_ptr<MidiStream> SynthStreamService::open(DoneCallback done) {
  auto stream = std::make_unique<SynthStream>(*this, std::move(done));
  std::lock_guard lock(mutex_);
  streams_.push_back(stream.get());
  return stream;
}

void SynthStreamService::mix_into(float* out, std::size_t frames) {
  std::unique_lock lock(mutex_, std::defer_lock);
  if (mixing_ == Mixing::Offline) {
    lock.lock();
  } else if (!lock.try_lock()) {
    engine_.render(out, frames);
    return;
  }
  if (silence_requested_) engine_.silence();
  silence_requested_ = false;
  for (std::size_t done = 0;;) {
    for (SynthStream* stream : streams_) stream->apply_due(engine_);
    if (done == frames) return;
    std::size_t step = frames - done;
    for (SynthStream* stream : streams_) step = stream->frames_until_due(step);
    engine_.render(out + 2 * done, step);
    for (SynthStream* stream : streams_) stream->advance(step);
    done += step;
  }
}

void SynthStreamService::settle() {
  std::unique_lock lock(mutex_);
  delivered_.wait(lock, [this] {
    for (SynthStream* stream : streams_)
      if (stream->busy()) return false;
    return true;
  });
}
