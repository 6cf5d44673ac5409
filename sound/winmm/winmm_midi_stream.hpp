// MIDI streams on Windows: the player's buffers queued on a midiStream of the MIDI mapper.
#pragma once

#include "sound/midi/midi_stream.hpp"

// Each open stream is a midiStream on the MIDI mapper, opened paused with a callback function;
// a buffer handed back (MOM_DONE) reaches the player's DoneCallback on a thread of the stream's
// own (MidiHandBack), never on the platform's.
class WinmmMidiStreamService final : public MidiStreamService {
 public:
  // Null when the mapper cannot be opened, and at once where there is no MIDI output device.
  std::unique_ptr<MidiStream> open(DoneCallback done) override;
};
