// The game's music calls over a set of stream players: load by name, play, stop.
#pragma once

#include <map>
#include <memory>

#include "sound/midi/midi_stream.hpp"
#include "sound/midi/midi_stream_player.hpp"
#include "sound/music_service.hpp"

// Players are kept by address. Loading a new piece destroys every other player that does not
// play: the game stops its current music before it loads the next, and never uses a replaced
// player again, so memory stays flat however often the music changes.
class MidiPlayerSet final : public MusicService {
 public:
  explicit MidiPlayerSet(MidiStreamService& service) : service_(service) {}

  MusicPlayer* load_music(const char* name) override;
  bool play_music(MusicPlayer* player, bool loop) override;
  bool stop_music(MusicPlayer* player) override;

  std::size_t size() const { return players_.size(); }

 private:
  MidiStreamPlayer* find(MusicPlayer* player) const;

  MidiStreamService& service_;
  std::map<MusicPlayer*, std::unique_ptr<MidiStreamPlayer>> players_;
};
