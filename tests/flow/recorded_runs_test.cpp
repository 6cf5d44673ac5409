// Recorded runs: the real game played from a key timeline and checked against the screens and
// sounds a player meets on the way, kept as data in tests/*/*.run. A run's steps, one a line:
//   fighter NAME HP MP ATTACK DEFENCE AGILITY MAGIC | seed N | name NAME | erase | set FIGURE N
//   language LANGUAGE (Japanese when a run names none)
//   music PIECE (playing when the run starts) | press KEY [MS] | pause MS | type BYTES (\r, \b, \xNN)
//   at MS [whole] | at end [whole]: a look at the screen, followed by its checks:
//     ROW|TEXT (the row as SeenRow tells it; with `whole`, every row not listed is blank),
//     and, indented, cursor COLUMN ROW (or cursor 0 0: hidden)
//   watch FROM TO: the rows' changes as shown, each "seen MS ROW|TEXT"; every sound "sound MS WHAT"
//   play SCREEN: runs the screens from SCREEN; run BOOST: a whole arena run with Enter held.
// DOMRAK_RECORD=1 prints what a run sees in the same form, to be checked by hand for a new run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "console/text_width.hpp"
#include "game/flow/game_loop.hpp"
#include "game/model/enemy_roster.hpp"
#include "game/model/fighter.hpp"
#include "game/pages/name_entry_screen.hpp"
#include "game/text/translate.hpp"
#include "game/ui/sound_cues.hpp"
#include "tests/support/game_session.hpp"
#include "tests/support/scripted_run.hpp"
#include "tests/support/sound_log.hpp"

namespace {

struct Line {
  int number;
  std::string text;
};
struct RecordedRun {
  std::string name;
  std::vector<Line> lines;
};
void PrintTo(const RecordedRun& run, std::ostream* out) { *out << run.name; }

std::vector<RecordedRun> LoadRuns() {
  std::vector<RecordedRun> runs;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(DOMRAK_TEST_DATA_DIR)) {
    if (entry.path().extension() != ".run") continue;
    std::ifstream in(entry.path());
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
      if (text.rfind("case ", 0) == 0)
        runs.push_back({entry.path().stem().string() + "_" + text.substr(5), {}});
      else if (!text.empty() && text[0] != '#' && !runs.empty())
        runs.back().lines.push_back({number, text});
    }
  }
  return runs;
}

bool Recording() { return std::getenv("DOMRAK_RECORD") != nullptr; }

// A row as the player sees it: every blank on white as a space, "{fg}" or "{fg/bg}" where the
// colours of what is seen change, the blanks at the end left out.
std::string SeenRow(int row) {
  std::string out;
  std::size_t seenEnd = 0;
  int fg = 0, bg = 15;
  for (int column = 1; column <= 80; ++column) {
    const Cell& cell = console.screen().at(column, row);
    if (cell.width == 0) continue;
    if (cell.bg == 15 && (cell.ch == U' ' || cell.ch == U'\u3000')) {
      out += cell.ch == U' ' ? " " : "  ";
      continue;
    }
    if (cell.fg != fg || cell.bg != bg) {
      fg = cell.fg;
      bg = cell.bg;
      out += "{" + std::to_string(fg) + (bg == 15 ? "" : "/" + std::to_string(bg)) + "}";
    }
    text::AppendUtf8(cell.ch, out);
    seenEnd = out.size();
  }
  return out.substr(0, seenEnd);
}

// A thing a run names: a figure it sets, a key, a screen.
template <typename T>
T Named(const std::map<std::string, T>& things, const std::string& name) {
  EXPECT_TRUE(things.count(name)) << "a run names " << name << ", which is none of these";
  return things.at(name);
}

// The figures a run may set; foe.* is the slot of the current opponent.
int& Field(const std::string& name) {
  Opponent foe = RosterSlot(runState.opponentIndex);
  return *Named<int*>({{"player.mp", &player.mp},
                       {"foe.maxHp", &foe.maxHp},
                       {"foe.hp", &foe.hp},
                       {"foe.maxMp", &foe.maxMp},
                       {"foe.mp", &foe.mp},
                       {"foe.agility", &foe.agility},
                       {"round", &runState.round},
                       {"opponent", &runState.opponentIndex},
                       {"turns", &runState.turnCount}},
                      name);
}

// Typed bytes with \r, \b and \xNN written out.
std::string Unescape(std::string text) {
  for (std::size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
    const char code = text[at + 1];
    const char byte = code == 'r'   ? '\r'
                      : code == 'b' ? '\b'
                                    : static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16));
    text.replace(at, code == 'x' ? 4 : 2, 1, byte);
  }
  return text;
}

// The whole log as the run lists it (when it lists any); the first difference tells.
void ExpectLog(const char* kind, const std::vector<std::string>& expected, const std::vector<std::string>& log) {
  if (Recording())
    for (const std::string& line : log) std::printf("%s %s\n", kind, line.c_str());
  const auto [want, got] = std::mismatch(expected.begin(), expected.end(), log.begin(), log.end());
  EXPECT_TRUE(expected.empty() || (want == expected.end() && got == log.end()))
      << kind << ": the run expects \"" << (want == expected.end() ? "nothing more" : *want) << "\", the game gave \""
      << (got == log.end() ? "nothing more" : *got) << "\"";
}

struct Look {
  std::string when;
  bool whole;
  std::vector<Line> checks;
};

