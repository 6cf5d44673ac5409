// The MIDI file loader: file forms, header and chunk checks, event decoding and time order.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "sound/midi/midi_sequence.hpp"
#include "tests/sound/midi_test_files.hpp"

namespace {
using Event = std::tuple<std::uint32_t, int, int, int>;  // time, status, data1, data2

// Every event up to the end of data; a trailing {0, -1, 0, 0} marks a read failure.
std::vector<Event> ReadAll(MidiSequence& sequence) {
  std::vector<Event> events;
  MidiEvent event;
  for (;;) {
    auto read = sequence.next_event(event);
    if (read == MidiSequence::Read::EndOfData) return events;
    if (read == MidiSequence::Read::Failure) {
      events.emplace_back(0, -1, 0, 0);
      return events;
    }
    events.emplace_back(event.time, event.status, event.data1, event.data2);
  }
}

const Bytes kTwoNotes = Smf(96, {{0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
const std::vector<Event> kTwoNotesEvents = {{0, 0x90, 0x3C, 0x64}, {96, 0x80, 0x3C, 0x00}, {96, 0xFF, 0x2F, 0}};

TEST(MidiSequence, LoadsPlainAndRmidFilesAlikeAndRefusesOtherRiffForms) {
  struct Case {
    const char* name;
    Bytes bytes;
    bool loads;
  };
  Bytes noDataChunk = Riff(kTwoNotes);
  std::copy_n("junk", 4, noDataChunk.begin() + 12);
  const Case cases[] = {
      {"seq_plain.mid", kTwoNotes, true},
      {"seq_rmid.mid", Riff(kTwoNotes), true},
      {"seq_wave.mid", Riff(kTwoNotes, "WAVE"), false},
      {"seq_nodata.mid", noDataChunk, false},
  };
  for (const Case& c : cases) {
    MidiSequence sequence;
    TestFile file(c.name, c.bytes);
    EXPECT_EQ(sequence.load(file.path()), c.loads) << c.name;
    if (c.loads) {
      EXPECT_EQ(ReadAll(sequence), kTwoNotesEvents) << c.name;
    }
  }
}

TEST(MidiSequence, RefusesBadHeadersAndChunksThatRunPastTheImage) {
  Bytes longHeader = kTwoNotes;
  longHeader[7] = 8;
  longHeader.insert(longHeader.begin() + 14, {0, 0});
  Bytes notTrack = kTwoNotes;
  std::copy_n("MTrx", 4, notTrack.begin() + 14);
  Bytes trackTooLong = kTwoNotes;
  trackTooLong[21] += 1;
  Bytes missingTrack = kTwoNotes;
  missingTrack[11] = 2;
  const Bytes cases[] = {
      longHeader,
      notTrack,
      trackTooLong,
      missingTrack,
      Bytes(kTwoNotes.begin(), kTwoNotes.begin() + 13),
      Smf(96, {{0x81}}),  // the first delta time runs past its track
      Bytes{'R', 'I', 'F', 'F'},
  };
  for (const Bytes& bytes : cases) {
    MidiSequence sequence;
    EXPECT_FALSE(sequence.parse_image(bytes));
    EXPECT_FALSE(sequence.loaded());
  }
}

TEST(MidiSequence, ALoadedSequenceKeepsItsFile) {
  MidiSequence sequence;
  ASSERT_TRUE(sequence.parse_image(kTwoNotes));
  const Bytes other = Smf(96, {{0x00, 0x90, 0x40, 0x40, 0x00, 0xFF, 0x2F, 0x00}});
  EXPECT_FALSE(sequence.parse_image(other));
  EXPECT_EQ(ReadAll(sequence), kTwoNotesEvents);
}

TEST(MidiSequence, DecodesRunningStatusAroundMetaEventsAndSingleByteMessages) {
  struct Case {
    Bytes track;
    std::vector<Event> events;
  };
  const Case cases[] = {
      {{0x00, 0x90, 0x3C, 0x64, 0x00, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00},
       {{0, 0x90, 0x3C, 0x64}, {0, 0x90, 0x3C, 0x00}, {0, 0xFF, 0x2F, 0}}},
      {{0x00, 0xC5, 0x10, 0x05, 0x11, 0x00, 0xFF, 0x2F, 0x00},
       {{0, 0xC5, 0x10, 0}, {5, 0xC5, 0x11, 0}, {5, 0xFF, 0x2F, 0}}},
      {{0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x02, 'h', 'i', 0x00, 0xF0, 0x01, 0xF7, 0x10, 0x3C, 0x00, 0x00,
        0xFF, 0x2F, 0x00},
       {{0, 0x90, 0x3C, 0x64}, {0, 0xFF, 0x01, 0}, {0, 0xF0, 0, 0}, {16, 0x90, 0x3C, 0x00}, {16, 0xFF, 0x2F, 0}}},
  };
  for (const Case& c : cases) {
    MidiSequence sequence;
    const Bytes file = Smf(96, {c.track});
    ASSERT_TRUE(sequence.parse_image(file));
    EXPECT_EQ(ReadAll(sequence), c.events);
  }
}

TEST(MidiSequence, MergesTracksInTimeOrderWithTiesToTheEarlierTrack) {
  MidiSequence sequence;
  const Bytes file = Smf(96, {
                                               {0x10, 0x90, 0x30, 0x40, 0x00, 0xFF, 0x2F, 0x00},
                                               {0x08, 0x91, 0x31, 0x40, 0x08, 0x91, 0x32, 0x40, 0x00, 0xFF, 0x2F, 0x00},
                                           });
  ASSERT_TRUE(sequence.parse_image(file));
  EXPECT_EQ(ReadAll(sequence), (std::vector<Event>{{8, 0x91, 0x31, 0x40},
                                                   {16, 0x90, 0x30, 0x40},
                                                   {16, 0xFF, 0x2F, 0},
                                                   {16, 0x91, 0x32, 0x40},
                                                   {16, 0xFF, 0x2F, 0}}));
}

TEST(MidiSequence, EmptyTracksHaveEndedFromTheStart) {
  MidiSequence sequence;
  const Bytes file = Smf(96, {{}, {}});
  ASSERT_TRUE(sequence.parse_image(file));
  for (const MidiTrackCursor& track : sequence.tracks()) EXPECT_TRUE(track.ended);
  EXPECT_TRUE(ReadAll(sequence).empty());
  EXPECT_TRUE(sequence.rewind());
}

TEST(MidiSequence, RewindHandsOutTheSameEventsAgain) {
  MidiSequence sequence;
  EXPECT_FALSE(sequence.rewind());
  ASSERT_TRUE(sequence.parse_image(kTwoNotes));
  auto first = ReadAll(sequence);
  ASSERT_TRUE(sequence.rewind());
  EXPECT_EQ(ReadAll(sequence), first);
}

TEST(MidiSequence, ReportsReadingFailuresWithTheirTrackAndText) {
  struct Case {
    Bytes track;
    const char* text;  // null: the failure has no text
  };
  const Case cases[] = {
      {{0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}, "Reference to missing running status."},
      {{0x00, 0xF0, 0x85}, "SysEx event truncated (length)"},
      {{0x00, 0xF0, 0x05, 0x01, 0x02}, "SysEx event truncated"},
      {{0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F}, "SysEx event truncated"},  // huge length, nothing allocated
      {{0x00, 0xFF, 0x01, 0x83}, "Meta event truncated (length)"},
      {{0x00, 0xFF, 0x01, 0x04, 'a'}, "Meta event truncated"},
      {{0x00, 0x90, 0x3C}, nullptr},                 // channel message cut short
      {{0x00, 0xF1, 0x00}, nullptr},                 // system common byte
      {{0x00, 0x90, 0x3C, 0x40}, nullptr},           // no end-of-track: the next delta is missing
      {{0x00, 0xFF}, nullptr},                       // meta event without its type
  };
  for (const Case& c : cases) {
    std::vector<std::pair<std::uint32_t, std::string>> reports;
    MidiSequence sequence([&](std::uint32_t track, std::string_view text) { reports.emplace_back(track, text); });
    const Bytes file = Smf(96, {{0x00, 0xFF, 0x2F, 0x00}, c.track});
    ASSERT_TRUE(sequence.parse_image(file));
    auto events = ReadAll(sequence);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(std::get<1>(events.back()), -1);
    if (c.text) {
      ASSERT_EQ(reports.size(), 1u) << c.text;
      EXPECT_EQ(reports[0], (std::pair<std::uint32_t, std::string>{1, c.text}));
    } else {
      EXPECT_TRUE(reports.empty());
    }
  }
}

TEST(MidiSequence, FileInTheWorkingDirectoryReplacesTheBuiltInPiece) {
  InTestDirectory here;
  MidiSequence builtIn;
  ASSERT_TRUE(builtIn.load("title.mid"));
  EXPECT_NE(ReadAll(builtIn), kTwoNotesEvents);
  {
    TestFile own("title.mid", kTwoNotes);
    MidiSequence replaced;
    ASSERT_TRUE(replaced.load("title.mid"));
    EXPECT_EQ(ReadAll(replaced), kTwoNotesEvents);
  }
  MidiSequence missing;
  EXPECT_FALSE(missing.load("no_such_piece.mid"));
}
}  // namespace
