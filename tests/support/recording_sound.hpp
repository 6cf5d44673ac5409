// The headless sound: remembers every sound call with the game time it was made at.
#pragma once

#include <cstdint>
#include <functional>
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
  std::vector<std::string> names(const std::string& what) const;
  void forget() { calls_.clear(); }

  WaveVoice prepare_wave(const char* name) override;
  bool play_wave(WaveVoice voice) override;
  void release_all_waves() override { voices_.clear(); }
  MusicPlayer* load_music(const char* name) override;
  bool play_music(MusicPlayer* player, bool loop) override;
  bool stop_music(MusicPlayer* player) override;

 private:
  struct Piece : MusicPlayer {
    explicit Piece(std::string n) : name(std::move(n)) {}
    std::string name;
  };
  Piece* find(MusicPlayer* player) const;

  std::function<std::uint32_t()> clock_;
  std::vector<Call> calls_;
  std::vector<std::string> voices_;  // voice n is voices_[n - 1]
  std::vector<std::unique_ptr<Piece>> pieces_;
};
