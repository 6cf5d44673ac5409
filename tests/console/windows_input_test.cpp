// Held keys and typed bytes from the Windows console input queue, fed through WriteConsoleInput.
#include <vector>

#include "console/windows/console_input.hpp"
#include "tests/console/windows_console_fixture.hpp"

namespace {

INPUT_RECORD Key(WORD code, bool down, wchar_t ch = 0, DWORD modifiers = 0, WORD repeats = 1) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  key.bKeyDown = down;
  key.wRepeatCount = repeats;
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
    ASSERT_TRUE(WriteConsoleInputW(test_console.input, records.data(), static_cast<DWORD>(records.size()), &written));
    ASSERT_EQ(written, records.size());
  }

  TestConsole test_console;
  ConsoleInput input{test_console.input};
  InputState state;
};

TEST_F(WindowsInput, KeysModifiersAndButtonsCountAsHeldFromPressToRelease) {
  // Each step's records arrive between two polls; then these keys are held and those are not.
  const struct {
    std::vector<INPUT_RECORD> records;
    std::vector<WORD> held, released;
  } steps[] = {
      {{Key(VK_RETURN, true, L'\r')}, {VK_RETURN}, {VK_SHIFT}},
      {{Key(VK_RETURN, true, L'\r'), Key(VK_RETURN, true, L'\r')}, {VK_RETURN}, {}},  // auto-repeat
      {{Key(VK_RETURN, false, L'\r'), Key(VK_DOWN, true), Key(VK_DOWN, false)}, {}, {VK_RETURN, VK_DOWN}},
      // The shift key's own press never arrives: every key event carries the modifiers.
      {{Key('A', true, L'A', SHIFT_PRESSED)}, {'A', VK_SHIFT}, {VK_CONTROL, VK_MENU}},
      {{Key('A', false, L'A', SHIFT_PRESSED | LEFT_CTRL_PRESSED | RIGHT_ALT_PRESSED)},
       {VK_SHIFT, VK_CONTROL, VK_MENU},
       {'A'}},
      {{Key(VK_SHIFT, false)}, {}, {VK_SHIFT, VK_CONTROL, VK_MENU}},
      // Codes above 255 change nothing: not the key of their low byte (300 is 44 there), nor the modifiers.
      {{Key(VK_UP, true, 0, SHIFT_PRESSED), Key(300, true), Key(300 + VK_UP, false)}, {VK_UP, VK_SHIFT}, {44}},
      {{Mouse(12, 4, FROM_LEFT_1ST_BUTTON_PRESSED | RIGHTMOST_BUTTON_PRESSED)}, {VK_LBUTTON, VK_RBUTTON}, {VK_MBUTTON}},
      {{Mouse(13, 5, FROM_LEFT_2ND_BUTTON_PRESSED)}, {VK_MBUTTON}, {VK_LBUTTON, VK_RBUTTON}},
  };
  for (const auto& step : steps) {
    send(step.records);
    input.drain(state);
    SCOPED_TRACE(testing::Message() << "step " << &step - steps);
    for (WORD key : step.held) EXPECT_TRUE(state.held(key)) << key;
    for (WORD key : step.released) EXPECT_FALSE(state.held(key)) << key;
  }
  EXPECT_EQ(state.mouse_x, 13);
  EXPECT_EQ(state.mouse_y, 5);
}

TEST_F(WindowsInput, TypedKeysComeAsBytesAndTheirReleasesStillReachTheHeldKeys) {
  send({Key(VK_SHIFT, true, 0, SHIFT_PRESSED), Key(VK_RETURN, false)});
  EXPECT_FALSE(input.key_waiting());  // a modifier and a release type nothing

  // A held key's auto-repeat may come as one record with a count.
  send({Key('K', true, L'k', 0, 2), Key('K', false, L'k'), Key(VK_UP, true, 0, ENHANCED_KEY),
        Key(VK_RETURN, true, L'\r'), Key(VK_RETURN, false, L'\r')});
  std::vector<int> bytes;
  for (int n = 0; n < 16 && input.key_waiting(); ++n) bytes.push_back(input.read_key());
  const int up_scan = static_cast<int>(MapVirtualKeyW(VK_UP, MAPVK_VK_TO_VSC));
  EXPECT_EQ(bytes, (std::vector<int>{'k', 'k', kExtendedKeyPrefix, up_scan, '\r'}));
  EXPECT_EQ(input.read_key(), 0);

  input.drain(state);
  EXPECT_TRUE(state.held(VK_UP));       // pressed while typing, not released yet
  EXPECT_FALSE(state.held(VK_RETURN));  // its release was read by the typed input
  EXPECT_FALSE(state.held('K'));
}

}  // namespace
