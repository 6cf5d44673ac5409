// The frame at which the page's synthesiser applies each record of a MIDI stream.
#include <gtest/gtest.h>

#include <vector>

#include "sound/web/stream_schedule.hpp"

namespace {

void Put(MidiStreamBuffer& buffer, std::uint32_t delta, std::uint8_t kind, std::uint32_t parameter) {
  MidiStreamRecord{delta, 0, static_cast<std::uint32_t>(kind) << 24 | parameter}.write_to(buffer.data.data() + buffer.used);
  buffer.used += MidiStreamRecord::kSize;
}

TEST(StreamSchedule, RecordsFallOnTheirFramesAcrossTempoChangesAndBuffers) {
  // 96 ticks a quarter at 48 kHz: a tick is 250 frames at 120 beats a minute, 500 at 60.
  StreamSchedule schedule(48000);
  ASSERT_TRUE(schedule.set_time_division(96));
  EXPECT_FALSE(schedule.set_time_division(0));
  MidiStreamBuffer first;
  Put(first, 0, MidiStreamRecord::kShortMessage, 0x403C90);
  Put(first, 4, MidiStreamRecord::kShortMessage, 0x003C80);
  Put(first, 2, MidiStreamRecord::kTempo, 1000000);
  Put(first, 0, MidiStreamRecord::kTempo, 0);  // unusable: the tempo stays
  MidiStreamBuffer second;
  Put(second, 3, MidiStreamRecord::kShortMessage, 0x403E90);
  MidiStreamBuffer empty;

  std::vector<std::uint32_t> events;
  EXPECT_EQ(schedule.schedule(first, events), 1500u);
  EXPECT_EQ(schedule.schedule(second, events), 3000u);
  EXPECT_EQ(schedule.schedule(empty, events), 3000u);
  EXPECT_EQ(events, (std::vector<std::uint32_t>{0, 0x403C90, 1000, 0x003C80, 3000, 0x403E90}));

  schedule.restart();
  events.clear();
  EXPECT_EQ(schedule.schedule(second, events), 1500u);
}

}  // namespace
