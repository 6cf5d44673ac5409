// The game in English: which language a player gets, and a whole session read in English
// against the same session in Japanese.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "console/text_width.hpp"
#include "game/text/language_choice.hpp"
#include "game/text/translate.hpp"
#include "tests/support/game_session.hpp"
#include "tests/support/scripted_run.hpp"

namespace {

// A fighter who falls in round 1, rises again, and falls for good.
constexpr ScriptedFighter kNoviceWhoRises = {"Novice", 250, 300, 200, 150, 100, 100, 7};

std::map<std::string, std::string> environment;
const char* Variable(const char* name) { return environment.count(name) ? environment[name].c_str() : nullptr; }

// What two languages must share in a frame: the drawn cells (box and block characters with
// their colour, and the background of every cell not on white, such as frames and bars), and
// the figures shown. A text run past its frame overwrites drawn cells or reaches the screen's
// edge (column 80, and column 1 of the next row).
struct Frame {
  std::string drawn, figures, edges;
  std::vector<std::string> rows;
};

Frame Read(const ScreenGrid& grid) {
  Frame f;
  std::vector<std::string> figures;
  for (int row = 1; row <= ScreenGrid::kRows; ++row) {
    for (int column = 1; column <= ScreenGrid::kColumns; ++column) {
      const Cell& c = grid.at(column, row);
      const bool box = c.ch >= 0x2500 && c.ch <= 0x25FF;
      if (c.bg != 15 || box) f.drawn += {char(column), char(row), char(c.bg), char(box ? c.ch : 0), char(box ? c.fg : 0)};
    }
    f.rows.push_back(grid.row_text(row));
    for (int column : {1, ScreenGrid::kColumns}) f.edges += grid.at(column, row).ch == U' ' ? '.' : '#';
    std::string number;
    for (char ch : f.rows.back() + " ") {
      if (std::isdigit(static_cast<unsigned char>(ch))) number += ch;
      else if (!number.empty()) figures.push_back(std::exchange(number, ""));
    }
  }
  std::sort(figures.begin(), figures.end());
  for (const auto& n : figures) f.figures += n + " ";
  return f;
}

// Kana, ideographs, full-width forms and Japanese punctuation; an ideographic space is blank.
bool Japanese(char32_t ch) {
  return (ch > 0x3000 && ch <= 0x30FF) || (ch >= 0x4E00 && ch <= 0x9FFF) || (ch >= 0xFF00 && ch <= 0xFFEF);
}

}  // namespace

TEST(LanguageChoice, OptionThenVariableThenTheLocaleInItsOrder) {
  const struct {
    const char* option;
    const char* variable;
    std::map<std::string, std::string> locale;
    const char* expected;
  } cases[] = {
      {"", "", {}, "ja"},
      {"", "", {{"LANG", "C"}}, "ja"},
      {"", "", {{"LANG", "POSIX"}}, "ja"},
      {"", "", {{"LANG", "C.UTF-8"}}, "ja"},
      {"", "", {{"LANG", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LANG", "en_GB.UTF-8"}}, "en"},
      {"", "", {{"LANG", "de_DE.UTF-8"}}, "en"},
      {"", "", {{"LANG", "en_GB.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LC_MESSAGES", "en_GB.UTF-8"}, {"LC_ALL", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LANGUAGE", "de:ja:en"}, {"LANG", "en_GB.UTF-8"}}, "ja"},
      {"", "", {{"LANGUAGE", "fr:en_US:ja"}, {"LANG", "ja_JP.UTF-8"}}, "en"},
      {"en", "", {{"LANG", "ja_JP.UTF-8"}}, "en"},
      {"ja", "en", {{"LANG", "en_GB.UTF-8"}}, "ja"},
      {"", "en", {{"LANG", "C"}}, "en"},
      {"", "klingon", {{"LANG", "ja_JP.UTF-8"}}, "ja"},
      {"", "", {{"LANGUAGE", "es-ES:ja-JP:en-US"}}, "ja"},  // as Windows and browsers write them
  };
  for (const auto& c : cases) {
    environment = c.locale;
    EXPECT_EQ(ChooseLanguage(c.option, c.variable, PosixLanguagePreferences(Variable)), c.expected)
        << "--lang '" << c.option << "', DOMRAK_LANG '" << c.variable << "', LANG '" << c.locale.count("LANG") << "'";
  }
}

// The same session twice, on the same seed, in Japanese and in English: the manual, a name
// entered and its fighter made, a fall with a revival and a game over, the plain ending, and
// the Extra Round won to the true ending, with the name boost on the way.
TEST_F(GameSession, EnglishSessionShowsTheSameGameInEnglish) {
  std::vector<Frame> japanese;
  std::size_t frame = 0;
  for (const char* language : {"ja", "en"}) {
    SCOPED_TRACE(language);
    ASSERT_TRUE(UseLanguage(language));
    ResetGameState();
    gameRandom.seed(1);
    const auto read = [&] {
      if (language[0] == 'j') return japanese.push_back(Read(console.screen()));
      if (HasFatalFailure()) return;
      const Frame f = Read(console.screen());
      ASSERT_LT(frame, japanese.size()) << "English shows more frames than Japanese";
      const Frame& ja = japanese[frame++];
      std::string screen;
      for (const auto& row : f.rows) screen += row + "\n";
      for (const auto& row : f.rows)
        for (std::size_t i = 0; i < row.size();)
          ASSERT_FALSE(Japanese(text::DecodeUtf8(row, i))) << "Japanese on the English screen:\n" << screen;
      ASSERT_EQ(f.drawn, ja.drawn) << "a text covers a frame, bar or big digit:\n" << screen;
      ASSERT_EQ(f.figures, ja.figures) << "other figures than in Japanese:\n" << screen;
      for (std::size_t i = 0; i < f.edges.size(); ++i)
        ASSERT_TRUE(f.edges[i] == '.' || ja.edges[i] == '#') << "a text ran to the screen's edge:\n" << screen;
    };
    // The manual, a new fighter, and each command explained in its first battle.
    HeadlessBackend menus;
    menus.on_present = read;
    console.attach(&menus);
    menus.pause(100);
    for (auto key : {kKeyDown, kKeyDown, kKeyEnter, kKeyRight, kKeyRight, kKeyRight, kKeyRight, kKeyRight,
                     kKeyEnter, kKeyUp, kKeyUp, kKeyEnter})
      menus.press(key);
    menus.type("Ann\r");
    menus.pause(4000);
    menus.press(kKeyEnter);
    menus.pause(2500);
    menus.press(kKeyDown);
    menus.press(kKeyEnter);
    menus.pause(7000);
    for (auto key : {kKeyDown, kKeyDown, kKeyDown}) menus.press(key);
    EXPECT_EQ(RunScreens(Screen::Title), Screen::Quit);
    // Whole runs: a fall with a revival, then game over; the plain ending; the Extra Round.
    HeadlessBackend runs;
    runs.on_present = read;
    console.attach(&runs);
    for (const ScriptedFighter& f : {kNoviceWhoRises, kTankToPlainEnding, kVeteranToTrueEnding}) {
      PrepareFighter(f);
      EXPECT_EQ(PlayScriptedRun(runs, "A"), Screen::Title) << f.name;
    }
    console.attach(&keys);
  }
  EXPECT_EQ(frame, japanese.size()) << "English shows fewer frames than Japanese";
}
