// A stream service for player tests: it keeps what the player queues and hands buffers back on demand.
#pragma once

#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "sound/midi/midi_stream.hpp"

class FakeStreamService final : public MidiStreamService {
 public:
  using Record = std::pair<std::uint32_t, std::uint32_t>;  // delta, event

  std::unique_ptr<MidiStream> open(DoneCallback callback) override {
    done = std::move(callback);
    return std::make_unique<Stream>(*this);
  }

  // Hands the oldest queued buffers back through the callback, on the calling thread, until
  // `count` have come back or nothing is queued.
  void hand_back(int count = 1) {
    for (int i = 0; i < count && !queued.empty(); ++i) {
      MidiStreamBuffer* buffer = queued.front();
      queued.pop_front();
      done(buffer);
      if (after_hand_back) after_hand_back();
    }
  }
  int open_streams = 0;
  std::vector<std::vector<Record>> sent;  // each queued buffer's records
  std::vector<Record> all_records;        // every record queued, buffer after buffer
  std::deque<MidiStreamBuffer*> queued;
  DoneCallback done;
  std::function<void()> after_hand_back;

 private:
  struct Stream final : MidiStream {
    explicit Stream(FakeStreamService& service) : service(service) { ++service.open_streams; }
    ~Stream() override {
      --service.open_streams;
      service.queued.clear();
    }
    bool set_time_division(std::uint32_t value) override { return value != 0; }
    bool out(MidiStreamBuffer* buffer) override {
      auto& records = service.sent.emplace_back();
      for (std::uint32_t at = 0; at + MidiStreamRecord::kSize <= buffer->used; at += MidiStreamRecord::kSize) {
        const auto record = MidiStreamRecord::read_from(buffer->data.data() + at);
        records.emplace_back(record.delta, record.event);
        service.all_records.push_back(records.back());
      }
      service.queued.push_back(buffer);
      return true;
    }
    bool restart() override { return true; }
    bool stop() override { return true; }
    bool reset() override {
      service.hand_back(2);
      return true;
    }
    FakeStreamService& service;
  };
};
