// Runs a program in an 80x25 pseudo-terminal, as a shell's foreground job, and measures the
// terminal back end: start-up time to the first complete frame, bytes written and CPU time
// while idle, CPU time while a key is held (auto-repeat every 33 ms after a 500 ms delay),
// stopping with Ctrl+Z and resuming, a window too small and grown back, and whether the
// terminal settings come back unchanged after a signal. The window answers as a terminal of
// the kind given (see TerminalKind).
//
//   pty_bench [--answer narrow|wide|plain|xterm|attributes|silent|kitty|win32] [--signal INT|TERM|HUP|QUIT]
//             [--idle SECONDS] [--until-exit] -- PROGRAM [ARGS...]
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/pty_terminal.hpp"

namespace {

const std::set<std::string> kAnswers = {"narrow", "wide", "plain", "xterm", "attributes", "silent", "kitty", "win32"};

// How a terminal of each kind answers the program's questions, where it differs from the
// harness's narrow one: ambiguous-width characters drawn wide, only the plain form of the
// position question (tmux, the Linux console), the marked form with its page added (xterm), only
// the device attributes, nothing at all, or Windows Terminal's win32-input-mode. (kitty's key
// events are the harness's own.)
struct TerminalKind {
  std::string kind;
  bool win32Input = false;  // switched on by the program

  std::optional<std::string> Answer(std::string_view sequence) {
    if (sequence == "?6n" || sequence == "6n") {
      const bool marked = sequence[0] == '?';
      if (kind == "attributes" || kind == "silent" || marked == (kind == "plain")) return "";
      return std::string("\x1b[") + (marked ? "?" : "") + (kind == "wide" ? "1;3" : "1;2") +
             (marked && kind == "xterm" ? ";1R" : "R");
    }
    if (sequence == "c" && kind == "silent") return "";
    if (kind == "win32" && sequence == "?9001$p") return win32Input ? "\x1b[?9001;1$y" : "\x1b[?9001;2$y";
    if (kind == "win32" && (sequence == "?9001h" || sequence == "?9001l")) win32Input = sequence.back() == 'h';
    return std::nullopt;
  }
};
const std::map<std::string, int> kSignals = {{"INT", SIGINT}, {"TERM", SIGTERM}, {"HUP", SIGHUP}, {"QUIT", SIGQUIT}};

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Run time of the process so far, from the scheduler's nanosecond counter.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
  double nanoseconds = 0;
  in >> nanoseconds;
  return nanoseconds / 1e9;
}

// The settings a fresh pseudo-terminal starts with: what the program finds in its own.
termios FreshSettings() {
  int master = -1, slave = -1;
  termios settings{};
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
    tcgetattr(master, &settings);
    close(master);
    close(slave);
  }
  return settings;
}

