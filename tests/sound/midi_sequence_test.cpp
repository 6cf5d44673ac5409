// The MIDI file loader: file forms and limits, and the files of midi_tracks.txt read as worked
// out there, by the game and by the page's SoundFont maker alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "sound/midi/midi_sequence.hpp"
#include "tests/support/sound_bytes.hpp"

namespace {
// The events read as midi_tracks.txt writes them; `report` is what the reader reported.
std::string Events(MidiSequence& sequence, const std::string& report = "", bool channelOnly = false) {
  std::string read;
  MidiEvent event;
  MidiSequence::Read result;
  char text[32];
  while ((result = sequence.next_event(event)) == MidiSequence::Read::Event && read.size() < 100000) {
    std::snprintf(text, sizeof text, "%s%u %02X %02X %02X", read.empty() ? "" : ", ", event.time, event.status,
                  event.data1, event.data2);
    if (!channelOnly || event.status < 0xF0) read += text;
  }
  if (result == MidiSequence::Read::Failure) read += (read.empty() ? "fail" : ", fail") + report;
  return read;
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
  // The browser's SoundFont cutter is a tool of the native build: the Windows build's tests (run
  // under wine, with no python3 to start) read the table with the game's reader alone.
#ifdef _WIN32
  std::FILE* maker = nullptr;
#else
  std::FILE* maker = popen(kSoundFontMakerReading, "r");
  ASSERT_NE(maker, nullptr);
#endif
  std::ifstream table(DOMRAK_SOURCE_DIR "/tests/sound/midi_tracks.txt");
  char line[4096];
  for (std::string row; std::getline(table, row);) {
    if (row.empty() || row[0] == '#') continue;
    const std::size_t arrow = row.find(" => ");
    const std::string expected = row.substr(arrow + 4);
    std::istringstream words(row.substr(0, arrow));
    std::vector<Bytes> tracks(1);
    for (std::string word; words >> word;) {
      if (word == "|")
        tracks.emplace_back();
      else
        tracks.back().push_back(static_cast<std::uint8_t>(std::stoi(word, nullptr, 16)));
    }
    const Bytes file = Smf(96, tracks);  // the sequence reads it in place
    std::string report;
    MidiSequence sequence([&](std::uint32_t, std::string_view text) { report = " " + std::string(text); });
    ASSERT_TRUE(sequence.parse_image(file)) << expected;
    EXPECT_EQ(Events(sequence, report), expected);
    if (!maker) continue;
    ASSERT_NE(std::fgets(line, sizeof line, maker), nullptr) << "make_soundfont.py could not read the table";
    ASSERT_TRUE(sequence.rewind());
    if (expected.find("fail") != std::string::npos) continue;
    EXPECT_EQ(line, Events(sequence, "", true) + "\n") << "the browser plays other notes than the game";
  }
#ifndef _WIN32
  EXPECT_EQ(pclose(maker), 0) << "make_soundfont.py failed";
#endif
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
  const struct {
    Bytes file;
    std::uint64_t size;
    bool taken;
  } cases[] = {
      // not taken: the built-in piece
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
}
