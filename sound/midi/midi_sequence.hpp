// A Standard MIDI File in memory, handing out its events in time order across all tracks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "sound/midi/midi_event.hpp"

// A music file in the working directory is taken only within these limits; past them, as when
// it is missing or not a MIDI file, the built-in piece of that name is loaded instead. Every
// event is looked for across all tracks, so their number bounds the cost of each.
inline constexpr std::size_t kMaxMusicFileBytes = 4 * 1024 * 1024;
inline constexpr std::uint32_t kMaxTracks = 256;

struct MidiTrackCursor {
  bool ended = false;
  std::uint32_t length = 0;
  const std::uint8_t* start = nullptr;
  const std::uint8_t* position = nullptr;
  std::uint32_t next_time = 0;
  std::uint8_t running_status = 0;

  bool exhausted() const { return static_cast<std::uint32_t>(position - start) >= length; }
};

class MidiSequence {
 public:
  // Told about reading failures that have a text: the track index and the text.
  using ParseErrorHook = std::function<void(std::uint32_t track, std::string_view text)>;

  // What next_event answers besides an event.
  enum class Read { Event, EndOfData, Failure };

  explicit MidiSequence(ParseErrorHook hook = {}) : parse_error_(std::move(hook)) {}

  // Reads the file `name` (plain or RIFF "RMID") from the working directory, or else (when it
  // is missing or refused) the program's own "MIDI" resource of that name. False when nothing
  // loads or one is loaded.
  bool load(const char* name);
  // Takes `bytes` (starting at "MThd") as the file; they must outlive the sequence. Refused
  // with more than kMaxTracks tracks.
  bool parse_image(std::span<const std::uint8_t> bytes);
  bool rewind();
  std::optional<std::uint32_t> read_var_len(MidiTrackCursor& track);
  Read next_event(MidiEvent& event);

  bool loaded() const { return image_ != nullptr; }
  std::uint32_t format() const { return format_; }
  std::uint32_t division() const { return division_; }
  const std::vector<MidiTrackCursor>& tracks() const { return tracks_; }
  // Events handed out by next_event since loading: the reading work done so far.
  std::uint64_t events_read() const { return events_read_; }

 private:
  std::optional<MidiEvent> read_track_event(std::uint32_t trackIndex);
  bool read_data(MidiTrackCursor& track, std::uint32_t count, std::vector<std::uint8_t>& into, std::uint32_t trackIndex,
                 std::string_view truncated);
  bool start_track(MidiTrackCursor& track);
  // Puts every track that has not ended into `waiting_`.
  void order_tracks();
  void report(std::uint32_t track, std::string_view text) const;

  ParseErrorHook parse_error_;
  std::vector<std::uint8_t> image_block_;  // a file's bytes; empty for a built-in resource
  const std::uint8_t* image_ = nullptr;
  std::uint32_t format_ = 0;
  std::uint32_t division_ = 0;
  std::vector<MidiTrackCursor> tracks_;
  // The tracks that have not ended, as a heap with the earliest next event on top (the earlier
  // track on a tie): finding each event costs the logarithm of the track count, not a look at
  // every track.
  std::vector<std::uint32_t> waiting_;
  std::uint64_t events_read_ = 0;
};

// The Standard MIDI File inside `file`: the "data" chunk of a RIFF "RMID" file, else the whole
// file. Nothing for an "RMID" file without a whole "data" chunk.
std::optional<std::span<const std::uint8_t>> MidiImageOf(std::span<const std::uint8_t> file);
