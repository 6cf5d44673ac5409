// Writing Standard MIDI Files: tracks of timed events, saved as format 1.
#pragma once

#include <cstdint>
#include <vector>

class SmfTrack {
 public:
  void note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
  void program(std::uint32_t tick, int channel, int program);
  void control(std::uint32_t tick, int channel, int number, int value);
  void tempo(std::uint32_t tick, double beatsPerMinute);
  void time_signature(std::uint32_t tick, int beats, int beatUnitPower);
  void name(const char* text);

  // The chunk's data: events in time order, then the end of track at the last event's time.
  std::vector<std::uint8_t> data() const;

 private:
  struct Event {
    std::uint32_t tick;
    int order;  // at one tick: meta, then controls, then note-offs, then note-ons
    std::vector<std::uint8_t> bytes;
  };
  void add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);

  std::vector<Event> events_;
};

std::vector<std::uint8_t> WriteSmf(std::uint16_t division, const std::vector<SmfTrack>& tracks);
