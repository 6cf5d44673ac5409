// Test helper: the recorded sound calls as short readable lines, optionally with their times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/recording_sound.hpp"

// "load x.mid", "play x.mid loop" / "play x.mid once", "stop x.mid", "wave x.wav". Given `since`,
// only the calls from then on, each after its game time since then: "1300 stop x.mid".
inline std::vector<std::string> SoundLog(const RecordingSound& sound,
                                         std::optional<std::uint32_t> since = std::nullopt) {
  std::vector<std::string> out;
  for (const auto& call : sound.calls()) {
    if (since && call.time < *since) continue;
    std::string line = "stop " + call.name;
    if (call.what == "play_music") line = "play " + call.name + (call.loop ? " loop" : " once");
    if (call.what == "play_wave") line = "wave " + call.name;
    if (call.what == "load_music") line = "load " + call.name;
    out.push_back(since ? std::to_string(call.time - *since) + " " + line : line);
  }
  return out;
}
