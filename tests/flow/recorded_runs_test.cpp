// Recorded runs: the real game played from a key timeline, checked against the screens, sounds
// and figures a player meets on the way, kept as data in tests/*/*.run .
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>

#include "console/text_width.hpp"
#include "game/flow/game_loop.hpp"
#include "game/model/enemy_roster.hpp"
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
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(DOMRAK_RUNS_DIR))
    if (entry.path().extension() == ".run") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<RecordedRun> runs;
  for (const auto& path : files) {
    std::ifstream in(path);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
      if (text.rfind("case ", 0) == 0)
        runs.push_back({path.stem().string() + "_" + text.substr(5), {}});
      else if (!text.empty() && text[0] != '#' && !runs.empty())
        runs.back().lines.push_back({number, text});
    }
  }
  return runs;
}

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

// The figures a run may set or check, by name; foe.* is the slot of the current opponent.
int& Field(const std::string& name) {
  Opponent foe = RosterSlot(runState.opponentIndex);
  const std::map<std::string, int*> fields = {
      {"player.maxHp", &player.maxHp},     {"player.hp", &player.hp},
      {"player.maxMp", &player.maxMp},     {"player.mp", &player.mp},
      {"player.attack", &player.attack},   {"player.defence", &player.defence},
      {"player.agility", &player.agility}, {"player.magic", &player.magic},
      {"foe.maxHp", &foe.maxHp},           {"foe.hp", &foe.hp},
      {"foe.maxMp", &foe.maxMp},           {"foe.mp", &foe.mp},
      {"foe.attack", &foe.attack},         {"foe.defence", &foe.defence},
      {"foe.agility", &foe.agility},       {"foe.magic", &foe.magic},
      {"round", &runState.round},          {"opponent", &runState.opponentIndex},
      {"turns", &runState.turnCount},
  };
  EXPECT_TRUE(fields.count(name)) << "no figure named " << name;
  return *fields.at(name);
}

VirtualKey Key(const std::string& name) {
  const std::map<std::string, VirtualKey> keys = {{"ENTER", kKeyEnter}, {"UP", kKeyUp},
      {"DOWN", kKeyDown}, {"LEFT", kKeyLeft}, {"RIGHT", kKeyRight}};
  EXPECT_TRUE(keys.count(name)) << "no key named " << name;
  return keys.at(name);
}

Screen ScreenNamed(const std::string& name) {
  const char* names[] = {"Title", "NameEntry", "Creation", "Manual", "NewRun",
                         "RoundIntro", "Battle", "Victory", "Ending", "Quit"};
  const auto at = std::find(std::begin(names), std::end(names), name);
  EXPECT_NE(at, std::end(names)) << "no screen named " << name;
  return static_cast<Screen>(at - std::begin(names));
}

// Typed bytes with \r, \b and \xNN written out.
std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else if (text[++i] == 'x') {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i] == 'r' ? '\r' : text[i] == 'b' ? '\b' : text[i];
    }
  }
  return out;
}

class RecordedRuns : public GameSession, public ::testing::WithParamInterface<RecordedRun> {
 protected:
  // A look at the screen: its rows ("19|text"; with `whole`, every other row blank), figures
  // ("value player.hp 34") and the cursor ("cursor 33 5", "cursor hidden").
  struct Look {
    std::uint32_t time;
    bool whole = false, afterPlay = false;
    std::vector<Line> checks;
  };

  void Check(const Look& look) {
    if (std::getenv("DOMRAK_RECORD")) return Record(look);
    bool listed[26] = {};
    for (const Line& line : look.checks) {
      SCOPED_TRACE(GetParam().name + " line " + std::to_string(line.number));
      std::istringstream words(line.text);
      std::string word;
      words >> word;
      if (const auto bar = line.text.find('|'); bar != std::string::npos && isdigit(word[0])) {
        const int row = std::stoi(line.text);
        listed[row] = true;
        EXPECT_EQ(SeenRow(row), line.text.substr(bar + 1)) << "row " << row << " at " << console.now() << " ms";
      } else if (word == "value") {
        int expected = 0;
        words >> word >> expected;
        EXPECT_EQ(Field(word), expected) << word;
      } else if (word == "cursor") {
        int column = 0, row = 0;
        words >> column >> row;
        const CursorState& cursor = console.cursor();
        EXPECT_EQ(std::tuple(cursor.visible, cursor.column, cursor.row),
                  std::tuple(column > 0, column > 0 ? column : cursor.column, column > 0 ? row : cursor.row))
            << "the cursor (shown, column, row)";
      } else {
        ADD_FAILURE() << "no check named " << word;
      }
    }
    for (int row = 1; row <= 25 && look.whole; ++row)
      EXPECT_TRUE(listed[row] || SeenRow(row).empty()) << "row " << row << " reads " << SeenRow(row);
  }

