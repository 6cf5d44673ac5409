// The Standard MIDI File writer: event ordering, delta times and chunks.
#include "assets/music/smf_writer.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(groups[--count] | 0x80);
  out.push_back(groups[0]);
}

void AppendBig(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value & 0x7F); }
}  // namespace

void SmfTrack::add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
  events_.push_back({tick, order, std::move(bytes)});
}

void SmfTrack::note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
  add(tick, 3, {static_cast<std::uint8_t>(0x90 | channel), Byte(key), Byte(velocity)});
  add(tick + length, 2, {static_cast<std::uint8_t>(0x80 | channel), Byte(key), 0});
}

void SmfTrack::program(std::uint32_t tick, int channel, int program) {
  add(tick, 1, {static_cast<std::uint8_t>(0xC0 | channel), Byte(program)});
}

void SmfTrack::control(std::uint32_t tick, int channel, int number, int value) {
  add(tick, 1, {static_cast<std::uint8_t>(0xB0 | channel), Byte(number), Byte(value)});
}

void SmfTrack::tempo(std::uint32_t tick, double beatsPerMinute) {
  auto micros = static_cast<std::uint32_t>(std::lround(60e6 / beatsPerMinute));
  add(tick, 0,
      {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
       static_cast<std::uint8_t>(micros)});
}

void SmfTrack::time_signature(std::uint32_t tick, int beats, int beatUnitPower) {
  add(tick, 0, {0xFF, 0x58, 0x04, Byte(beats), Byte(beatUnitPower), 24, 8});
}

void SmfTrack::name(const char* text) {
  std::vector<std::uint8_t> bytes = {0xFF, 0x03};
  AppendVarLen(bytes, static_cast<std::uint32_t>(std::strlen(text)));
  bytes.insert(bytes.end(), text, text + std::strlen(text));
  add(0, 0, bytes);
}

std::vector<std::uint8_t> SmfTrack::data() const {
  std::vector<Event> sorted = events_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<std::uint8_t> out;
  std::uint32_t tick = 0;
  for (const Event& event : sorted) {
    AppendVarLen(out, event.tick - tick);
    tick = event.tick;
    out.insert(out.end(), event.bytes.begin(), event.bytes.end());
  }
  out.insert(out.end(), {0x00, 0xFF, 0x2F, 0x00});
  return out;
}

std::vector<std::uint8_t> WriteSmf(std::uint16_t division, const std::vector<SmfTrack>& tracks) {
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
  AppendBig(out, 6, 4);
  AppendBig(out, 1, 2);
  AppendBig(out, static_cast<std::uint32_t>(tracks.size()), 2);
  AppendBig(out, division, 2);
  for (const SmfTrack& track : tracks) {
    std::vector<std::uint8_t> data = track.data();
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    AppendBig(out, static_cast<std::uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}
