// The composer: melodies walked over each bar's chord, bass lines, chords and drum patterns.
#include "assets/music/compose.hpp"

#include <algorithm>
#include <cstdlib>

#include "assets/music/smf_writer.hpp"

namespace {
constexpr int kLead = 0, kPad = 1, kBass = 2, kDrums = 9;
constexpr int kKick = 36, kSnare = 38, kSideStick = 37, kClosedHat = 42, kOpenHat = 46, kCrash = 49, kRide = 51;
constexpr int kLowTom = 45, kHighTom = 50;
constexpr std::uint32_t kEighth = kTicksPerQuarter / 2, kSixteenth = kTicksPerQuarter / 4;

// A small deterministic generator, so the same piece comes out the same every time.
class Dice {
 public:
  explicit Dice(unsigned seed) : state_(seed * 2654435761u + 1) {}
  int roll(int sides) {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) % static_cast<unsigned>(sides));
  }

 private:
  unsigned state_;
};

// A scale step (any integer, 7 per octave) as a key relative to the tonic.
int KeyOf(const Piece& piece, int step) {
  static const int kMajor[] = {0, 2, 4, 5, 7, 9, 11};
  static const int kMinor[] = {0, 2, 3, 5, 7, 8, 10};
  int octave = step >= 0 ? step / 7 : -((-step + 6) / 7);
  int degree = step - 7 * octave;
  // Minor keys take the raised leading note throughout, so their dominant is major.
  int semitone = piece.minor ? (degree == 6 ? 11 : kMinor[degree]) : kMajor[degree];
  return piece.tonic + 12 * octave + semitone;
}

bool IsChordTone(int step, int chord) {
  int above = ((step - chord) % 7 + 7) % 7;
  return above == 0 || above == 2 || above == 4;
}

// The melody keeps between the fifth below the upper tonic and the third above it.
constexpr int kLowestStep = 4, kHighestStep = 14;

// A chord tone within a fourth of `step`, picked at random among those in range.
int NearChordTone(Dice& dice, int step, int chord) {
  int best = -1;
  for (int candidate = std::max(kLowestStep, step - 3); candidate <= std::min(kHighestStep, step + 3); ++candidate)
    if (IsChordTone(candidate, chord) && (best < 0 || dice.roll(2) == 0)) best = candidate;
  return best;
}

// A step or a skip, turned back toward the middle near the edges of the range.
int Move(Dice& dice, int step) {
  static const int kMoves[] = {-2, -1, -1, 1, 1, 2};
  int move = kMoves[dice.roll(6)];
  if ((step >= kHighestStep - 2 && move > 0) || (step <= kLowestStep + 2 && move < 0)) move = -move;
  return std::clamp(step + move, kLowestStep, kHighestStep);
}

struct Bar {
  std::uint32_t start;
  int chord;
  const Phrase* phrase;
  int index;  // bar within its phrase
  bool last;  // the piece's last bar
};

void WriteMelody(const Piece& piece, const std::vector<Bar>& bars, SmfTrack& track) {
  int step = 7;  // the tonic an octave above the piece's base
  for (const Bar& bar : bars) {
    Dice dice(bar.phrase->seed * 31 + static_cast<unsigned>(bar.index));
    bool cadence = bar.index == 3;
    const std::vector<int>& rhythm =
        cadence ? piece.rhythms.back() : piece.rhythms[dice.roll(static_cast<int>(piece.rhythms.size() - 1))];
    if (bar.index == 0) step = 7 + bar.chord % 7;  // each phrase starts from its first chord's root
    std::uint32_t at = bar.start;
    for (std::size_t i = 0; i < rhythm.size(); ++i) {
      std::uint32_t length = static_cast<std::uint32_t>(std::abs(rhythm[i])) * kEighth;
      bool strong = (at - bar.start) % kTicksPerQuarter == 0 && ((at - bar.start) / kTicksPerQuarter) % 2 == 0;
      bool final = bar.last && i + 1 == rhythm.size();
      if (final && !piece.loops) {
        step = 7;
      } else if (strong || i + 1 == rhythm.size()) {
        step = NearChordTone(dice, step, bar.chord);
      } else {
        step = Move(dice, step);
      }
      if (rhythm[i] > 0) track.note(at, length - length / 8, kLead, KeyOf(piece, step), 96 + (strong ? 12 : 0));
      at += length;
    }
  }
}

void WritePad(const Piece& piece, const std::vector<Bar>& bars, SmfTrack& track) {
  for (const Bar& bar : bars) {
    int tones[3] = {bar.chord, bar.chord + 2, bar.chord + 4};
    if (piece.pad == PadStyle::Held) {
      for (int tone : tones) track.note(bar.start, kTicksPerBar, kPad, KeyOf(piece, tone), 62);
      continue;
    }
    for (int i = 0; i < 8; ++i) {
      static const int kOrder[] = {0, 1, 2, 1, 0, 1, 2, 1};
      int tone = tones[kOrder[i]] + (i == 2 || i == 6 ? 7 : 0);
      track.note(bar.start + i * kEighth, kEighth, kPad, KeyOf(piece, tone), i % 2 ? 58 : 70);
    }
  }
}

