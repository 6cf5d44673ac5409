// The game's pieces described by key, tempo, harmony and style, and the composer that writes them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class BassStyle { Held, Walking, Pulse, Drive };
enum class DrumStyle { None, Brush, Rock, Drive, Fury };
enum class PadStyle { Held, Broken };

// A four-bar phrase: the chord of each bar (scale degree, 0 the tonic) and its melody's seed.
struct Phrase {
  char letter;
  int chords[4];
  unsigned seed;
};

struct Piece {
  const char* file;
  bool loops;
  double beatsPerMinute;
  int tonic;  // MIDI key of the tonic: chords sit above it, the melody an octave up, the bass below
  bool minor;
  std::vector<Phrase> phrases;
  std::string form;                       // phrase letters in playing order
  std::vector<std::vector<int>> rhythms;  // melody bars, in eighths; negative lengths rest
  int leadProgram;
  int padProgram;
  int bassProgram;
  BassStyle bass;
  DrumStyle drums;
  PadStyle pad;
};

constexpr std::uint16_t kTicksPerQuarter = 480;
constexpr std::uint32_t kTicksPerBar = 4 * kTicksPerQuarter;

// The piece as a Standard MIDI File: a conductor track, then lead, pad, bass and drums (channel
// 10). A looping piece's last event falls exactly on its last bar line, so it loops without a
// seam; a piece that plays once ends on a held tonic chord.
std::vector<std::uint8_t> Compose(const Piece& piece);

// The game's nine pieces.
std::vector<Piece> GamePieces();
