// Test helper: the recorded sound calls as short readable lines, optionally with their times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/recording_sound.hpp"

// Every call's line; given `since`, only the calls from then on, each after its game time since
// then: "1300 stop x.mid".
inline std::vector<std::string> SoundLog(const RecordingSound& sound,
                                         std::optional<std::uint32_t> since = std::nullopt) {
  std::vector<std::string> out;
  for (const auto& [time, line] : sound.calls()) {
    if (!since) out.push_back(line);
    else if (time >= *since) out.push_back(std::to_string(time - *since) + " " + line);
  }
  return out;
}
