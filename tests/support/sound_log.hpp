// Test helper: the recorded sound calls as short readable lines with their times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/recording_sound.hpp"

// Every call from game time `since` on, after its time since then: "1300 stop x.mid".
inline std::vector<std::string> SoundLog(const RecordingSound& sound, std::uint32_t since = 0) {
  std::vector<std::string> out;
  for (const auto& [time, line] : sound.calls())
    if (time >= since) out.push_back(std::to_string(time - since) + " " + line);
  return out;
}
