// The two ways the game makes sound: an effect played once, and a change of music.
#pragma once

// Plays a wave effect once, from the start; a missing effect is simply not heard.
void PlayEffect(const char* name);

// Stops the music that plays, then loads `name`, makes it the current music and starts it.
void ChangeMusic(const char* name, bool loop);