void WriteBass(const Piece& piece, const std::vector<Bar>& bars, SmfTrack& track) {
  for (const Bar& bar : bars) {
    int root = KeyOf(piece, bar.chord % 7) - 12;
    int fifth = KeyOf(piece, bar.chord % 7 + 4) - 12;
    switch (piece.bass) {
      case BassStyle::Held:
        track.note(bar.start, kTicksPerBar / 2, kBass, root, 90);
        track.note(bar.start + kTicksPerBar / 2, kTicksPerBar / 2, kBass, bar.index % 2 ? fifth : root, 84);
        break;
      case BassStyle::Walking: {
        const int keys[] = {root, fifth, root + 12, fifth};
        for (int beat = 0; beat < 4; ++beat)
          track.note(bar.start + beat * kTicksPerQuarter, kTicksPerQuarter, kBass, keys[beat], 92);
        break;
      }
      case BassStyle::Pulse:
      case BassStyle::Drive:
        for (int i = 0; i < 8; ++i) {
          bool up = piece.bass == BassStyle::Drive && i % 2 == 1;
          track.note(bar.start + i * kEighth, kEighth, kBass, up ? root + 12 : root, i % 2 ? 84 : 100);
        }
        break;
    }
  }
}

void Hit(SmfTrack& track, std::uint32_t at, int key, int velocity) {
  track.note(at, kSixteenth / 2, kDrums, key, velocity);
}

void WriteDrums(const Piece& piece, const std::vector<Bar>& bars, SmfTrack& track) {
  for (const Bar& bar : bars) {
    std::uint32_t s = bar.start;
    if (bar.index == 0 && piece.drums >= DrumStyle::Rock) Hit(track, s, kCrash, 100);
    bool fill = bar.index == 3 && piece.drums >= DrumStyle::Drive && (piece.loops || !bar.last);
    for (int sixteenth = 0; sixteenth < 16; ++sixteenth) {
      std::uint32_t at = s + sixteenth * kSixteenth;
      int beat = sixteenth / 4;
      bool onBeat = sixteenth % 4 == 0, onEighth = sixteenth % 2 == 0;
      if (fill && beat == 3) {
        Hit(track, at, sixteenth % 2 ? kLowTom : (sixteenth == 12 ? kSnare : kHighTom), 96 + sixteenth);
        continue;
      }
      switch (piece.drums) {
        case DrumStyle::None:
          break;
        case DrumStyle::Brush:
          if (onBeat) Hit(track, at, kRide, beat == 0 ? 70 : 56);
          if (sixteenth == 0) Hit(track, at, kKick, 70);
          if (sixteenth == 8) Hit(track, at, kSideStick, 60);
          break;
        case DrumStyle::Rock:
        case DrumStyle::Drive:
          if (onEighth)
            Hit(track, at, sixteenth == 14 && piece.drums == DrumStyle::Drive ? kOpenHat : kClosedHat,
                onBeat ? 84 : 64);
          if (sixteenth == 0 || sixteenth == 8 || (piece.drums == DrumStyle::Drive && sixteenth == 6))
            Hit(track, at, kKick, 104);
          if (sixteenth == 4 || sixteenth == 12) Hit(track, at, kSnare, 108);
          break;
        case DrumStyle::Fury:
          Hit(track, at, kClosedHat, onBeat ? 86 : 58);
          if (sixteenth % 8 == 0 || sixteenth % 8 == 3 || sixteenth == 10) Hit(track, at, kKick, 110);
          if (sixteenth == 4 || sixteenth == 12) Hit(track, at, kSnare, 112);
          break;
      }
    }
  }
}

// A piece that plays once ends on a held tonic chord, with a last crash.
void WriteFinalChord(const Piece& piece, std::uint32_t at, std::vector<SmfTrack>& tracks) {
  for (int tone : {0, 2, 4}) tracks[2].note(at, kTicksPerBar, kPad, KeyOf(piece, tone), 70);
  tracks[1].note(at, kTicksPerBar, kLead, KeyOf(piece, 7), 100);
  tracks[3].note(at, kTicksPerBar, kBass, KeyOf(piece, 0) - 12, 96);
  if (piece.drums != DrumStyle::None) Hit(tracks[4], at, kCrash, 100);
}
}  // namespace

std::vector<std::uint8_t> Compose(const Piece& piece) {
  std::vector<Bar> bars;
  for (char letter : piece.form) {
    const Phrase& phrase = *std::find_if(piece.phrases.begin(), piece.phrases.end(),
                                         [letter](const Phrase& p) { return p.letter == letter; });
    for (int i = 0; i < 4; ++i)
      bars.push_back({static_cast<std::uint32_t>(bars.size()) * kTicksPerBar, phrase.chords[i], &phrase, i, false});
  }
  bars.back().last = true;

  std::vector<SmfTrack> tracks(5);
  tracks[0].name(piece.file);
  tracks[0].tempo(0, piece.beatsPerMinute);
  tracks[0].time_signature(0, 4, 2);
  const int programs[3] = {piece.leadProgram, piece.padProgram, piece.bassProgram};
  const int volumes[3] = {100, 72, 100};
  for (int channel = 0; channel < 3; ++channel) {
    tracks[channel + 1].program(0, channel, programs[channel]);
    tracks[channel + 1].control(0, channel, 7, volumes[channel]);
    tracks[channel + 1].control(0, channel, 91, 40);
  }
  tracks[4].control(0, kDrums, 7, 100);
  WriteMelody(piece, bars, tracks[1]);
  WritePad(piece, bars, tracks[2]);
  WriteBass(piece, bars, tracks[3]);
  WriteDrums(piece, bars, tracks[4]);
  if (!piece.loops) WriteFinalChord(piece, static_cast<std::uint32_t>(bars.size()) * kTicksPerBar, tracks);
  return WriteSmf(kTicksPerQuarter, tracks);
}
