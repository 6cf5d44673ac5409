// The game's music calls: results for null, unknown and missing players; replaced players retired.
#include <gtest/gtest.h>

#include "sound/midi/midi_player_set.hpp"
#include "tests/support/fake_midi_stream.hpp"
#include "tests/support/midi_test_files.hpp"
#include "tests/sound/wave_bytes.hpp"

TEST(MidiPlayerSet, RefusesStrangePlayersQuietlyAndRetiresStoppedOnesWhenTheMusicChanges) {
  ScratchDirectory scratch;
  scratch.write("piece.mid", Smf(96, {Join({{0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0}, kEndOfTrack})}));
  FakeStreamService streams;
  MidiPlayerSet music{streams};
  MidiStreamPlayer foreign(streams);
  EXPECT_EQ(music.load_music("no_such_music.mid"), nullptr);
  EXPECT_EQ(music.load_music(nullptr), nullptr);
  for (MidiStreamPlayer* stranger : {static_cast<MidiStreamPlayer*>(nullptr), &foreign}) {
    EXPECT_FALSE(music.play_music(stranger, true));
    EXPECT_FALSE(music.stop_music(stranger));
  }
  EXPECT_EQ(streams.open_streams, 0);

  MusicPlayer* first = music.load_music("piece.mid");
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(music.stop_music(first));  // not playing yet: nothing to do
  ASSERT_TRUE(music.play_music(first, true));
  ASSERT_NE(music.load_music("piece.mid"), nullptr);
  EXPECT_EQ(music.size(), 2u);  // the first still plays, so it stays
  ASSERT_TRUE(music.stop_music(first));
  EXPECT_EQ(streams.open_streams, 0);
  MusicPlayer* next = music.load_music("piece.mid");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(music.size(), 1u);  // both the stopped and the never-played player are gone
  EXPECT_TRUE(music.play_music(next, false));
  EXPECT_EQ(streams.open_streams, 1);
}
