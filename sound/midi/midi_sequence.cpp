// Reading Standard MIDI Files: header and track chunks, delta times, running status, events.
#include "sound/midi/midi_sequence.hpp"

#include <algorithm>
#include <cstring>
#include <new>

#include "sound/files/sound_file.hpp"
#include "sound/resources/embedded_resources.hpp"

namespace {
std::uint32_t Big32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
std::uint32_t Big16(const std::uint8_t* p) { return std::uint32_t{p[0]} << 8 | p[1]; }
std::uint32_t Little32(const std::uint8_t* p) {
  return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}
bool TagIs(const std::uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// Channel messages with a single data byte: program change and channel pressure.
bool HasOneDataByte(std::uint8_t status) { return (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0; }
}  // namespace

std::optional<std::span<const std::uint8_t>> MidiImageOf(std::span<const std::uint8_t> file) {
  if (file.size() < 12 || !TagIs(file.data(), "RIFF") || !TagIs(file.data() + 8, "RMID")) return file;
  // The RIFF chunk may claim more than the file holds; search only what is there.
  std::size_t end = std::min<std::size_t>(file.size(), 8 + std::size_t{Little32(file.data() + 4)});
  for (std::size_t at = 12; at + 8 <= end;) {
    std::size_t size = Little32(file.data() + at + 4);
    if (size > end - at - 8) return std::nullopt;
    if (TagIs(file.data() + at, "data")) return file.subspan(at + 8, size);
    at += 8 + size + (size & 1);  // RIFF chunks are padded to even sizes
  }
  return std::nullopt;
}

bool MidiSequence::load(const char* name) {
  if (loaded() || name == nullptr) return false;
  if (auto bytes = ReadSoundFile(name, kMaxMusicFileBytes)) {
    image_block_ = std::move(*bytes);
    auto image = MidiImageOf(image_block_);
    if (image && parse_image(*image)) return true;
    image_block_ = {};
  }
  auto resource = FindEmbeddedResource(name, "MIDI");
  if (!resource) return false;
  auto image = MidiImageOf(*resource);
  return image && parse_image(*image);
}

bool MidiSequence::parse_image(std::span<const std::uint8_t> bytes) {
  if (loaded() || bytes.size() < 14 || bytes.size() > UINT32_MAX) return false;
  const std::uint8_t* p = bytes.data();
  if (!TagIs(p, "MThd") || Big32(p + 4) != 6) return false;
  std::uint32_t trackCount = Big16(p + 10);
  if (trackCount > kMaxTracks) return false;
  std::vector<MidiTrackCursor> tracks(trackCount);
  std::size_t at = 14;
  for (MidiTrackCursor& track : tracks) {
    if (bytes.size() - at < 8 || !TagIs(p + at, "MTrk")) return false;
    track.length = Big32(p + at + 4);
    at += 8;
    if (track.length > bytes.size() - at) return false;  // the chunk runs past the image
    track.start = p + at;
    if (!start_track(track)) return false;
    at += track.length;
  }
  format_ = Big16(p + 8);
  division_ = Big16(p + 12);
  tracks_ = std::move(tracks);
  image_ = p;
  order_tracks();
  return true;
}

bool MidiSequence::start_track(MidiTrackCursor& track) {
  track.position = track.start;
  track.running_status = 0;
  track.next_time = 0;
  track.ended = track.length == 0;
  if (track.ended) return true;
  auto delta = read_var_len(track);
  if (!delta) return false;
  track.next_time = *delta;
  return true;
}

bool MidiSequence::rewind() {
  if (!loaded()) return false;
  for (MidiTrackCursor& track : tracks_)
    if (!start_track(track)) return false;
  order_tracks();
  return true;
}

namespace {
// Heap order: true when track `a` comes after track `b`.
struct LaterTrack {
  const std::vector<MidiTrackCursor>& tracks;
  bool operator()(std::uint32_t a, std::uint32_t b) const {
    return tracks[a].next_time != tracks[b].next_time ? tracks[a].next_time > tracks[b].next_time : a > b;
  }
};
}  // namespace

void MidiSequence::order_tracks() {
  waiting_.clear();
  for (std::uint32_t i = 0; i < tracks_.size(); ++i)
    if (!tracks_[i].ended) waiting_.push_back(i);
  std::make_heap(waiting_.begin(), waiting_.end(), LaterTrack{tracks_});
}

std::optional<std::uint32_t> MidiSequence::read_var_len(MidiTrackCursor& track) {
  if (track.ended) return std::nullopt;
  std::uint32_t value = 0;
  std::uint8_t byte = 0;
  do {
    if (track.exhausted()) return std::nullopt;
    byte = *track.position++;
    value = (value << 7) | (byte & 0x7F);
  } while (byte & 0x80);
  return value;
}

void MidiSequence::report(std::uint32_t track, std::string_view text) const {
  if (parse_error_) parse_error_(track, text);
}

bool MidiSequence::read_data(MidiTrackCursor& track, std::uint32_t count, std::vector<std::uint8_t>& into,
                             std::uint32_t trackIndex, std::string_view truncated) {
  // Checked before allocating, so no declared length asks for more than the track holds.
  std::uint32_t left = track.length - static_cast<std::uint32_t>(track.position - track.start);
  if (count > left) {
    report(trackIndex, truncated);
    return false;
  }
  try {
    into.assign(track.position, track.position + count);
  } catch (const std::bad_alloc&) {
    report(trackIndex, "Out of memory during malloc call");
    return false;
  }
  track.position += count;
  return true;
}

std::optional<MidiEvent> MidiSequence::read_track_event(std::uint32_t trackIndex) {
  MidiTrackCursor& track = tracks_.at(trackIndex);
  MidiEvent event;
  if (track.ended || track.exhausted()) return std::nullopt;
  std::uint8_t byte = *track.position++;
  auto take = [&track](std::uint8_t& into) {
    if (track.exhausted()) return false;
    into = *track.position++;
    return true;
  };
  if (byte <= 0xEF) {
    if (byte < 0x80) {
      if (track.running_status == 0) {
        report(trackIndex, "Reference to missing running status.");
        return std::nullopt;
      }
      event.status = track.running_status;
      event.data1 = byte;
    } else {
      event.status = track.running_status = byte;
      if (!take(event.data1)) return std::nullopt;
    }
    event.length = 2;
    if (!HasOneDataByte(event.status)) {
      if (!take(event.data2)) return std::nullopt;
      event.length = 3;
    }
  } else if (byte == 0xF0 || byte == 0xF7) {
    event.status = byte;
    auto length = read_var_len(track);
    if (!length) {
      report(trackIndex, "SysEx event truncated (length)");
      return std::nullopt;
    }
    event.length = *length;
    if (!read_data(track, event.length, event.data, trackIndex, "SysEx event truncated")) return std::nullopt;
  } else if (byte == 0xFF) {
    event.status = byte;
    if (!take(event.data1)) return std::nullopt;
    auto length = read_var_len(track);
    if (!length) {
      report(trackIndex, "Meta event truncated (length)");
      return std::nullopt;
    }
    event.length = *length;
    if (!read_data(track, event.length, event.data, trackIndex, "Meta event truncated")) return std::nullopt;
    if (event.data1 == 0x2F) track.ended = true;
  } else {
    return std::nullopt;  // system common and real-time bytes have no place in a file
  }
  event.time = track.next_time;
  if (!track.ended) {
    auto delta = read_var_len(track);
    if (!delta) return std::nullopt;
    track.next_time += *delta;
  }
  return event;
}

MidiSequence::Read MidiSequence::next_event(MidiEvent& event) {
  if (waiting_.empty()) return Read::EndOfData;
  const LaterTrack later{tracks_};
  std::pop_heap(waiting_.begin(), waiting_.end(), later);  // the earliest to the back
  const std::uint32_t earliest = waiting_.back();
  auto read = read_track_event(earliest);
  if (read && tracks_[earliest].ended)
    waiting_.pop_back();
  else
    std::push_heap(waiting_.begin(), waiting_.end(), later);  // a failed read keeps its time
  if (!read) return Read::Failure;
  ++events_read_;
  event = std::move(*read);
  return Read::Event;
}
