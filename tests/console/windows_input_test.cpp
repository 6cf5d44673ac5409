// Held keys and typed bytes from the Windows console input queue, fed through WriteConsoleInput.
#include <vector>

#include "console/windows/console_input.hpp"
#include "tests/console/windows_console_fixture.hpp"

namespace {

INPUT_RECORD Key(WORD code, bool down, wchar_t ch = 0, DWORD modifiers = 0) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  key.bKeyDown = down;
  key.wRepeatCount = 1;
  key.wVirtualKeyCode = code;
  key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
  key.uChar.UnicodeChar = ch;
  key.dwControlKeyState = modifiers;
  return record;
}

INPUT_RECORD Mouse(SHORT x, SHORT y, DWORD buttons) {
  INPUT_RECORD record{};
  record.EventType = MOUSE_EVENT;
  record.Event.MouseEvent.dwMousePosition = COORD{x, y};
  record.Event.MouseEvent.dwButtonState = buttons;
  return record;
}

class WindowsInput : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITHOUT_CONSOLE(test_console); }

  void send(const std::vector<INPUT_RECORD>& records) {
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(test_console.input, records.data(),
                                   static_cast<DWORD>(records.size()), &written));
    ASSERT_EQ(written, records.size());
  }

  bool held(std::uint32_t key) {
    input.drain(state);
    return state.held(key);
  }

  TestConsole test_console;
  ConsoleInput input{test_console.input};
  InputState state;
};

TEST_F(WindowsInput, KeyCountsAsHeldFromItsPressToItsRelease) {
  EXPECT_FALSE(held(VK_RETURN));
  send({Key(VK_RETURN, true, L'\r')});
  EXPECT_TRUE(held(VK_RETURN));
  send({Key(VK_RETURN, true, L'\r'), Key(VK_RETURN, true, L'\r')});  // auto-repeat
  EXPECT_TRUE(held(VK_RETURN));
  send({Key(VK_RETURN, false, L'\r')});
  EXPECT_FALSE(held(VK_RETURN));
}

TEST_F(WindowsInput, PressAndReleaseBetweenTwoPollsAnswersReleased) {
  send({Key(VK_DOWN, true), Key(VK_DOWN, false)});
  EXPECT_FALSE(held(VK_DOWN));
}

TEST_F(WindowsInput, ModifierBitsComeFromEveryKeyEvent) {
  send({Key('A', true, L'A', SHIFT_PRESSED)});  // the shift key's own press never arrives
  EXPECT_TRUE(held(VK_SHIFT));
  send({Key('A', false, L'A', SHIFT_PRESSED | LEFT_CTRL_PRESSED | RIGHT_ALT_PRESSED)});
  EXPECT_TRUE(held(VK_CONTROL));
  EXPECT_TRUE(held(VK_MENU));
  send({Key(VK_SHIFT, false)});
  EXPECT_FALSE(held(VK_SHIFT));
  EXPECT_FALSE(held(VK_CONTROL));
  EXPECT_FALSE(held(VK_MENU));
}

TEST_F(WindowsInput, KeyCodeAbove255ChangesNothing) {
  send({Key(VK_UP, true, 0, SHIFT_PRESSED)});
  const InputState before = (input.drain(state), state);
  send({Key(300, true), Key(300 + VK_UP, false)});
  input.drain(state);
  EXPECT_EQ(state.key_down, before.key_down);
}

TEST_F(WindowsInput, MouseEventsGiveTheCellAndTheButtons) {
  send({Mouse(12, 4, FROM_LEFT_1ST_BUTTON_PRESSED | RIGHTMOST_BUTTON_PRESSED)});
  input.drain(state);
  EXPECT_EQ(state.mouse_x, 12);
  EXPECT_EQ(state.mouse_y, 4);
  EXPECT_TRUE(state.held(VK_LBUTTON));
  EXPECT_TRUE(state.held(VK_RBUTTON));
  EXPECT_FALSE(state.held(VK_MBUTTON));
  send({Mouse(13, 4, FROM_LEFT_2ND_BUTTON_PRESSED)});
  input.drain(state);
  EXPECT_FALSE(state.held(VK_LBUTTON));
  EXPECT_TRUE(state.held(VK_MBUTTON));
}

TEST_F(WindowsInput, TypedKeysComeAsBytesAndTheirReleasesStillReachTheHeldKeys) {
  send({Key(VK_SHIFT, true, 0, SHIFT_PRESSED), Key(VK_RETURN, false)});
  EXPECT_FALSE(input.key_waiting());  // a modifier and a release type nothing

  send({Key('K', true, L'k'), Key('K', false, L'k'), Key(VK_UP, true, 0, ENHANCED_KEY),
        Key(VK_RETURN, true, L'\r'), Key(VK_RETURN, false, L'\r')});
  std::vector<int> bytes;
  while (input.key_waiting()) bytes.push_back(input.read_key());
  const int up_scan = static_cast<int>(MapVirtualKeyW(VK_UP, MAPVK_VK_TO_VSC));
  EXPECT_EQ(bytes, (std::vector<int>{'k', kExtendedKeyPrefix, up_scan, '\r'}));
  EXPECT_EQ(input.read_key(), 0);

  input.drain(state);
  EXPECT_TRUE(state.held(VK_UP));       // pressed while typing, not released yet
  EXPECT_FALSE(state.held(VK_RETURN));  // its release was read by the typed input
  EXPECT_FALSE(state.held('K'));
}

}  // namespace
