// Console handles for tests of the Windows back end: a fresh screen buffer and the input queue.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// The console's input queue (L"CONIN$") or active screen buffer (L"CONOUT$").
inline HANDLE OpenConsole(const wchar_t* name) {
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

// Opens the process's console for a test. `usable()` is false
// when the platform gives no console; the test is then skipped with the reason.
struct TestConsole {
  TestConsole() {
    input = OpenConsole(L"CONIN$");
    output = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (input != INVALID_HANDLE_VALUE) FlushConsoleInputBuffer(input);
  }
  ~TestConsole() {
    CloseHandle(input);
    CloseHandle(output);
  }

  // Wine without a terminal or a display hands out console handles that every call refuses.
  bool usable() const {
    CONSOLE_SCREEN_BUFFER_INFO info;
    DWORD events = 0;
    return GetConsoleScreenBufferInfo(output, &info) && GetNumberOfConsoleInputEvents(input, &events);
  }

  HANDLE input;
  HANDLE output;
};

#define SKIP_WITHOUT_CONSOLE(test_console) \
  if (!(test_console).usable())            \
  GTEST_SKIP() << "no usable Windows console here, e.g. wine without a terminal (error " << GetLastError() << ")"
