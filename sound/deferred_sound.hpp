// The platform's sound, brought up on a thread of its own so that the first screen does not
// wait for the audio device and the SoundFont.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/sound_system.hpp"

// Until the sound is up, effects give no voice and music is only noted: a piece the game has
// asked to play (and not stopped) is loaded and played as soon as the sound is up, with the
// loop flag it was asked for. From then on every call goes straight to the sound. When the
// platform has no sound, everything stays silent.
class DeferredSound final : public SoundSystem {
 public:
  using Factory = std::function<std::unique_ptr<SoundSystem>()>;

  // Starts bringing the sound up with `create`, on a thread of its own.
  explicit DeferredSound(Factory create);
  ~DeferredSound() override;
  DeferredSound(const DeferredSound&) = delete;
  DeferredSound& operator=(const DeferredSound&) = delete;

  // Waits until the sound is up, or known to be absent.
  void wait_until_up();

  WaveVoice prepare_wave(const char* name) override;
  bool play_wave(WaveVoice voice) override;
  void release_all_waves() override;
  MusicPlayer* load_music(const char* name) override;
  bool play_music(MusicPlayer* player, bool loop) override;
  bool stop_music(MusicPlayer* player) override;

 private:
  // A piece loaded before the sound was up: what the game wants of it, and its real player
  // once the sound has loaded it.
  struct EarlyPiece final : MusicPlayer {
    explicit EarlyPiece(const char* n) : name(n) {}
    std::string name;
    bool playing = false;
    bool loop = false;
    MusicPlayer* player = nullptr;
  };

  void bring_up(const Factory& create);
  EarlyPiece* early_piece(MusicPlayer* player) const;

  std::mutex mutex_;
  bool up_ = false;
  std::unique_ptr<SoundSystem> sound_;  // null until up, and for good on a platform without sound
  std::vector<std::unique_ptr<EarlyPiece>> early_pieces_;
  std::thread bringing_up_;
};
