// The game's nine pieces: title, name entry, four battle themes rising in intensity, victory, game over, ending.
#include "assets/music/compose.hpp"

namespace {
// General MIDI programs (0-based).
constexpr int kHarp = 46, kStrings = 48, kSlowStrings = 49, kSynthStrings = 50, kTrumpet = 56, kBrass = 61,
              kSynthBrass = 62, kOboe = 68, kFlute = 73, kSquareLead = 80, kSawLead = 81, kDistortionGuitar = 30;
constexpr int kAcousticBass = 32, kFingerBass = 33, kSynthBass = 38, kSynthBass2 = 39;
}  // namespace

std::vector<Piece> GamePieces() {
  const std::vector<std::vector<int>> heroic = {{3, 1, 2, 2}, {2, 2, 1, 1, 2}, {4, 2, 2}, {1, 1, 2, 2, 2}, {6, -2}};
  const std::vector<std::vector<int>> calm = {{4, 4}, {2, 2, 4}, {3, 1, 4}, {2, 2, 2, 2}, {8}};
  const std::vector<std::vector<int>> battle = {
      {2, 1, 1, 2, 2}, {1, 1, 2, 1, 1, 2}, {3, 3, 2}, {2, 2, 2, 2}, {4, 2, -2}};
  const std::vector<std::vector<int>> fury = {
      {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 2, 1, 1, 2}, {2, 1, 1, 1, 1, 2}, {3, 3, 2}, {2, 2, 4}};
  // The pieces stay laid out as a table, one piece to two lines.
  // clang-format off
  return {
      {"title.mid", true, 126, 55, false, {{'A', {0, 5, 3, 4}, 11}, {'B', {3, 4, 2, 5}, 12}}, "AABA", heroic,
       kTrumpet, kStrings, kFingerBass, BassStyle::Walking, DrumStyle::Rock, PadStyle::Held},
      {"entry.mid", true, 86, 53, false, {{'A', {0, 5, 1, 4}, 21}, {'B', {3, 0, 1, 4}, 22}}, "ABAB", calm,
       kFlute, kHarp, kAcousticBass, BassStyle::Held, DrumStyle::Brush, PadStyle::Broken},
      {"buttle1.mid", true, 136, 57, true, {{'A', {0, 5, 3, 4}, 31}, {'B', {3, 0, 5, 4}, 32}}, "AABA", battle,
       kSquareLead, kStrings, kSynthBass, BassStyle::Pulse, DrumStyle::Rock, PadStyle::Held},
      {"buttle2.mid", true, 146, 52, true, {{'A', {0, 3, 4, 0}, 41}, {'B', {5, 3, 4, 4}, 42}}, "AABA", battle,
       kDistortionGuitar, kSynthStrings, kFingerBass, BassStyle::Drive, DrumStyle::Drive, PadStyle::Held},
      {"buttle3.mid", true, 158, 55, true, {{'A', {0, 5, 0, 4}, 51}, {'B', {3, 4, 5, 4}, 52}}, "ABAB", battle,
       kSynthBrass, kStrings, kSynthBass, BassStyle::Drive, DrumStyle::Drive, PadStyle::Broken},
      {"buttle4.mid", true, 176, 54, true, {{'A', {0, 0, 5, 4}, 61}, {'B', {3, 4, 0, 4}, 62}}, "AABA", fury,
       kSawLead, kSynthStrings, kSynthBass2, BassStyle::Drive, DrumStyle::Fury, PadStyle::Broken},
      {"syori.mid", false, 120, 60, false, {{'A', {0, 3, 4, 0}, 71}, {'B', {5, 3, 4, 4}, 72}}, "AB", heroic,
       kTrumpet, kBrass, kFingerBass, BassStyle::Walking, DrumStyle::Rock, PadStyle::Held},
      {"gameover.mid", false, 72, 50, true, {{'A', {0, 3, 4, 0}, 81}, {'B', {5, 3, 4, 4}, 82}}, "AB", calm,
       kOboe, kStrings, kAcousticBass, BassStyle::Held, DrumStyle::None, PadStyle::Held},
      {"end.mid", false, 98, 58, false, {{'A', {0, 5, 3, 4}, 91}, {'B', {3, 4, 2, 5}, 92}, {'C', {3, 4, 0, 4}, 93}},
       "AABC", calm, kFlute, kSlowStrings, kAcousticBass, BassStyle::Held, DrumStyle::Brush, PadStyle::Held},
  };
  // clang-format on
}
