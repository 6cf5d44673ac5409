// Reading the Windows console input queue into held keys and typed bytes.
#include "console/windows/console_input.hpp"

#include <string>

#include "console/text_width.hpp"

namespace {

// Control-key state flags of a key event.
constexpr DWORD kAltFlags = LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED;
constexpr DWORD kControlFlags = LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED;

// Keys that change the modifier or lock state only; they type nothing.
bool TypesNothing(WORD key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_PAUSE:
      return true;
    default:
      return false;
  }
}

bool IsTypedKey(const INPUT_RECORD& record) {
  if (record.EventType != KEY_EVENT) return false;
  const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  return key.bKeyDown && (key.uChar.UnicodeChar != 0 || !TypesNothing(key.wVirtualKeyCode));
}

}  // namespace

void ApplyInputRecord(const INPUT_RECORD& record, InputState& state) {
  if (record.EventType == KEY_EVENT) {
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (key.wVirtualKeyCode > 255) return;
    state.set(key.wVirtualKeyCode, key.bKeyDown != FALSE);
    state.set(VK_MENU, (key.dwControlKeyState & kAltFlags) != 0);
    state.set(VK_CONTROL, (key.dwControlKeyState & kControlFlags) != 0);
    state.set(VK_SHIFT, (key.dwControlKeyState & SHIFT_PRESSED) != 0);
  } else if (record.EventType == MOUSE_EVENT) {
    const MOUSE_EVENT_RECORD& mouse = record.Event.MouseEvent;
    state.mouse_x = mouse.dwMousePosition.X;
    state.mouse_y = mouse.dwMousePosition.Y;
    state.set(VK_LBUTTON, (mouse.dwButtonState & FROM_LEFT_1ST_BUTTON_PRESSED) != 0);
    state.set(VK_MBUTTON, (mouse.dwButtonState & FROM_LEFT_2ND_BUTTON_PRESSED) != 0);
    state.set(VK_RBUTTON, (mouse.dwButtonState & RIGHTMOST_BUTTON_PRESSED) != 0);
  }
}

void ConsoleInput::drain(InputState& state) {
  for (const INPUT_RECORD& record : taken_) ApplyInputRecord(record, state);
  taken_.clear();
  const DWORD count = waiting_count();
  if (count == 0) return;
  std::vector<INPUT_RECORD> records(count);
  DWORD read = 0;
  if (!ReadConsoleInputW(input_, records.data(), count, &read)) return;
  for (DWORD i = 0; i < read; ++i) ApplyInputRecord(records[i], state);
}

DWORD ConsoleInput::waiting_count() {
  // Wine's console takes in what the terminal typed only when the handle is waited on; a
  // wait that returns at once costs the Windows console nothing.
  WaitForSingleObject(input_, 0);
  DWORD count = 0;
  return GetNumberOfConsoleInputEvents(input_, &count) ? count : 0;
}

// Takes one record out of the queue without waiting; false when none is there.
bool ConsoleInput::next_record(INPUT_RECORD& record) {
  if (waiting_count() == 0) return false;
  DWORD read = 0;
  if (!ReadConsoleInputW(input_, &record, 1, &read) || read == 0) return false;
  taken_.push_back(record);
  return true;
}

bool ConsoleInput::key_waiting() {
  if (!typed_.empty()) return true;
  INPUT_RECORD record;
  DWORD peeked = 0;
  while (waiting_count() > 0 && PeekConsoleInputW(input_, &record, 1, &peeked) && peeked == 1) {
    if (IsTypedKey(record)) return true;
    if (!next_record(record)) return false;  // a release or a modifier: it types nothing
  }
  return false;
}

int ConsoleInput::read_key() {
  INPUT_RECORD record;
  while (typed_.empty()) {
    if (!key_waiting() || !next_record(record)) return 0;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    const int repeats = key.wRepeatCount > 0 ? key.wRepeatCount : 1;
    for (int i = 0; i < repeats; ++i) {
      if (key.uChar.UnicodeChar != 0) {
        std::string bytes;
        text::AppendUtf8(key.uChar.UnicodeChar, bytes);
        typed_.insert(typed_.end(), bytes.begin(), bytes.end());
      } else {
        typed_.push_back((key.dwControlKeyState & ENHANCED_KEY) ? kExtendedKeyPrefix : 0);
        typed_.push_back(static_cast<unsigned char>(key.wVirtualScanCode));
      }
    }
  }
  const int byte = typed_.front();
  typed_.pop_front();
  return byte;
}