  // Prints what the player sees, in the form of the checks, for a new run to be checked by hand.
  void Record(const Look& look) {
    std::printf("at %s\n", look.afterPlay ? "end" : std::to_string(look.time).c_str());
    for (int row = 1; row <= 25; ++row)
      if (!SeenRow(row).empty()) std::printf("%d|%s\n", row, SeenRow(row).c_str());
  }

  void Play() {
    std::vector<Look> looks;
    std::vector<std::string> sounds, seen;
    std::pair<int, int> watched;
    std::optional<std::string> play;
    for (const Line& line : GetParam().lines) {
      std::istringstream words(line.text);
      std::string word, a, b;
      words >> word;
      if (line.text[0] == ' ' || isdigit(line.text[0])) {
        ASSERT_FALSE(looks.empty()) << "line " << line.number << ": a check outside a look";
        looks.back().checks.push_back({line.number, line.text.substr(line.text.find_first_not_of(' '))});
      } else if (word == "at") {
        words >> a >> b;
        looks.push_back({a == "end" ? 0u : std::uint32_t(std::stoul(a)), b == "whole", a == "end", {}});
      } else if (word == "seed") {
        words >> a;
        gameRandom.seed(std::stoul(a));
      } else if (word == "erase") {
        player.erase();
      } else if (word == "name") {
        CreateFighter(line.text.substr(5).c_str());
      } else if (word == "fighter") {
        ScriptedFighter f{};
        words >> a >> f.hp >> f.mp >> f.attack >> f.defence >> f.agility >> f.magic;
        f.name = a.c_str();
        const GameRandom draws = gameRandom;
        PrepareFighter(f);
        gameRandom = draws;
      } else if (word == "set") {
        int value = 0;
        words >> a >> value;
        Field(a) = value;
      } else if (word == "music") {
        words >> a;
        ChangeMusic(a.c_str(), true);
        sound.forget();
      } else if (word == "press") {
        int ms = 50;
        words >> a >> ms;
        keys.press(Key(a), ms);
      } else if (word == "pause") {
        words >> a;
        keys.pause(std::stoul(a));
      } else if (word == "type") {
        keys.type(Unescape(line.text.substr(5)));
      } else if (word == "watch") {
        words >> watched.first >> watched.second;
      } else if (word == "seen") {
        seen.push_back(line.text.substr(5));
      } else if (word == "sound") {
        sounds.push_back(line.text.substr(6));
      } else if (word == "play" || word == "run") {
        play = line.text;
      } else {
        FAIL() << "line " << line.number << ": no step named " << word;
      }
    }
    for (const Look& look : looks)
      if (!look.afterPlay) At(look.time, [this, look] { Check(look); });
    ASSERT_TRUE(play) << "nothing played";
    // The watched rows as each change is shown: "1234 19|text".
    std::vector<std::string> changes, last(26);
    if (watched.first)
      keys.on_present = [&] {
        for (int row = watched.first; row <= watched.second; ++row)
          if (SeenRow(row) != last[row])
            changes.push_back(std::to_string(console.now()) + " " + std::to_string(row) + "|" +
                              (last[row] = SeenRow(row)));
      };
    if (play->rfind("run", 0) == 0) {
      PlayScriptedRun(keys, play->substr(4));
    } else {
      for (Screen screen = ScreenNamed(play->substr(5)); screen != Screen::Quit;)
        screen = ShowScreen(screen);
    }
    for (const Look& look : looks)
      if (look.afterPlay) Check(look);
    keys.on_present = nullptr;
    ExpectLog("sound", sounds, SoundLog(sound, 0));
    ExpectLog("seen", seen, changes);
  }

  // The whole log as the run lists it (when it lists any): the first difference tells.
  static void ExpectLog(const char* kind, const std::vector<std::string>& expected,
                        const std::vector<std::string>& log) {
    if (std::getenv("DOMRAK_RECORD"))
      for (const std::string& s : log) std::printf("%s %s\n", kind, s.c_str());
    const auto [want, got] = std::mismatch(expected.begin(), expected.end(), log.begin(), log.end());
    EXPECT_TRUE(expected.empty() || (want == expected.end() && got == log.end()))
        << kind << ": the run expects \"" << (want == expected.end() ? "nothing more" : *want)
        << "\", the game gave \"" << (got == log.end() ? "nothing more" : *got) << "\"";
  }
};

TEST_P(RecordedRuns, ShowsAndSoundsAsRecorded) { Play(); }

INSTANTIATE_TEST_SUITE_P(Runs, RecordedRuns, ::testing::ValuesIn(LoadRuns()),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
