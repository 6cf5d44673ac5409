// Test helper: the recorded sound calls as short readable lines, optionally with their times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/headless/recording_sound.hpp"

// "load x.mid", "play x.mid loop" / "play x.mid once", "stop x.mid", "wave x.wav".
inline std::string DescribeCall(const RecordingSound::Call& call) {
  if (call.what == "play_music") return "play " + call.name + (call.loop ? " loop" : " once");
  if (call.what == "play_wave") return "wave " + call.name;
  if (call.what == "load_music") return "load " + call.name;
  return "stop " + call.name;
}

inline std::vector<std::string> SoundLog(const RecordingSound& sound) {
  std::vector<std::string> out;
  for (const auto& call : sound.calls()) out.push_back(DescribeCall(call));
  return out;
}

// The same lines prefixed with the game time of each call after `start`: "1300 stop x.mid".
inline std::vector<std::string> TimedSoundLog(const RecordingSound& sound, std::uint32_t start = 0) {
  std::vector<std::string> out;
  for (const auto& call : sound.calls())
    out.push_back(std::to_string(call.time - start) + " " + DescribeCall(call));
  return out;
}
