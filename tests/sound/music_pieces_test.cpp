// The nine built-in pieces: present, well formed, and shaped for their loop or once role.
#include <gtest/gtest.h>

#include <set>

#include "sound/midi/midi_sequence.hpp"
#include "sound/resources/embedded_resources.hpp"

namespace {
struct Shape {
  std::uint32_t first_note = UINT32_MAX;
  std::uint32_t last_event = 0;  // the last event that is not an end of track
  std::set<int> channels;        // channels with notes
  bool has_tempo = false;
};

Shape ShapeOf(const char* name) {
  Shape shape;
  MidiSequence sequence;
  EXPECT_TRUE(sequence.load(name)) << name;
  MidiEvent event;
  MidiSequence::Read read;
  while ((read = sequence.next_event(event)) == MidiSequence::Read::Event) {
    if (event.is_end_of_track()) continue;
    shape.last_event = event.time;
    shape.has_tempo |= event.is_tempo();
    if ((event.status & 0xF0) == 0x90 && event.data2 != 0) {
      shape.first_note = std::min(shape.first_note, event.time);
      shape.channels.insert(event.status & 0x0F);
    }
  }
  EXPECT_EQ(read, MidiSequence::Read::EndOfData) << name;
  EXPECT_EQ(sequence.division(), 480u);
  return shape;
}

TEST(MusicPieces, EveryScreenHasItsPieceBuiltIn) {
  constexpr std::uint32_t kBar = 4 * 480;
  struct Case {
    const char* name;
    bool loops;
    bool drums;
  };
  const Case cases[] = {{"title.mid", true, true},    {"entry.mid", true, true},     {"buttle1.mid", true, true},
                        {"buttle2.mid", true, true},  {"buttle3.mid", true, true},   {"buttle4.mid", true, true},
                        {"syori.mid", false, true},   {"gameover.mid", false, false}, {"end.mid", false, true}};
  for (const Case& c : cases) {
    ASSERT_TRUE(FindEmbeddedResource(c.name, "MIDI").has_value()) << c.name;
    Shape shape = ShapeOf(c.name);
    EXPECT_TRUE(shape.has_tempo) << c.name;
    EXPECT_EQ(shape.first_note, 0u) << c.name;
    EXPECT_TRUE(shape.channels.count(0) && shape.channels.count(2)) << c.name << ": melody and bass";
    EXPECT_EQ(shape.channels.count(9) == 1, c.drums) << c.name << ": drums on channel 10";
    // A looping piece loops on its last bar line; every piece is a whole number of bars.
    EXPECT_EQ(shape.last_event % kBar, 0u) << c.name;
    std::uint32_t bars = shape.last_event / kBar;
    EXPECT_GE(bars, c.loops ? 16u : 8u) << c.name;
    EXPECT_LE(bars, 32u) << c.name;
  }
}
}  // namespace
