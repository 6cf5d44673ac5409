// Console handles for tests of the Windows back end: a fresh screen buffer and the input queue.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// Opens the process's console (making one when there is none) for a test. `usable()` is false
// when the platform gives no console; the test is then skipped with the reason.
class TestConsole {
 public:
  TestConsole() {
    input = open_input();
    if (input == INVALID_HANDLE_VALUE) {
      // Started without a console of its own (wine on a pipe): make one.
      FreeConsole();
      AllocConsole();
      input = open_input();
    }
    output = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (input != INVALID_HANDLE_VALUE) FlushConsoleInputBuffer(input);
  }
  ~TestConsole() {
    if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  }
  TestConsole(const TestConsole&) = delete;
  TestConsole& operator=(const TestConsole&) = delete;

  static HANDLE open_input() {
    return CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
  }

  // Wine without a terminal or a display hands out console handles that every call refuses.
  bool usable() const {
    CONSOLE_SCREEN_BUFFER_INFO info;
    DWORD events = 0;
    return GetConsoleScreenBufferInfo(output, &info) && GetNumberOfConsoleInputEvents(input, &events);
  }

  HANDLE input = INVALID_HANDLE_VALUE;
  HANDLE output = INVALID_HANDLE_VALUE;
};

#define SKIP_WITHOUT_CONSOLE(test_console)                                     \
  if (!(test_console).usable()) GTEST_SKIP() << "no usable Windows console here, e.g. wine without a terminal (error " \
                                             << GetLastError() << ")"
