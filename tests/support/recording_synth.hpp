// A synthesiser stand-in that notes the frame at which each message arrives.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/midi/synth_engine.hpp"

class RecordingSynth final : public SynthEngine {
 public:
  struct Message {
    std::int64_t frame;
    std::uint32_t message;
    bool operator==(const Message&) const = default;
  };

  void short_message(std::uint32_t message) override { messages.push_back({frames, message}); }
  void silence() override { silenced.push_back(frames); }
  void render(float*, std::size_t count) override { frames += static_cast<std::int64_t>(count); }

  std::int64_t frames = 0;
  std::vector<Message> messages;
  std::vector<std::int64_t> silenced;
};
