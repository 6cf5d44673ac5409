// MIDI streams for the web page: buffers scheduled to the frame and played by the page's
// synthesiser, handed back as the page reports them played.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "sound/midi/midi_stream.hpp"
#include "sound/web/stream_schedule.hpp"

class WebMidiStream;

class WebMidiStreamService final : public MidiStreamService {
 public:
  explicit WebMidiStreamService(int sampleRate) : sample_rate_(sampleRate) {}
  std::unique_ptr<MidiStream> open(DoneCallback done) override;

  // The page has played buffer `token` of stream `id`; unknown ones (closed streams,
  // buffers already handed back by a reset) are ignored.
  void buffer_played(std::uint32_t id, std::uint32_t token);

 private:
  friend class WebMidiStream;
  int sample_rate_;
  std::uint32_t last_id_ = 0;
  std::map<std::uint32_t, WebMidiStream*> streams_;
};

class WebMidiStream final : public MidiStream {
 public:
  WebMidiStream(WebMidiStreamService& service, std::uint32_t id, MidiStreamService::DoneCallback done);
  ~WebMidiStream() override;

  bool set_time_division(std::uint32_t division) override { return schedule_.set_time_division(division); }
  bool out(MidiStreamBuffer* buffer) override;
  bool restart() override;
  bool stop() override;
  // Hands back every queued buffer at once, in queue order: the page drops their events.
  bool reset() override;

  void buffer_played(std::uint32_t token);

 private:
  WebMidiStreamService& service_;
  std::uint32_t id_;
  MidiStreamService::DoneCallback done_;
  StreamSchedule schedule_;
  std::uint32_t last_token_ = 0;
  std::deque<std::pair<std::uint32_t, MidiStreamBuffer*>> queued_;
  std::vector<std::uint32_t> events_;
};
