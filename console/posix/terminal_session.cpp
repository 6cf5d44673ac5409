// Terminal ownership: termios, alternate screen, standard error and the signal handlers that
// restore them with async-signal-safe calls only.
#include "console/posix/terminal_session.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace terminal_session {

namespace {

// Alternate screen, autowrap off (so drawing the last cell never scrolls), cursor hidden.
constexpr char kEnterSequence[] = "\x1b[?1049h\x1b[?7l\x1b[?25l";
const char* enterSequence = kEnterSequence;
std::size_t enterLength = sizeof kEnterSequence - 1;
// Default colours, cursor shown, autowrap on, back to the normal screen.
constexpr char kLeaveSequence[] = "\x1b[0m\x1b[?25h\x1b[?7h\x1b[?1049l";
// The Linux console has no alternate screen: the game's last frame is cleared away instead.
constexpr char kLeaveLinuxConsole[] = "\x1b[0m\x1b[?25h\x1b[?7h\x1b[2J\x1b[H";
const char* leaveSequence = kLeaveSequence;
std::size_t leaveLength = sizeof kLeaveSequence - 1;
// Key events with releases, switched on after entering (kitty's flags go on the alternate
// screen's own stack) and off before leaving: kitty's flags 31 report every key, Enter
// included, as an escape code with its event type and the text it types.
constexpr char kKittyEventsOn[] = "\x1b[>31u";
constexpr char kKittyEventsOff[] = "\x1b[<u";
constexpr char kWin32RecordsOn[] = "\x1b[?9001h";
constexpr char kWin32RecordsOff[] = "\x1b[?9001l";
const char* keyEventsOn = "";
const char* keyEventsOff = "";

// Signals that end the game: the terminal is restored first, then the action that was in
// place before the game (the default, or a crash reporter's) takes over.
constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT,
                                 SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};
// Every signal the session handles, with the action it found.
constexpr int kHandledSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV,
                                   SIGBUS, SIGFPE, SIGILL, SIGTSTP, SIGCONT, SIGWINCH};
struct sigaction previousActions[NSIG];

termios savedTermios;
termios gameTermios;
volatile sig_atomic_t active = 0;
int savedStderr = -1;
int nullFd = -1;
int wakePipe[2] = {-1, -1};
volatile sig_atomic_t resized = 0;
volatile sig_atomic_t resumed = 0;

void WriteRaw(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(STDOUT_FILENO, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

void Wake() {
  if (wakePipe[1] >= 0) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(wakePipe[1], &byte, 1);
  }
}

// Async-signal-safe: the terminal and standard error as they were before the game.
void RestoreTerminal() {
  WriteRaw(keyEventsOff, std::strlen(keyEventsOff));
  WriteRaw(leaveSequence, leaveLength);
  tcsetattr(STDIN_FILENO, TCSADRAIN, &savedTermios);
  if (savedStderr >= 0) dup2(savedStderr, STDERR_FILENO);
}

// Async-signal-safe: the terminal as the game wants it.
void TakeTerminal() {
  tcsetattr(STDIN_FILENO, TCSADRAIN, &gameTermios);
  WriteRaw(enterSequence, enterLength);
  WriteRaw(keyEventsOn, std::strlen(keyEventsOn));
  if (savedStderr >= 0) dup2(nullFd, STDERR_FILENO);
}

void Install(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(sig, &action, nullptr);
}

void OnFatalSignal(int sig) {
  if (active) RestoreTerminal();
  active = 0;
  // The signal stays blocked until this handler returns; then the earlier action ends us
  // (a fault simply happens again on return).
  sigaction(sig, &previousActions[sig], nullptr);
  raise(sig);
}

void OnContinue(int);

void OnStop(int) {
  const int savedErrno = errno;
  if (active) RestoreTerminal();
  signal(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  raise(SIGTSTP);  // stops here; SIGCONT takes the terminal back
  Install(SIGTSTP, OnStop);
  errno = savedErrno;
}

void OnContinue(int) {
  const int savedErrno = errno;
  if (active) TakeTerminal();
  resumed = 1;
  Wake();
  errno = savedErrno;
}

void OnResize(int) {
  const int savedErrno = errno;
  resized = 1;
  Wake();
  errno = savedErrno;
}

bool Ignored(int sig) {
  struct sigaction current {};
  sigaction(sig, nullptr, &current);
  return current.sa_handler == SIG_IGN;
}

void LeaveAtExit() { Leave(); }

}  // namespace

void Enter() {
  if (active) return;
  const char* term = std::getenv("TERM");
  if (term && std::strncmp(term, "linux", 5) == 0) {
    leaveSequence = kLeaveLinuxConsole;
    leaveLength = sizeof kLeaveLinuxConsole - 1;
  }
  tcgetattr(STDIN_FILENO, &savedTermios);
  gameTermios = savedTermios;
  gameTermios.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);  // ISIG stays: Ctrl+C
  gameTermios.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR | ISTRIP);
  gameTermios.c_cc[VMIN] = 1;
  gameTermios.c_cc[VTIME] = 0;

  if (wakePipe[0] < 0 && pipe(wakePipe) == 0) {
    for (int fd : wakePipe) {
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
      fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
  }
  if (isatty(STDERR_FILENO)) {
    nullFd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nullFd >= 0) savedStderr = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 10);
  }

  static bool exitHandlerRegistered = false;
  if (!exitHandlerRegistered) {
    std::atexit(LeaveAtExit);
    exitHandlerRegistered = true;
  }
  for (int sig : kHandledSignals) sigaction(sig, nullptr, &previousActions[sig]);
  for (int sig : kFatalSignals)
    if (!Ignored(sig)) Install(sig, OnFatalSignal);
  if (!Ignored(SIGTSTP)) Install(SIGTSTP, OnStop);
  Install(SIGCONT, OnContinue);
  Install(SIGWINCH, OnResize);

  active = 1;
  TakeTerminal();
}

void Leave() {
  if (!active) return;
  // Block the signals that touch the terminal while it is handed back.
  sigset_t all, previous;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &previous);
  RestoreTerminal();
  active = 0;
  for (int sig : kHandledSignals) sigaction(sig, &previousActions[sig], nullptr);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (savedStderr >= 0) {
    close(savedStderr);
    savedStderr = -1;
  }
  if (nullFd >= 0) {
    close(nullFd);
    nullFd = -1;
  }
}

void StartKeyEvents(KeyEvents form) {
  const bool kitty = form == KeyEvents::Kitty;
  keyEventsOn = kitty ? kKittyEventsOn : kWin32RecordsOn;
  keyEventsOff = kitty ? kKittyEventsOff : kWin32RecordsOff;
  WriteRaw(keyEventsOn, std::strlen(keyEventsOn));
}

void StopKeyEvents() {
  WriteRaw(keyEventsOff, std::strlen(keyEventsOff));
  keyEventsOn = keyEventsOff = "";
}

int WakeFd() { return wakePipe[0]; }

void ClearWake() {
  char drain[64];
  while (wakePipe[0] >= 0 && read(wakePipe[0], drain, sizeof drain) > 0) {
  }
}

Changes TakeChanges() {
  Changes changes{resized != 0, resumed != 0};
  resized = 0;
  resumed = 0;
  return changes;
}

Size CurrentSize() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return {};
  return {size.ws_col, size.ws_row};
}

void WriteAll(const char* data, unsigned long size) { WriteRaw(data, size); }

}  // namespace terminal_session
