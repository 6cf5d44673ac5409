// The creation screen: numbers that stop one by one on the abilities, the confirmation and the
// announced birth.
#include "game/pages/creation_screen.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "game/ui/screen.hpp"
#include "game/model/fighter.hpp"
#include "tests/support/big_digits.hpp"
#include "tests/support/game_session.hpp"

namespace {

class Creation : public GameSession {
 protected:
  static std::array<int, 6> Abilities() {
    return {player.hp, player.mp, player.magic, player.attack, player.defence, player.agility};
  }
  // The big number of ability `i` (in the order above) as the screen shows it.
  static int Shown(int i) { return ReadBigNumber(9 + 25 * (i % 3), 16 + 6 * (i / 3)); }
  std::vector<std::uint32_t> TimesOf(const std::string& effect) const {
    std::vector<std::uint32_t> times;
    for (const auto& call : sound.calls())
      if (call.name == effect) times.push_back(call.time);
    return times;
  }
};

}  // namespace

TEST_F(Creation, NumbersStopOnTheAbilitiesAndYesAnnouncesTheBirthCentred) {
  const struct { std::string name; int column; } cases[] = {
      {"A", 34}, {"abc", 33}, {"abcdefghijklmnop", 29}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CreateFighter(c.name.c_str());
    const std::array<int, 6> made = Abilities();
    sound.forget();
    console.clear(0, 15);
    const std::uint32_t start = console.now();
    // Mid-stage s, the numbers before s already show the abilities, and the caption blinks.
    for (int s = 0; s < 6; ++s) {
      At(start + 505 * s + 250, [&, s] {
        for (int i = 0; i < 6; ++i)
          EXPECT_TRUE(i < s ? Shown(i) == made[i] : Shown(i) >= 0) << s << i;
        EXPECT_TRUE(Shows(32, 9, s % 2 ? "　　　　　　　　　" : "キャラクター作成中", 0, 15)) << s;
      });
    }
    keys.pause(50);
    keys.press(kKeyEnter);
    ASSERT_EQ(CreationScreen(), Screen::Title);
    EXPECT_EQ(Abilities(), made) << "the rolling never touches the fighter";
    std::uint32_t stageStart = start;
    for (std::uint32_t t : TimesOf("flush.wav")) {
      // A stage lasts strictly more than 500 ms.
      EXPECT_GT(t - stageStart, 500u) << "a number stopped before its half second was over";
      EXPECT_LE(t - stageStart, 510u) << "a number stopped late";
      stageStart = t;
    }
    EXPECT_EQ(TimesOf("flush.wav").size(), 6u);
    const int colors[6] = {4, 5, 6, 12, 2, 1};
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(Shown(i), made[i]) << i;
      EXPECT_EQ(Colors(9 + 25 * (i % 3), 16 + 6 * (i / 3)), std::make_pair(colors[i], 15)) << i;
    }
    EXPECT_TRUE(Shows(12, 11, c.name, 0, 15));
    const auto created = TimesOf("create.wav");
    ASSERT_EQ(created.size(), 1u);
    EXPECT_GE(console.now() - created[0], 2000u);
    EXPECT_TRUE(Shows(c.column, 9, c.name + "が誕生した！", 3, 15));
    // Nothing of "キャラクター作成完了" (columns 31 to 50) is left on either side.
    for (const char* leftover : {"キ", "了"})
      EXPECT_EQ(Text(29, 9, 30).find(leftover), std::string::npos);
    EXPECT_EQ(console.foreground(), 0) << "the title would print in another colour";
    EXPECT_EQ(console.background(), 15) << "the title would print on another background";
    keys.pause(100);  // Enter is let go before the next fighter
  }
}

TEST_F(Creation, TheArrowMovesOncePerPressAndNoGoesBackToTheNameEntry) {
  CreateFighter("A");
  keys.pause(100);
  keys.press(kKeyUp);         // already on はい: nothing
  keys.press(kKeyDown, 400);  // held: one step
  keys.press(kKeyDown);       // already on いいえ: nothing
  keys.press(kKeyEnter);
  ASSERT_EQ(CreationScreen(), Screen::NameEntry);
  EXPECT_TRUE(Shows(60, 7, "　はい", 0, 15));
  EXPECT_TRUE(Shows(60, 8, "⇒いいえ", 0, 15));
  EXPECT_EQ(TimesOf("kasoru.wav").size(), 1u);
  EXPECT_EQ(sound.names("play_wave").back(), "kettei.wav");
  EXPECT_TRUE(TimesOf("create.wav").empty());
}
