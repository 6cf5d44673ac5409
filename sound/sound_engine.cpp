// The sound engine: effects go to the voices, music calls to the music service if there is one.
#include "sound/sound_engine.hpp"

#include "sound/midi/midi_music.hpp"

SoundEngine::SoundEngine(AudioOutput& output, std::unique_ptr<MusicService> music)
    : voices_(output), music_(std::move(music)) {}

SoundEngine::SoundEngine(std::unique_ptr<AudioOutput> output)
    : owned_output_(std::move(output)), voices_(*owned_output_), music_(CreateMidiMusic(*owned_output_)) {}

SoundEngine::~SoundEngine() {
  music_.reset();  // stop the music before the voices and the output go
}

MusicPlayer* SoundEngine::load_music(const char* name) { return music_ ? music_->load_music(name) : nullptr; }

bool SoundEngine::play_music(MusicPlayer* player, bool loop) { return music_ && music_->play_music(player, loop); }

bool SoundEngine::stop_music(MusicPlayer* player) { return music_ && music_->stop_music(player); }
