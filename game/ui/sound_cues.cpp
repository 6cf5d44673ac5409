// Effects and music changes, through the console's sound calls.
#include "game/ui/sound_cues.hpp"

#include "console/game_console.hpp"
#include "game/model/run_state.hpp"

void PlayEffect(const char* name) { console.play_wave(console.prepare_wave(name)); }

void ChangeMusic(const char* name, bool loop) {
  console.stop_music(currentMusic);
  currentMusic = console.load_music(name);
  console.play_music(currentMusic, loop);
}