void Check(const Look& look) {
  if (Recording()) std::printf("at %s\n", look.when.c_str());
  bool listed[26] = {};
  for (const Line& line : look.checks) {
    SCOPED_TRACE("line " + std::to_string(line.number) + ", at " + look.when);
    int column = 0, row = 0;
    if (std::sscanf(line.text.c_str(), "cursor %d %d", &column, &row) == 2) {  // "cursor 0 0": hidden
      const CursorState& cursor = console.cursor();
      EXPECT_EQ(cursor.visible ? std::pair(cursor.column, cursor.row) : std::pair(0, 0), std::pair(column, row))
          << "the cursor (column, row)";
      continue;
    }
    row = std::stoi(line.text);
    listed[row] = true;
    EXPECT_TRUE(Recording() || SeenRow(row) == line.text.substr(line.text.find('|') + 1))
        << "row " << row << " reads " << SeenRow(row);
  }
  for (int row = 1; row <= 25; ++row) {
    if (Recording() && !SeenRow(row).empty()) std::printf("%d|%s\n", row, SeenRow(row).c_str());
    EXPECT_TRUE(Recording() || !look.whole || listed[row] || SeenRow(row).empty())
        << "row " << row << " reads " << SeenRow(row);
  }
}

class RecordedRuns : public GameSession, public ::testing::WithParamInterface<RecordedRun> {};

TEST_P(RecordedRuns, ShowsAndSoundsAsRecorded) {
  console.clear(0, 15);  // black on white, as the program starts
  std::vector<Look> looks;
  std::map<std::string, std::vector<std::string>> logs;
  std::pair<int, int> watched;
  std::string play;
  for (const Line& line : GetParam().lines) {
    std::istringstream words(line.text);
    std::string word, a;
    words >> word >> a;
    const std::string rest = line.text.substr(std::min(line.text.size(), word.size() + 1));
    if (line.text[0] == ' ' || isdigit(static_cast<unsigned char>(line.text[0]))) {
      ASSERT_FALSE(looks.empty()) << "line " << line.number << ": a check outside a look";
      looks.back().checks.push_back({line.number, line.text.substr(line.text.find_first_not_of(' '))});
    } else if (word == "at") {
      looks.push_back({a, rest.ends_with(" whole"), {}});
    } else if (word == "seed") {
      gameRandom.seed(std::stoul(a));
    } else if (word == "language") {
      ASSERT_TRUE(UseLanguage(a)) << "line " << line.number << ": no language " << a;
    } else if (word == "erase") {
      player.erase();
    } else if (word == "name") {  // as a confirmed name entry makes it
      std::strncpy(player.name, rest.c_str(), sizeof player.name - 1);
      DeriveAbilitiesFromName(player.name);
    } else if (word == "fighter") {  // by its abilities, max HP and MP full
      std::strncpy(player.name, a.c_str(), sizeof player.name - 1);
      words >> player.maxHp >> player.maxMp >> player.attack >> player.defence >> player.agility >> player.magic;
      player.hp = player.maxHp;
      player.mp = player.maxMp;
    } else if (word == "set") {
      Field(a) = std::stoi(rest.substr(a.size()));
    } else if (word == "music") {
      ChangeMusic(a.c_str(), true);
      sound.forget();
    } else if (word == "press") {
      int ms = 50;
      words >> ms;
      keys.press(
          Named<VirtualKey>(
              {{"ENTER", kKeyEnter}, {"UP", kKeyUp}, {"DOWN", kKeyDown}, {"LEFT", kKeyLeft}, {"RIGHT", kKeyRight}}, a),
          ms);
    } else if (word == "pause") {
      keys.pause(std::stoul(a));
    } else if (word == "type") {
      keys.type(Unescape(rest));
    } else if (word == "watch") {
      watched = {std::stoi(a), std::stoi(rest.substr(a.size()))};
    } else if (word == "seen" || word == "sound") {
      logs[word].push_back(rest);
    } else if (word == "play" || word == "run") {
      play = line.text;
    } else {
      FAIL() << "line " << line.number << ": no step named " << word;
    }
  }
  for (const Look& look : looks)
    if (look.when != "end") keys.at(std::stoul(look.when), [look] { Check(look); });
  // The watched rows as each change is shown: "1234 19|text".
  std::vector<std::string> changes, last(26);
  if (watched.first)
    keys.on_present = [&] {
      for (int row = watched.first; row <= watched.second; ++row)
        if (SeenRow(row) != last[row])
          changes.push_back(std::to_string(console.now()) + " " + std::to_string(row) + "|" +
                            (last[row] = SeenRow(row)));
    };
  ASSERT_FALSE(play.empty()) << "nothing played";
  if (play.starts_with("run "))
    PlayScriptedRun(keys, play.substr(4));
  else
    RunScreens(Named<Screen>({{"Title", Screen::Title},
                              {"NameEntry", Screen::NameEntry},
                              {"Battle", Screen::Battle},
                              {"Ending", Screen::Ending}},
                             play.substr(5)));
  keys.on_present = nullptr;
  for (const Look& look : looks)
    if (look.when == "end") Check(look);
  ExpectLog("sound", logs["sound"], SoundLog(sound, 0));
  ExpectLog("seen", logs["seen"], changes);
}

INSTANTIATE_TEST_SUITE_P(Runs, RecordedRuns, ::testing::ValuesIn(LoadRuns()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
