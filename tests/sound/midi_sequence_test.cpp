// The MIDI file loader: file forms and limits, and the files of midi_tracks.txt read as worked
// out there, by the game and by the page's SoundFont maker alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "sound/midi/midi_sequence.hpp"
#include "tests/support/sound_bytes.hpp"

namespace {
std::string Hex(int value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

// The events read as midi_tracks.txt writes them; `report` is what the reader reported.
std::string Events(MidiSequence& sequence, const std::string& report = "", bool channelOnly = false) {
  std::string read;
  MidiEvent event;
  MidiSequence::Read result;
  while ((result = sequence.next_event(event)) == MidiSequence::Read::Event && read.size() < 100000)
    if (!channelOnly || event.status < 0xF0)
      read += (read.empty() ? "" : ", ") + std::to_string(event.time) + " " + Hex(event.status) + " " +
              Hex(event.data1) + " " + Hex(event.data2);
  if (result == MidiSequence::Read::Failure) read += (read.empty() ? "fail" : ", fail") + report;
  return read;
}

struct TrackFile {
  Bytes file;
  std::string events;
};
std::vector<TrackFile> TrackFiles() {
  std::vector<TrackFile> files;
  std::ifstream in(DOMRAK_SOURCE_DIR "/tests/sound/midi_tracks.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line.substr(0, line.find(" => ")));
    std::vector<Bytes> tracks(1);
    for (std::string word; words >> word;) {
      if (word == "|") tracks.emplace_back();
      else tracks.back().push_back(static_cast<std::uint8_t>(std::stoi(word, nullptr, 16)));
    }
    files.push_back({Smf(96, tracks), line.substr(line.find(" => ") + 4)});
  }
  return files;
}

// make_soundfont.py's reading of each file of midi_tracks.txt: its channel messages in order.
const char* const kSoundFontMakerReading = R"(python3 -c '
import sys; sys.path[0] = sys.argv[1] + "/web"; import make_soundfont as m
for line in open(sys.argv[1] + "/tests/sound/midi_tracks.txt"):
    if line[0] == "#": continue
    tracks = [bytes.fromhex(track) for track in line.split("=>")[0].split("|")]
    try: events = sorted(((t, n, s, b) for n, d in enumerate(tracks) for t, s, b in m.track_events(d, 0, len(d))),
                         key=lambda event: event[:2])
    except IndexError: events = []
    print(", ".join(f"{t} {s:02X} {b[0]:02X} {(b[1] if len(b) > 1 else 0):02X}" for t, n, s, b in events))
' )" DOMRAK_SOURCE_DIR;
}  // namespace

TEST(MidiSequence, ReadsEveryFileOfTheTrackTableAsWorkedOutThereAndTheSoundFontMakerAgrees) {
  std::FILE* maker = popen(kSoundFontMakerReading, "r");
  ASSERT_NE(maker, nullptr);
  char line[4096];
  for (const TrackFile& c : TrackFiles()) {
    std::string report;
    MidiSequence sequence([&](std::uint32_t, std::string_view text) { report = " " + std::string(text); });
    ASSERT_TRUE(sequence.parse_image(c.file)) << c.events;
    EXPECT_EQ(Events(sequence, report), c.events);
    ASSERT_NE(std::fgets(line, sizeof line, maker), nullptr) << "make_soundfont.py could not read the table";
    ASSERT_TRUE(sequence.rewind());
    if (c.events.find("fail") != std::string::npos) continue;
    EXPECT_EQ(line, Events(sequence, "", true) + "\n") << "the browser plays other notes than the game";
  }
  EXPECT_EQ(pclose(maker), 0);
}

TEST(MidiSequence, LoadsPlainAndRmidFilesWithinItsLimitsAndFallsBackToTheBuiltInPieceOnAnythingElse) {
  ScratchDirectory scratch;
  const Bytes twoNotes = Smf(96, {{0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
  Bytes longHeader = twoNotes, notTrack = twoNotes, trackTooLong = twoNotes;
  longHeader[7] = 8;  // the tracks still follow six bytes on
  notTrack[17] = 'x';
  trackTooLong[21] += 1;
  MidiSequence builtIn;
  ASSERT_TRUE(builtIn.load("title.mid"));
  const std::string builtInEvents = Events(builtIn);
  const struct { Bytes file; std::uint64_t size; bool taken; } cases[] = {  // not taken: the built-in piece
      {twoNotes, 0, true},
      {Riff("RMID", {Chunk("data", twoNotes)}), 0, true},
      {twoNotes, kMaxMusicFileBytes + 1, false},  // the file reader's limits are tested with the effects'
      {Riff("WAVE", {Chunk("data", twoNotes)}), 0, false},
      {Riff("RMID", {Chunk("junk", twoNotes)}), 0, false},
      {longHeader, 0, false},
      {notTrack, 0, false},
      {trackTooLong, 0, false},
      {Smf(96, std::vector<Bytes>(kMaxTracks + 1, kEndOfTrack)), 0, false},
  };
  for (const auto& c : cases) {
    scratch.write("title.mid", c.file, c.size);
    MidiSequence sequence;
    ASSERT_TRUE(sequence.load("title.mid")) << c.size;
    EXPECT_EQ(Events(sequence), c.taken ? "0 90 3C 64, 96 80 3C 00, 96 FF 2F 00" : builtInEvents) << c.size;
  }
  MidiSequence missing;
  EXPECT_FALSE(missing.load("missing.mid"));
}
