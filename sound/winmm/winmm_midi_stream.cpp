// A midiStream behind the player's MidiStream: buffers prepared once, queued, and handed back.
#include "sound/winmm/winmm_midi_stream.hpp"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <atomic>
#include <cstddef>
#include <map>
#include <mutex>

// The player writes MIDIEVENT records without their parameter words.
static_assert(offsetof(MIDIEVENT, dwParms) == MidiStreamRecord::kSize);

namespace {
class WinmmMidiStream final : public MidiStream {
 public:
  explicit WinmmMidiStream(MidiStreamService::DoneCallback done) : done_(std::move(done)) {}
  ~WinmmMidiStream() override;

  // Opens the mapper's stream, paused; false when it cannot be opened.
  bool open();

  bool set_time_division(std::uint32_t division) override;
  bool out(MidiStreamBuffer* buffer) override;
  bool restart() override { return midiStreamRestart(stream_) == MMSYSERR_NOERROR; }
  bool stop() override { return midiStreamStop(stream_) == MMSYSERR_NOERROR; }
  bool reset() override { return midiOutReset(device()) == MMSYSERR_NOERROR; }

 private:
  static void CALLBACK Callback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR header, DWORD_PTR);

  HMIDIOUT device() const { return reinterpret_cast<HMIDIOUT>(stream_); }
  // The buffer's header, prepared with the stream the first time the buffer is queued.
  MIDIHDR* header_of(MidiStreamBuffer* buffer);

  MidiStreamService::DoneCallback done_;
  HMIDISTRM stream_ = nullptr;
  std::atomic<bool> closing_{false};
  std::mutex headers_mutex_;  // buffers are queued from the game thread and from the callback
  std::map<MidiStreamBuffer*, MIDIHDR> headers_;
};

bool WinmmMidiStream::open() {
  UINT device_id = MIDI_MAPPER;
  if (midiStreamOpen(&stream_, &device_id, 1, reinterpret_cast<DWORD_PTR>(&Callback),
                     reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION) == MMSYSERR_NOERROR)
    return true;
  stream_ = nullptr;
  return false;
}

WinmmMidiStream::~WinmmMidiStream() {
  if (stream_ == nullptr) return;
  closing_ = true;  // buffers handed back from here on are no longer the player's business
  midiOutReset(device());
  for (auto& [buffer, header] : headers_) midiOutUnprepareHeader(device(), &header, sizeof header);
  midiStreamClose(stream_);
}

void CALLBACK WinmmMidiStream::Callback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR header, DWORD_PTR) {
  auto* stream = reinterpret_cast<WinmmMidiStream*>(instance);
  if (stream == nullptr || message != MOM_DONE || header == 0 || stream->closing_) return;
  stream->done_(reinterpret_cast<MidiStreamBuffer*>(reinterpret_cast<MIDIHDR*>(header)->dwUser));
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
  header.dwUser = reinterpret_cast<DWORD_PTR>(buffer);
  if (midiOutPrepareHeader(device(), &header, sizeof header) == MMSYSERR_NOERROR) return &header;
  headers_.erase(buffer);
  return nullptr;
}

bool WinmmMidiStream::out(MidiStreamBuffer* buffer) {
  if (buffer == nullptr || buffer->used > buffer->capacity) return false;
  MIDIHDR* header = header_of(buffer);
  if (header == nullptr) return false;
  header->dwBytesRecorded = buffer->used;
  return midiStreamOut(stream_, header, sizeof *header) == MMSYSERR_NOERROR;
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
