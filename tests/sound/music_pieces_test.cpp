// The nine built-in pieces: present, well formed, and shaped for their loop or once role.
#include <gtest/gtest.h>

#include <algorithm>

#include "sound/midi/midi_sequence.hpp"

TEST(MusicPieces, EveryScreenHasItsPieceBuiltIn) {
  constexpr std::uint32_t kBar = 4 * 480;
  const struct { const char* name; bool loops; } cases[] = {
      {"title.mid", true},   {"entry.mid", true}, {"buttle1.mid", true},  {"buttle2.mid", true}, {"buttle3.mid", true},
      {"buttle4.mid", true}, {"syori.mid", false}, {"gameover.mid", false}, {"end.mid", false}};
  for (const auto& c : cases) {
    MidiSequence sequence;
    ASSERT_TRUE(sequence.load(c.name)) << c.name;
    EXPECT_EQ(sequence.division(), 480u) << c.name;
    std::uint32_t firstNote = UINT32_MAX, lastEvent = 0;  // the last event that is not an end of track
    MidiEvent event;
    MidiSequence::Read read;
    while ((read = sequence.next_event(event)) == MidiSequence::Read::Event) {
      if (!event.is_end_of_track()) lastEvent = event.time;
      if ((event.status & 0xF0) == 0x90 && event.data2 != 0) firstNote = std::min(firstNote, event.time);
    }
    EXPECT_EQ(read, MidiSequence::Read::EndOfData) << c.name;
    EXPECT_EQ(firstNote, 0u) << c.name;
    // A looping piece loops on its last bar line; every piece is a whole number of bars.
    EXPECT_EQ(lastEvent % kBar, 0u) << c.name;
    EXPECT_GE(lastEvent / kBar, c.loops ? 16u : 8u) << c.name;
    EXPECT_LE(lastEvent / kBar, 32u) << c.name;
  }
}
