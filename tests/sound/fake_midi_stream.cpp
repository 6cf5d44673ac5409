// The test stream service: synchronous hand-backs and a log of every queued record.
#include "tests/sound/fake_midi_stream.hpp"

namespace {
class FakeStream final : public MidiStream {
 public:
  explicit FakeStream(FakeStreamService& service) : service_(service) { ++service_.open_streams; }
  ~FakeStream() override {
    --service_.open_streams;
    service_.queued.clear();
  }
  bool set_time_division(std::uint32_t division) override {
    service_.division = division;
    return division != 0;
  }
  bool out(MidiStreamBuffer* buffer) override {
    std::vector<MidiStreamRecord> records;
    for (std::uint32_t at = 0; at + MidiStreamRecord::kSize <= buffer->used; at += MidiStreamRecord::kSize)
      records.push_back(MidiStreamRecord::read_from(buffer->data.data() + at));
    service_.sent.push_back(records);
    service_.queued.push_back(buffer);
    return true;
  }
  bool restart() override {
    ++service_.restarted;
    return true;
  }
  bool stop() override { return true; }
  bool reset() override {
    while (service_.hand_back()) {}
    return true;
  }

 private:
  FakeStreamService& service_;
};
}  // namespace

std::unique_ptr<MidiStream> FakeStreamService::open(DoneCallback callback) {
  if (refuse_open) return nullptr;
  ++opened;
  done = std::move(callback);
  return std::make_unique<FakeStream>(*this);
}

bool FakeStreamService::hand_back() {
  if (queued.empty()) return false;
  MidiStreamBuffer* buffer = queued.front();
  queued.pop_front();
  ++handed_back;
  done(buffer);
  return true;
}

std::vector<MidiStreamRecord> FakeStreamService::all_records() const {
  std::vector<MidiStreamRecord> all;
  for (const auto& buffer : sent) all.insert(all.end(), buffer.begin(), buffer.end());
  return all;
}
