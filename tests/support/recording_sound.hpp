// The headless sound: remembers every sound call with the game time it was made at.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sound/sound_system.hpp"

class RecordingSound final : public SoundSystem {
 public:
  // The game time, and "load x.mid", "play x.mid loop" / "once", "stop x.mid" or "wave x.wav".
  using Call = std::pair<std::uint32_t, std::string>;

  // `clock` tells the game time of each call.
  explicit RecordingSound(std::function<std::uint32_t()> clock) : clock_(std::move(clock)) {}

  const std::vector<Call>& calls() const { return calls_; }
  void forget() { calls_.clear(); }

  WaveVoice prepare_wave(const char* name) override {
    if (!name) return 0;
    voices_.emplace_back(name);
    return static_cast<WaveVoice>(voices_.size());
  }
  bool play_wave(WaveVoice voice) override {
    return voice != 0 && voice <= voices_.size() && note("wave " + voices_[voice - 1]);
  }
  void release_all_waves() override { voices_.clear(); }
  MusicPlayer* load_music(const char* name) override {
    if (!name) return nullptr;
    MusicPlayer* piece = pieces_.emplace_back(std::make_unique<MusicPlayer>()).get();
    names_[piece] = name;
    note("load " + names_[piece]);
    return piece;
  }
  bool play_music(MusicPlayer* player, bool loop) override {
    return names_.contains(player) && note("play " + names_[player] + (loop ? " loop" : " once"));
  }
  bool stop_music(MusicPlayer* player) override { return names_.contains(player) && note("stop " + names_[player]); }

 private:
  bool note(std::string line) {
    calls_.push_back({clock_(), std::move(line)});
    return true;
  }

  std::function<std::uint32_t()> clock_;
  std::vector<Call> calls_;
  std::vector<std::string> voices_;  // voice n is voices_[n - 1]
  std::vector<std::unique_ptr<MusicPlayer>> pieces_;
  std::map<MusicPlayer*, std::string> names_;
};
