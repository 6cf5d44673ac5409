// Builds without FluidSynth (Windows): there is no synthesiser, so the game plays no music.
#include "sound/midi/fluid_synth_engine.hpp"

std::unique_ptr<SynthEngine> CreateFluidSynthEngine(int, const char*) { return nullptr; }

const char* FindGeneralMidiSoundFont() { return nullptr; }
