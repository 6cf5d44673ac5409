// The page's MIDI streams: scheduled events out to the synthesiser, played buffers back to the player.
#include "sound/web/web_midi_stream.hpp"

// Provided by the page's side of the module (web_sound.js).
extern "C" {
void domrak_music_queue(std::uint32_t stream, std::uint32_t token, const std::uint32_t* events, std::uint32_t count,
                        std::uint32_t end);
void domrak_music_control(std::uint32_t stream, int command);
}

namespace {
// What the page does to a stream's playback.
enum Command : int { kPause = 0, kRun = 1, kFlush = 2, kClose = 3 };
// The page holds at most this many buffers of one stream, like a platform stream would.
constexpr std::size_t kMaxQueued = 8;
}  // namespace

std::unique_ptr<MidiStream> WebMidiStreamService::open(DoneCallback done) {
  const std::uint32_t id = ++last_id_;
  auto stream = std::make_unique<WebMidiStream>(*this, id, std::move(done));
  streams_[id] = stream.get();
  return stream;
}

void WebMidiStreamService::buffer_played(std::uint32_t id, std::uint32_t token) {
  const auto found = streams_.find(id);
  if (found != streams_.end()) found->second->buffer_played(token);
}

WebMidiStream::WebMidiStream(WebMidiStreamService& service, std::uint32_t id, MidiStreamService::DoneCallback done)
    : service_(service), id_(id), done_(std::move(done)), schedule_(service.sample_rate_) {}

WebMidiStream::~WebMidiStream() {
  domrak_music_control(id_, kClose);
  service_.streams_.erase(id_);
}

bool WebMidiStream::out(MidiStreamBuffer* buffer) {
  if (buffer == nullptr || queued_.size() >= kMaxQueued) return false;
  events_.clear();
  const std::uint32_t end = schedule_.schedule(*buffer, events_);
  queued_.emplace_back(++last_token_, buffer);
  domrak_music_queue(id_, last_token_, events_.data(), static_cast<std::uint32_t>(events_.size() / 2), end);
  return true;
}

bool WebMidiStream::restart() {
  domrak_music_control(id_, kRun);
  return true;
}

bool WebMidiStream::stop() {
  domrak_music_control(id_, kPause);
  return true;
}

bool WebMidiStream::reset() {
  domrak_music_control(id_, kFlush);
  schedule_.restart();
  while (!queued_.empty()) {
    MidiStreamBuffer* buffer = queued_.front().second;
    queued_.pop_front();
    done_(buffer);
  }
  return true;
}

void WebMidiStream::buffer_played(std::uint32_t token) {
  if (queued_.empty() || queued_.front().first != token) return;
  MidiStreamBuffer* buffer = queued_.front().second;
  queued_.pop_front();
  done_(buffer);
}
