// Drives the real game in an 80x25 pseudo-terminal, as a shell's job, with a window that answers
// like xterm or kitty, and checks what only those terminals send: xterm's form of the cursor
// position answer (CSI ? r ; c ; 1 R) must settle the width question without the plain question,
// and with kitty's keyboard protocol keypad digits must type a name and Ctrl+Z and Ctrl+C on a
// Cyrillic layout must stop and end the game. Prints what it saw; fails when a step is wrong.
//
//   key_protocols_bench PROGRAM
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "tests/support/pty_terminal.hpp"

namespace {

bool failed = false;

void Expect(const char* what, const std::string& got, const std::string& wanted) {
  std::printf("%-56s -> %s\n", what, got.c_str());
  if (got == wanted) return;
  std::printf("  expected: %s\n", wanted.c_str());
  failed = true;
}

// Shows the game's output until `done` holds, 3 s at most; whether it came to hold.
bool Within3s(PtyTerminal& term, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  term.pump_until([&] { return done() || std::chrono::steady_clock::now() >= end; });
  return done();
}

// A key held for 100 ms, as kitty reports it with flags 31 (event types, alternate keys, text).
void Tap(PtyTerminal& term, const std::string& code, int mods = 1, const std::string& text = "") {
  term.type("\x1b[" + code + ";" + std::to_string(mods) + (text.empty() ? "" : ";" + text) + "u");
  term.pump_for(100);
  term.type("\x1b[" + code + ";" + std::to_string(mods) + ":3u");
  term.pump_for(100);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: key_protocols_bench PROGRAM\n");
    return 2;
  }
  const auto game = [program = argv[1]] {
    execl(program, program, nullptr);
    return 127;
  };
  const auto titleShown = [](const PtyTerminal& term) { return term.shows(34, 10, "ネームエントリー"); };
  using Answers = PtyTerminal::Window::Answers;
  {
    PtyTerminal term({.answers = Answers::Xterm, .shell_job = true}, game);
    Within3s(term, [&] { return titleShown(term); });
    Expect("xterm: title shown", titleShown(term) ? "yes" : "no", "yes");
    Expect("xterm: plain cursor question asked after the marked one",
           term.output().find("\x1b[6n") == std::string::npos ? "no" : "yes", "no");
    kill(term.pid(), SIGTERM);
    term.wait_exit();
  }

  PtyTerminal term({.answers = Answers::Kitty, .shell_job = true}, game);
  Within3s(term, [&] { return titleShown(term); });
  Expect("kitty: key events with releases taken", term.keyboard_flags() & 2 ? "yes" : "no", "yes");
  Tap(term, "13");  // Enter on ネームエントリー
  Within3s(term, [&] { return term.shows(30, 7, "名前を入力"); });
  Tap(term, "97");                  // a
  Tap(term, "57400", 129, "49");    // keypad 1 with num lock on (mods 1 + 128)
  Tap(term, "57401", 129, "50");    // keypad 2
  Tap(term, "98");                  // b
  Within3s(term, [&] { return term.shows(33, 5, "a12b "); });
  Expect("kitty: a, keypad 1, keypad 2, b typed in the name", term.screen().text(33, 5, 4), "a12b");

  Tap(term, "1103::122", 5);  // Ctrl+Я, the key of Z
  Within3s(term, [&] { return ProcessState(term.pid()) == 'T'; });
  Expect("kitty: Ctrl+Z on a Cyrillic layout stops the game", std::string(1, ProcessState(term.pid())), "T");
  const std::size_t stopped = term.output().size();
  kill(term.pid(), SIGCONT);
  Within3s(term, [&] { return term.output().find("\x1b[>31u", stopped) != std::string::npos; });
  Tap(term, "1089::99", 5);  // Ctrl+С, the key of C
  const auto ended = [&] { return ProcessState(term.pid()) == 0 || ProcessState(term.pid()) == 'Z'; };
  if (!Within3s(term, ended)) kill(term.pid(), SIGKILL);
  const int status = term.wait_exit();
  Expect("kitty: Ctrl+C on a Cyrillic layout ends the game", "exit " + std::to_string(WEXITSTATUS(status)),
         "exit " + std::to_string(128 + SIGINT));
  return failed ? 1 : 0;
}
