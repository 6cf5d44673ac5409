// Fuzzes the MIDI loader on files whose sizes may lie, the event reader, and the player's
// conversion of events into stream records.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "tests/fuzz/lying_file.hpp"
#include "sound/midi/midi_sequence.hpp"
#include "sound/midi/midi_stream_player.hpp"

namespace {
// A stream that keeps buffers until the fuzzer hands them back on its own thread.
class HeldStream final : public MidiStream {
 public:
  explicit HeldStream(MidiStreamService::DoneCallback done) : done_(std::move(done)) {}
  bool set_time_division(std::uint32_t division) override { return division != 0; }
  bool out(MidiStreamBuffer* buffer) override {
    if (buffer->used > buffer->capacity || buffer->used % MidiStreamRecord::kSize != 0) __builtin_trap();
    queued_.push_back(buffer);
    return true;
  }
  bool restart() override { return true; }
  bool stop() override { return true; }
  bool reset() override {
    while (hand_back()) {}
    return true;
  }
  bool hand_back() {
    if (queued_.empty()) return false;
    MidiStreamBuffer* buffer = queued_.front();
    queued_.pop_front();
    done_(buffer);
    return true;
  }

 private:
  MidiStreamService::DoneCallback done_;
  std::deque<MidiStreamBuffer*> queued_;
};

class HeldStreamService final : public MidiStreamService {
 public:
  std::unique_ptr<MidiStream> open(DoneCallback done) override {
    auto stream = std::make_unique<HeldStream>(std::move(done));
    last = stream.get();
    return stream;
  }
  HeldStream* last = nullptr;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteLyingFile(data, size, ".mid", kMaxMusicFileBytes);
  if (path.empty()) return 0;
  MidiSequence sequence([](std::uint32_t, std::string_view) {});
  if (!sequence.load(path.c_str())) return 0;
  MidiEvent event;
  for (int i = 0; i < 100000 && sequence.next_event(event) == MidiSequence::Read::Event; ++i) {}
  if (!sequence.rewind()) __builtin_trap();  // a file that parsed always rewinds

  HeldStreamService streams;
  MidiStreamPlayer player(streams);
  if (!player.sequence().load(path.c_str())) __builtin_trap();
  if (player.play(size % 2 == 0) && streams.last != nullptr)
    for (int i = 0; i < 200 && streams.last->hand_back(); ++i) {}
  player.stop();
  return 0;
}
