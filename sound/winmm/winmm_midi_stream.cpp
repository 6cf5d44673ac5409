// A midiStream behind the player's MidiStream: buffers prepared once, queued, and handed back.
#include "sound/winmm/winmm_midi_stream.hpp"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <cstddef>
#include <map>
#include <mutex>

#include "sound/winmm/midi_hand_back.hpp"

// The player writes MIDIEVENT records without their parameter words.
static_assert(offsetof(MIDIEVENT, dwParms) == MidiStreamRecord::kSize);
static_assert(MEVT_SHORTMSG == MidiStreamRecord::kShortMessage && MEVT_TEMPO == MidiStreamRecord::kTempo &&
              MEVT_NOP == MidiStreamRecord::kNothing);

namespace {
class WinmmMidiStream final : public MidiStream {
 public:
  explicit WinmmMidiStream(MidiStreamService::DoneCallback done) : hand_back_(std::move(done)) {}
  ~WinmmMidiStream() override;

  // Opens the mapper's stream, paused; false when it cannot be opened.
  bool open();

  bool set_time_division(std::uint32_t division) override;
  bool out(MidiStreamBuffer* buffer) override;
  bool restart() override { return midiStreamRestart(stream_) == MMSYSERR_NOERROR; }
  bool stop() override { return midiStreamStop(stream_) == MMSYSERR_NOERROR; }
  bool reset() override {
    return hand_back_.reset([this] { return midiOutReset(device()) == MMSYSERR_NOERROR; });
  }

 private:
  static void CALLBACK Callback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR);

  HMIDIOUT device() const { return reinterpret_cast<HMIDIOUT>(stream_); }
  // The buffer's header, prepared with the stream the first time the buffer is queued.
  MIDIHDR* header_of(MidiStreamBuffer* buffer);

  MidiHandBack hand_back_;  // outlives the stream: callbacks until it closes still count buffers
  HMIDISTRM stream_ = nullptr;
  std::mutex headers_mutex_;  // buffers are queued from the game thread and from the hand-back thread
  std::map<MidiStreamBuffer*, MIDIHDR> headers_;
};

bool WinmmMidiStream::open() {
  UINT device_id = MIDI_MAPPER;
  if (midiStreamOpen(&stream_, &device_id, 1, reinterpret_cast<DWORD_PTR>(&Callback), reinterpret_cast<DWORD_PTR>(this),
                     CALLBACK_FUNCTION) == MMSYSERR_NOERROR)
    return true;
  stream_ = nullptr;
  return false;
}

WinmmMidiStream::~WinmmMidiStream() {
  hand_back_.close();  // after a refill under way, which may still queue its buffer
  if (stream_ == nullptr) return;
  midiOutReset(device());
  for (auto& [buffer, header] : headers_) midiOutUnprepareHeader(device(), &header, sizeof header);
  midiStreamClose(stream_);
}

void CALLBACK WinmmMidiStream::Callback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
  // Buffers come back in the order they were queued; the hand-back thread knows that order.
  if (message == MOM_DONE && instance != 0) reinterpret_cast<WinmmMidiStream*>(instance)->hand_back_.returned();
}

bool WinmmMidiStream::set_time_division(std::uint32_t division) {
  if (division == 0) return false;
  MIDIPROPTIMEDIV property{sizeof property, division};
  return midiStreamProperty(stream_, reinterpret_cast<LPBYTE>(&property), MIDIPROP_SET | MIDIPROP_TIMEDIV) ==
         MMSYSERR_NOERROR;
}

MIDIHDR* WinmmMidiStream::header_of(MidiStreamBuffer* buffer) {
  std::lock_guard lock(headers_mutex_);
  if (auto found = headers_.find(buffer); found != headers_.end()) return &found->second;
  MIDIHDR& header = headers_[buffer];
  header.lpData = reinterpret_cast<LPSTR>(buffer->data.data());
  header.dwBufferLength = buffer->capacity;
  if (midiOutPrepareHeader(device(), &header, sizeof header) == MMSYSERR_NOERROR) return &header;
  headers_.erase(buffer);
  return nullptr;
}

bool WinmmMidiStream::out(MidiStreamBuffer* buffer) {
  if (buffer == nullptr || buffer->used > buffer->capacity) return false;
  MIDIHDR* header = header_of(buffer);
  if (header == nullptr) return false;
  header->dwBytesRecorded = buffer->used;
  return hand_back_.out(buffer, [&] { return midiStreamOut(stream_, header, sizeof *header) == MMSYSERR_NOERROR; });
}
}  // namespace

std::unique_ptr<MidiStream> WinmmMidiStreamService::open(DoneCallback done) {
  // Without an output device the mapper cannot open, and wine's midiStreamOpen leaves a failed
  // stream behind that can crash the next call: so it is not even tried.
  if (midiOutGetNumDevs() == 0) return nullptr;
  auto stream = std::make_unique<WinmmMidiStream>(std::move(done));
  if (!stream->open()) return nullptr;
  return stream;
}
