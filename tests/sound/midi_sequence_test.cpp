// The MIDI file loader: file forms, header and chunk checks, event decoding and time order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <functional>
#include <tuple>

#include "sound/midi/midi_sequence.hpp"
#include "tests/support/midi_test_files.hpp"
#include "tests/sound/wave_bytes.hpp"

namespace {
using Event = std::tuple<std::uint32_t, int, int, int>;  // time, status, data1, data2
const Event kFailure = {0, -1, 0, 0};
using Report = std::pair<std::uint32_t, std::string>;  // track, text

// Every event up to the end of data (the files here hold far fewer than 100000), and kFailure
// if reading fails.
std::vector<Event> ReadAll(MidiSequence& sequence) {
  std::vector<Event> events;
  MidiEvent event;
  MidiSequence::Read read;
  while ((read = sequence.next_event(event)) == MidiSequence::Read::Event && events.size() < 100000)
    events.emplace_back(event.time, event.status, event.data1, event.data2);
  if (read == MidiSequence::Read::Failure) events.push_back(kFailure);
  return events;
}

const Bytes kTwoNotes = Smf(96, {{0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
const std::vector<Event> kTwoNotesEvents = {{0, 0x90, 0x3C, 0x64}, {96, 0x80, 0x3C, 0x00}, {96, 0xFF, 0x2F, 0}};

TEST(MidiSequence, LoadsPlainAndRmidFilesAndFallsBackToTheBuiltInPieceOnAnythingElse) {
  ScratchDirectory scratch;
  MidiSequence builtIn, missing;
  ASSERT_TRUE(builtIn.load("title.mid"));
  const std::vector<Event> builtInEvents = ReadAll(builtIn);
  EXPECT_FALSE(missing.load("missing.mid"));
  Bytes noDataChunk = Riff(kTwoNotes);
  std::copy_n("junk", 4, noDataChunk.begin() + 12);
  const auto write = [&scratch](Bytes bytes) { return [&scratch, bytes] { scratch.write("title.mid", bytes); }; };
  const struct { std::function<void()> make; bool taken; } cases[] = {  // not taken: the built-in piece plays
      {write(kTwoNotes), true},
      {write(Riff(kTwoNotes)), true},
      {write(Riff(kTwoNotes, "WAVE")), false},
      {write(noDataChunk), false},
      {write(Smf(96, std::vector<Bytes>(20000, kEndOfTrack))), false},
      {[&] { scratch.make("title.mid", ScratchDirectory::Hostile::Fifo); }, false},  // nobody writes to it
      {[&] { scratch.write_sparse("title.mid", std::string(kTwoNotes.begin(), kTwoNotes.end()), 3ull << 30); }, false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::filesystem::remove_all("title.mid");
    cases[i].make();
    MidiSequence sequence;
    ASSERT_TRUE(sequence.load("title.mid")) << i;
    EXPECT_EQ(ReadAll(sequence), cases[i].taken ? kTwoNotesEvents : builtInEvents) << i;
  }
}

TEST(MidiSequence, RefusesBadHeadersDecodesWhatItTakesAndReportsReadingFailures) {
  Bytes longHeader = kTwoNotes;
  longHeader[7] = 8;  // the tracks still follow six bytes on
  Bytes notTrack = kTwoNotes, trackTooLong = kTwoNotes, missingTrack = kTwoNotes;
  std::copy_n("MTrx", 4, notTrack.begin() + 14);
  trackTooLong[21] += 1;
  missingTrack[11] = 2;
  const Bytes cases[] = {longHeader, notTrack, trackTooLong, missingTrack,
                         Bytes(kTwoNotes.begin(), kTwoNotes.begin() + 13),
                         Smf(96, {{0x81}}),  // the first delta time runs past its track
                         Bytes{'R', 'I', 'F', 'F'}};
  for (const Bytes& bytes : cases) {
    MidiSequence sequence;
    EXPECT_FALSE(sequence.parse_image(bytes));
    EXPECT_FALSE(sequence.loaded());
  }
  // Running status around meta events; tracks merged, ties going to the earlier track.
  const struct { Bytes file; std::vector<Event> events; } decoded[] = {
      {Smf(96, {{0x00, 0x90, 0x3C, 0x64, 0x81, 0x00, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}}),  // a two-byte delta
       {{0, 0x90, 0x3C, 0x64}, {128, 0x90, 0x3C, 0x00}, {128, 0xFF, 0x2F, 0}}},
      {Smf(96, {{0x00, 0xC5, 0x10, 0x05, 0x11, 0x00, 0xD5, 0x20, 0x05, 0x21, 0x00, 0xFF, 0x2F, 0x00}}),
       {{0, 0xC5, 0x10, 0}, {5, 0xC5, 0x11, 0}, {5, 0xD5, 0x20, 0}, {10, 0xD5, 0x21, 0}, {10, 0xFF, 0x2F, 0}}},
      {Smf(96, {{0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x02, 'h', 'i', 0x00, 0xF0, 0x01, 0xF7, 0x10, 0x3C, 0x00,
                 0x00, 0xFF, 0x2F, 0x00}}),
       {{0, 0x90, 0x3C, 0x64}, {0, 0xFF, 0x01, 0}, {0, 0xF0, 0, 0}, {16, 0x90, 0x3C, 0x00}, {16, 0xFF, 0x2F, 0}}},
      {Smf(96, {{0x10, 0x90, 0x30, 0x40, 0x00, 0xFF, 0x2F, 0x00},
                {0x08, 0x91, 0x31, 0x40, 0x08, 0x91, 0x32, 0x40, 0x00, 0xFF, 0x2F, 0x00}}),
       {{8, 0x91, 0x31, 0x40}, {16, 0x90, 0x30, 0x40}, {16, 0xFF, 0x2F, 0}, {16, 0x91, 0x32, 0x40}, {16, 0xFF, 0x2F, 0}}},
      {Smf(96, {{}, {}}), {}},  // empty tracks have ended from the start
  };
  for (const auto& c : decoded) {
    MidiSequence sequence;
    ASSERT_TRUE(sequence.parse_image(c.file));
    EXPECT_EQ(ReadAll(sequence), c.events);
  }
  // Reading failures are reported with their track and text.
  const struct { Bytes track; const char* text; } failing[] = {  // no text: the failure has none
      {{0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}, "Reference to missing running status."},
      {{0x00, 0xF0, 0x85}, "SysEx event truncated (length)"},
      {{0x00, 0xF0, 0x05, 0x01, 0x02}, "SysEx event truncated"},
      {{0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F}, "SysEx event truncated"},  // huge length, nothing allocated
      {{0x00, 0xFF, 0x01, 0x83}, "Meta event truncated (length)"},
      {{0x00, 0xFF, 0x01, 0x04, 'a'}, "Meta event truncated"},
      {{0x00, 0x90, 0x3C}, nullptr},        // channel message cut short
      {{0x00, 0xF1, 0x00}, nullptr},        // system common byte
      {{0x00, 0x90, 0x3C, 0x40}, nullptr},  // no end-of-track: the next delta is missing
      {{0x00, 0xFF}, nullptr},              // meta event without its type
  };
  for (const auto& c : failing) {
    std::vector<Report> reports;
    MidiSequence sequence([&](std::uint32_t track, std::string_view text) { reports.emplace_back(track, text); });
    const Bytes file = Smf(96, {kEndOfTrack, c.track});
    ASSERT_TRUE(sequence.parse_image(file));
    const auto events = ReadAll(sequence);
    EXPECT_EQ(events.back(), kFailure);
    const std::vector<Report> expected = c.text ? std::vector<Report>{{1, c.text}} : std::vector<Report>{};
    EXPECT_EQ(reports, expected) << (c.text ? c.text : "no text");
  }
}
}  // namespace