bool Same(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
         std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// Whether the program's last words switch back to the normal screen; with key events on, the
// device attributes question that finds the keys still on their way may follow.
bool EndsWithNormalScreen(std::string_view output) {
  const std::size_t end = output.find_last_not_of(" \r\n\t");
  if (end == std::string_view::npos) return false;
  output = output.substr(0, end + 1);
  if (output.ends_with("\x1b[c")) output.remove_suffix(3);
  return output.ends_with("\x1b[?1049l");
}

// Reads until nothing has come for 300 ms (5 s at most); when the last byte came.
double WaitQuiet(PtyTerminal& term) {
  const double end = Now() + 5;
  double last = Now();
  std::size_t seen = term.output().size();
  term.pump_until([&] {
    if (term.output().size() > seen) {
      seen = term.output().size();
      last = Now();
    }
    return Now() - last >= 0.3 || Now() >= end;
  });
  return last;
}

// What a shell does for its foreground job: a process group of its own that owns the terminal,
// so that Ctrl+Z stops it. The shell ends with the job's status, 128 + the signal that ended it.
int RunAsShellJob(char** command) {
  const pid_t job = fork();
  if (job == 0) {
    setpgid(0, 0);
    signal(SIGTTOU, SIG_IGN);
    tcsetpgrp(STDIN_FILENO, getpid());
    signal(SIGTTOU, SIG_DFL);
    execvp(command[0], command);
    _exit(127);
  }
  int status = 0;
  waitpid(job, &status, 0);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// The shell's job: its only child, once it has started.
pid_t JobOf(pid_t shell) {
  for (int tries = 0; tries < 500; ++tries) {
    std::ifstream in("/proc/" + std::to_string(shell) + "/task/" + std::to_string(shell) + "/children");
    pid_t job = 0;
    if (in >> job) return job;
    usleep(10000);
  }
  return -1;
}

int Usage() {
  std::fprintf(stderr,
               "usage: pty_bench [--answer KIND] [--signal INT|TERM|HUP|QUIT] [--idle SECONDS] "
               "[--until-exit] -- PROGRAM [ARGS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  TerminalKind terminal{"narrow"};
  std::string signalName = "TERM";
  double idle = 10;
  bool untilExit = false;
  int first = 1;
  for (; first < argc && std::strcmp(argv[first], "--") != 0; ++first) {
    const std::string option = argv[first];
    const char* value = first + 1 < argc ? argv[first + 1] : "";
    if (option == "--until-exit") {
      untilExit = true;
    } else if (option == "--answer" && kAnswers.contains(value)) {
      terminal.kind = argv[++first];
    } else if (option == "--signal" && kSignals.contains(value)) {
      signalName = argv[++first];
    } else if (option == "--idle") {
      idle = std::atof(argv[++first]);
    } else {
      return Usage();
    }
  }
  if (first + 1 >= argc) return Usage();
  char** command = argv + first + 1;

  const termios before = FreshSettings();
  const double started = Now();
  PtyTerminal term(
      {.answers = terminal.kind == "kitty" ? PtyTerminal::Window::Answers::Kitty : PtyTerminal::Window::Answers::Narrow,
       .other_answers = [&terminal](std::string_view q) { return terminal.Answer(q); }},
      [command] { return RunAsShellJob(command); });
  const pid_t job = JobOf(term.pid());
  if (untilExit) {
    int status = -1;
    while (status == -1) status = term.wait_exit();  // waits a few seconds at a time
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  }
  const double firstFrame = WaitQuiet(term);
  std::printf("terminal settings changed while running: %s\n", Same(term.settings(), before) ? "NO" : "yes");
  std::printf("start-up to the first complete frame: %.1f ms (%zu bytes)\n", (firstFrame - started) * 1000,
              term.output().size());

  double cpu = CpuSeconds(job);
  const std::size_t idleBytes = term.pump_for(static_cast<int>(idle * 1000));
  double used = CpuSeconds(job) - cpu;
  std::printf("idle %.0f s: %zu bytes written, CPU %.1f ms = %.2f%% of one core\n", idle, idleBytes, used * 1000,
              used / idle * 100);

  // Down held: the press, the keyboard's repeat delay (500 ms), then auto-repeat. The first
  // press moves the selection; the rest must read as one long press while the program waits
  // for its release.
  cpu = CpuSeconds(job);
  const double start = Now();
  const bool kitty = term.keyboard_flags() & 2;
  const bool win32 = terminal.win32Input;
  std::string press = win32 ? "\x1b[40;80;0;1;0;1_" : "\x1b[B";
  term.type(press);
  std::size_t repeatBytes = term.pump_for(500);
  if (kitty) press = "\x1b[1;1:2B";  // kitty marks the repeats
  while (Now() - start < idle) {
    term.type(press);
    repeatBytes += term.pump_for(33);
  }
  if (kitty || win32) term.type(win32 ? "\x1b[40;80;0;0;0;1_" : "\x1b[1;1:3B");
  used = CpuSeconds(job) - cpu;
  std::printf(
      "key releases reported: %s; auto-repeat every 33 ms for %.0f s: %zu bytes written, "
      "CPU %.1f ms = %.2f%% of one core\n",
      kitty   ? "kitty"
      : win32 ? "win32"
              : "no",
      idle, repeatBytes, used * 1000, used / idle * 100);
  term.pump_for(300);

  // Ctrl+Z: the terminal is given back while stopped and the screen redrawn on resume.
  term.type("\x1a");
  term.pump_for(300);
  const bool stoppedClean =
      ProcessState(job) == 'T' && EndsWithNormalScreen(term.output()) && Same(term.settings(), before);
  kill(job, SIGCONT);
  std::printf("Ctrl+Z: stopped with the terminal given back: %s; %zu bytes redrawn on resume\n",
              stoppedClean ? "True" : "False", term.pump_for(500));

  // A window too small for the game shows a message; back at 80x25 the game is redrawn.
  const std::size_t mark = term.output().size();
  term.resize(60, 20);
  term.pump_for(500);
  const std::string small = term.output().substr(mark);
  term.resize(80, 25);
  const std::size_t grown = term.pump_for(500);
  std::smatch message;
  const bool noted = std::regex_search(small, message, std::regex("Please make[^\x1b]*"));
  std::printf("shrunk to 60x20: %s; grown back: %zu bytes redrawn\n", noted ? message.str().c_str() : "NO MESSAGE",
              grown);

  if (signalName == "INT") {
    term.type("\x03");  // Ctrl+C typed at the terminal
  } else {
    kill(job, kSignals.at(signalName));
  }
  const int status = term.wait_exit();
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const bool restored = EndsWithNormalScreen(term.output()) && term.keyboard_flags() == 0 && !terminal.win32Input;
  const std::string how = code > 128 ? "signal " + std::to_string(code - 128) : "exit " + std::to_string(code);
  std::printf("SIG%s: ended by %s; normal screen restored: %s; terminal settings as before: %s\n", signalName.c_str(),
              how.c_str(), restored ? "True" : "False", Same(term.settings(), before) ? "yes" : "NO");
  return 0;
}
