// The nine built-in pieces: present, well formed, and shaped for their loop or once role.
#include <gtest/gtest.h>

#include <set>

#include "sound/midi/midi_sequence.hpp"

TEST(MusicPieces, EveryScreenHasItsPieceBuiltIn) {
  constexpr std::uint32_t kBar = 4 * 480;
  const struct { const char* name; bool loops, drums; } cases[] = {
      {"title.mid", true, true},   {"entry.mid", true, true},     {"buttle1.mid", true, true},
      {"buttle2.mid", true, true}, {"buttle3.mid", true, true},   {"buttle4.mid", true, true},
      {"syori.mid", false, true},  {"gameover.mid", false, false}, {"end.mid", false, true}};
  for (const auto& c : cases) {
    MidiSequence sequence;
    ASSERT_TRUE(sequence.load(c.name)) << c.name;
    EXPECT_EQ(sequence.division(), 480u) << c.name;
    std::uint32_t firstNote = UINT32_MAX, lastEvent = 0;  // the last event that is not an end of track
    std::set<int> channels;                                // channels with notes
    bool hasTempo = false;
    MidiEvent event;
    MidiSequence::Read read;
    while ((read = sequence.next_event(event)) == MidiSequence::Read::Event) {
      if (event.is_end_of_track()) continue;
      lastEvent = event.time;
      hasTempo |= event.is_tempo();
      if ((event.status & 0xF0) == 0x90 && event.data2 != 0) {
        firstNote = std::min(firstNote, event.time);
        channels.insert(event.status & 0x0F);
      }
    }
    EXPECT_EQ(read, MidiSequence::Read::EndOfData) << c.name;
    EXPECT_TRUE(hasTempo) << c.name;
    EXPECT_EQ(firstNote, 0u) << c.name;
    EXPECT_TRUE(channels.count(0) && channels.count(2)) << c.name << ": melody and bass";
    EXPECT_EQ(channels.count(9) == 1, c.drums) << c.name << ": drums on channel 10";
    // A looping piece loops on its last bar line; every piece is a whole number of bars.
    EXPECT_EQ(lastEvent % kBar, 0u) << c.name;
    EXPECT_GE(lastEvent / kBar, c.loops ? 16u : 8u) << c.name;
    EXPECT_LE(lastEvent / kBar, 32u) << c.name;
  }
}
