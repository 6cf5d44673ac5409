// Terminal ownership: termios, alternate screen, standard error and the signal handlers that
// restore them with async-signal-safe calls only.
#include "console/posix/terminal_session.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string_view>

namespace terminal_session {

namespace {

// Alternate screen, autowrap off (so drawing the last cell never scrolls), cursor hidden.
constexpr std::string_view kTakeScreen = "\x1b[?1049h\x1b[?7l\x1b[?25l";
// Default colours, cursor shown, autowrap on.
constexpr std::string_view kResetLook = "\x1b[0m\x1b[?25h\x1b[?7h";
// The Linux console may have no alternate screen: the game's last frame is cleared away first.
constexpr std::string_view kClearAway = "\x1b[2J\x1b[H";
constexpr std::string_view kLeaveScreen = "\x1b[?1049l";
// Key events with releases, switched on after taking the screen (kitty's flags go on the
// alternate screen's own stack) and off before leaving it: kitty's flags 31 report every key,
// Enter included, as an escape code with its event type and the text it types.
constexpr std::string_view kKittyEventsOn = "\x1b[>31u";
constexpr std::string_view kKittyEventsOff = "\x1b[<u";
constexpr std::string_view kWin32RecordsOn = "\x1b[?9001h";
constexpr std::string_view kWin32RecordsOff = "\x1b[?9001l";

// How long a handler giving the terminal back waits for a terminal that takes no output, and
// then for its answer to the device attributes question.
constexpr int kRestoreStallMs = 1000;
constexpr std::string_view kDeviceAttributesQuestion = "\x1b[c";

// Text put together before any signal can need it; the handlers only read it.
struct FixedText {
  char data[96];
  std::size_t size = 0;
  void append(std::string_view piece) {
    const std::size_t n = piece.size() < sizeof data - size ? piece.size() : sizeof data - size;
    if (n == 0) return;  // an empty piece may have no data at all
    std::memcpy(data + size, piece.data(), n);
    size += n;
  }
};

FixedText takeSequence;
FixedText leaveSequence;
FixedText sizeBackRequest;  // the player's own size, asked for on leaving
Size askedSize;             // the size the game asked for; 0 when it asked for none
bool linuxConsole = false;
std::string_view keyEventsOn;  // empty while keys come as plain presses
std::string_view keyEventsOff;
bool keysInFlightAtLeave = false;  // key events are on: the terminal may still be sending some

// Whether a signal's default action ends the game: not for those that stop, continue or are
// ignored by default, nor for SIGPIPE, ignored here.
bool EndsTheGame(int sig) {
  switch (sig) {
    case SIGCHLD:
    case SIGCONT:
    case SIGSTOP:
    case SIGTSTP:
    case SIGTTIN:
    case SIGTTOU:
    case SIGURG:
    case SIGWINCH:
    case SIGKILL:
    case SIGPIPE:
      return false;
    default:
      return true;
  }
}

// Faults end the process even where a handler (a crash reporter) sees them first.
bool IsFault(int sig) {
  switch (sig) {
    case SIGSEGV:
    case SIGBUS:
    case SIGFPE:
    case SIGILL:
    case SIGABRT:
    case SIGTRAP:
    case SIGSYS:
      return true;
    default:
      return false;
  }
}

// The action each signal had before the game, and whether the session replaced it.
struct sigaction previousActions[NSIG];
bool replaced[NSIG];

termios savedTermios;
termios gameTermios;
volatile sig_atomic_t active = 0;
volatile sig_atomic_t continued = 0;
int savedStderr = -1;
int nullFd = -1;
// The game writes through a description of the terminal of its own that does not block: a
// terminal that stops reading then holds a handler giving it back only for kRestoreStallMs, and
// the shell's description (shared with standard input) is left as it was.
int outputFd = STDOUT_FILENO;
int wakePipe[2] = {-1, -1};

constexpr int kResized = 1;
constexpr int kResumed = 2;
static_assert(std::atomic<int>::is_always_lock_free, "signal handlers set the changes");
std::atomic<int> pendingChanges{0};

// Writes everything, waiting up to `stall_ms` (-1: without limit) whenever the terminal
// cannot take more, and meanwhile handing arriving input to `on_input` (none in handlers) for
// as long as it asks for more. False when the terminal has gone or the wait ran out.
bool WriteRaw(const char* data, std::size_t size, int stall_ms, const std::function<bool()>* on_input = nullptr) {
  bool watchInput = on_input != nullptr;
  while (size > 0) {
    const ssize_t n = write(outputFd, data, size);
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return false;
    pollfd ready[2] = {{outputFd, POLLOUT, 0}, {watchInput ? STDIN_FILENO : -1, POLLIN, 0}};
    const int count = poll(ready, 2, stall_ms);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0 || (ready[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
    if (ready[1].revents != 0) watchInput = (*on_input)();
  }
  return true;
}

bool Write(std::string_view text) { return WriteRaw(text.data(), text.size(), kRestoreStallMs); }
bool Write(const FixedText& text) { return Write({text.data, text.size}); }

// Holds off every signal for its lifetime, so no handler sees the session half changed.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t all;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &previous_);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

// Builds what taking and giving back the terminal send, with no handler reading halfway.
void ComposeSequences() {
  const SignalsHeld held;
  takeSequence = {};
  takeSequence.append(kTakeScreen);
  takeSequence.append(keyEventsOn);
  leaveSequence = {};
  leaveSequence.append(keyEventsOff);
  leaveSequence.append(kResetLook);
  if (linuxConsole) leaveSequence.append(kClearAway);
  leaveSequence.append(kLeaveScreen);
  keysInFlightAtLeave = !keyEventsOff.empty();
}

void Wake() {
  if (wakePipe[1] >= 0) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(wakePipe[1], &byte, 1);
  }
}

void Note(int change) {
  pendingChanges.fetch_or(change);
  Wake();
}

long long MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Async-signal-safe. Key events the terminal sent before it saw them switched off may still be
// on their way (over a link with delay) and would land at the shell's prompt: the terminal's
// answer to the device attributes question comes after all of them, so everything up to it is
// read and dropped, and whatever is left waiting with it. Waits kRestoreStallMs at most.
void DiscardKeysInFlight() {
  if (!Write(kDeviceAttributesQuestion)) return;
  // How much of the answer, ESC [ ? numbers c, has come: nothing, ESC, ESC [, then the rest.
  int answer = 0;
  const long long deadline = MonotonicMs() + kRestoreStallMs;
  for (long long left = kRestoreStallMs; left > 0; left = deadline - MonotonicMs()) {
    pollfd in{STDIN_FILENO, POLLIN, 0};
    const int ready = poll(&in, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char bytes[256];
    const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      const char c = bytes[i];
      if (answer == 3 && c == 'c') {
        tcflush(STDIN_FILENO, TCIFLUSH);
        return;
      }
      if (c == '\x1b')
        answer = 1;
      else if ((answer == 1 && c == '[') || (answer == 2 && c == '?'))
        ++answer;
      else if (answer != 3 || !((c >= '0' && c <= '9') || c == ';'))
        answer = 0;
    }
  }
  tcflush(STDIN_FILENO, TCIFLUSH);
}

// Async-signal-safe: the terminal and standard error as they were before the game; for good
// also the window's size, unless the player has changed it since. The line settings do not
// wait for the output to drain: a terminal that is not reading must not hold them.
void RestoreTerminal(bool forGood) {
  const bool shown = Write(leaveSequence);
  if (forGood && askedSize.columns != 0) {
    const Size now = CurrentSize();
    if (now.columns == askedSize.columns && now.rows == askedSize.rows) Write(sizeBackRequest);
  }
  if (shown && keysInFlightAtLeave) DiscardKeysInFlight();
  tcsetattr(STDIN_FILENO, TCSANOW, &savedTermios);
  if (savedStderr >= 0) dup2(savedStderr, STDERR_FILENO);
}

// Async-signal-safe: the terminal as the game wants it.
void TakeTerminal() {
  tcsetattr(STDIN_FILENO, TCSANOW, &gameTermios);
  Write(takeSequence);
  if (savedStderr >= 0) dup2(nullFd, STDERR_FILENO);
}

void Install(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  // A shell that has already taken the terminal back from a stopped job must not stop the
  // handler halfway through giving it back.
  sigemptyset(&action.sa_mask);
  sigaddset(&action.sa_mask, SIGTTOU);
  sigaddset(&action.sa_mask, SIGTTIN);
  action.sa_flags = SA_RESTART | SA_ONSTACK;
  if (sigaction(sig, &action, nullptr) == 0) replaced[sig] = true;
}

void OnFatalSignal(int sig) {
  if (active) RestoreTerminal(true);
  active = 0;
  // The signal stays blocked until this handler returns; then the earlier action ends us
  // (a fault simply happens again on return).
  sigaction(sig, &previousActions[sig], nullptr);
  raise(sig);
}

void OnStop(int) {
  const int savedErrno = errno;
  if (active) RestoreTerminal(false);
  continued = 0;
  Install(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  // Stops here, with the whole job as the terminal's Ctrl+Z does (so a wrapper that does not exec
  // stops too and the shell gets its prompt back), once the terminal has been given back.
  // SIGCONT takes it back.
  kill(0, SIGTSTP);
  // A game that leads its own session has no shell to resume it, so the system discards the
  // stop: the game goes on and takes the terminal straight back.
  if (!continued) {
    if (active) TakeTerminal();
    Note(kResumed);
  }
  Install(SIGTSTP, OnStop);
  errno = savedErrno;
}

// Async-signal-safe: whether the game's job is the one the terminal belongs to now (also when
// that cannot be asked).
bool InForeground() {
  const pid_t foreground = tcgetpgrp(STDIN_FILENO);
  return foreground < 0 || foreground == getpgrp();
}

void OnContinue(int) {
  const int savedErrno = errno;
  continued = 1;
  if (active && !InForeground()) {
    // Resumed in the background (`bg`): the terminal stays the shell's. The job stops again, as
    // any program that needs the terminal does, until `fg` resumes it in the foreground.
    kill(0, SIGTTOU);
    errno = savedErrno;
    return;
  }
  if (active) TakeTerminal();
  Note(kResumed);
  errno = savedErrno;
}

void OnResize(int) {
  const int savedErrno = errno;
  Note(kResized);
  errno = savedErrno;
}

bool Ignored(int sig) { return previousActions[sig].sa_handler == SIG_IGN; }

void LeaveAtExit() { Leave(); }

// A stack overflow's fault can only be handled on a stack of its own. One set up already (by a
// sanitizer or a crash reporter) is used as it is.
void EnsureSignalStack() {
  alignas(16) static char stack[64 * 1024];
  stack_t current{};
  if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
  stack_t own{};
  own.ss_sp = stack;
  own.ss_size = sizeof stack;
  sigaltstack(&own, nullptr);
}

void OpenOwnOutput() {
  const char* name = ttyname(STDOUT_FILENO);
  const int fd = name ? open(name, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : -1;
  if (fd >= 0) outputFd = fd;
}

}  // namespace

void Enter() {
  if (active) return;
  const char* term = std::getenv("TERM");
  linuxConsole = term && std::strncmp(term, "linux", 5) == 0;
  ComposeSequences();
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
  OpenOwnOutput();
  EnsureSignalStack();
  if (isatty(STDERR_FILENO)) {
    nullFd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nullFd >= 0) savedStderr = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 10);
  }

  static bool exitHandlerRegistered = false;
  if (!exitHandlerRegistered) {
    std::atexit(LeaveAtExit);
    exitHandlerRegistered = true;
  }
  for (int sig = 1; sig < NSIG; ++sig) {
    replaced[sig] = false;
    if (sigaction(sig, nullptr, &previousActions[sig]) != 0 || Ignored(sig)) continue;
    // A signal some library already handles is left to it, unless it is a fault.
    const bool byDefault = previousActions[sig].sa_handler == SIG_DFL;
    if (EndsTheGame(sig) && (byDefault || IsFault(sig))) Install(sig, OnFatalSignal);
  }
  if (!Ignored(SIGPIPE)) Install(SIGPIPE, SIG_IGN);
  if (!Ignored(SIGTSTP)) Install(SIGTSTP, OnStop);
  Install(SIGCONT, OnContinue);
  Install(SIGWINCH, OnResize);

  active = 1;
  TakeTerminal();
}

void Leave() {
  if (!active) return;
  {
    const SignalsHeld held;  // no handler touches the terminal while it is handed back
    RestoreTerminal(true);
    active = 0;
    for (int sig = 1; sig < NSIG; ++sig)
      if (replaced[sig]) sigaction(sig, &previousActions[sig], nullptr);
    if (outputFd != STDOUT_FILENO) close(outputFd);
    outputFd = STDOUT_FILENO;
  }
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
  ComposeSequences();
  WriteAll(keyEventsOn.data(), keyEventsOn.size());
}

void StopKeyEvents() {
  WriteAll(keyEventsOff.data(), keyEventsOff.size());
  keyEventsOn = keyEventsOff = {};
  ComposeSequences();
}

Size CurrentSize() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return {};
  return {size.ws_col, size.ws_row};
}

void AskForSize(Size wanted) {
  const Size had = CurrentSize();
  char request[32];
  const int length = std::snprintf(request, sizeof request, "\x1b[8;%d;%dt", wanted.rows, wanted.columns);
  char back[32];
  const int backLength = std::snprintf(back, sizeof back, "\x1b[8;%d;%dt", had.rows, had.columns);
  {
    const SignalsHeld held;
    sizeBackRequest = {};
    sizeBackRequest.append({back, static_cast<std::size_t>(backLength)});
    askedSize = wanted;
  }
  WriteAll(request, static_cast<unsigned long>(length));
}

int WakeFd() { return wakePipe[0]; }

void ClearWake() {
  char drain[64];
  while (wakePipe[0] >= 0 && read(wakePipe[0], drain, sizeof drain) > 0) {
  }
}

Changes TakeChanges() {
  const int changes = pendingChanges.exchange(0);
  return {(changes & kResized) != 0, (changes & kResumed) != 0};
}

bool WriteAll(const char* data, unsigned long size, const std::function<bool()>& on_input) {
  return WriteRaw(data, size, -1, on_input ? &on_input : nullptr);
}

}  // namespace terminal_session
