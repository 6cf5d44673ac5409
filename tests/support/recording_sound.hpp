// The headless sound: remembers every sound call with the game time it was made at.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sound/sound_system.hpp"

class RecordingSound final : public SoundSystem {
 public:
  struct Call {
    std::uint32_t time;
    std::string what;  // "play_wave", "load_music", "play_music", "stop_music"
    std::string name;  // the file name of the effect or piece
    bool loop = false;
  };

  // `clock` tells the game time of each call.
  explicit RecordingSound(std::function<std::uint32_t()> clock) : clock_(std::move(clock)) {}

  const std::vector<Call>& calls() const { return calls_; }
  // The file names of the calls of one kind, in order.
  std::vector<std::string> names(const std::string& what) const {
    std::vector<std::string> out;
    for (const Call& call : calls_)
      if (call.what == what) out.push_back(call.name);
    return out;
  }
  void forget() { calls_.clear(); }

  WaveVoice prepare_wave(const char* name) override {
    if (name) voices_.emplace_back(name);
    return name ? static_cast<WaveVoice>(voices_.size()) : 0;
  }
  bool play_wave(WaveVoice voice) override {
    return voice != 0 && voice <= voices_.size() && note("play_wave", voices_[voice - 1]);
  }
  void release_all_waves() override { voices_.clear(); }
  MusicPlayer* load_music(const char* name) override {
    if (!name) return nullptr;
    MusicPlayer* piece = pieces_.emplace_back(std::make_unique<MusicPlayer>()).get();
    names_[piece] = name;
    note("load_music", name);
    return piece;
  }
  bool play_music(MusicPlayer* player, bool loop) override {
    return names_.contains(player) && note("play_music", names_[player], loop);
  }
  bool stop_music(MusicPlayer* player) override { return names_.contains(player) && note("stop_music", names_[player]); }

 private:
  bool note(const char* what, const std::string& name, bool loop = false) {
    calls_.push_back({clock_(), what, name, loop});
    return true;
  }

  std::function<std::uint32_t()> clock_;
  std::vector<Call> calls_;
  std::vector<std::string> voices_;  // voice n is voices_[n - 1]
  std::vector<std::unique_ptr<MusicPlayer>> pieces_;
  std::map<MusicPlayer*, std::string> names_;
};
