// The pseudo-terminal harness: forkpty for the child, libvterm for the window, and the window
// operation that resizes it.
#include "tests/console/pty_terminal.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>


namespace {

// Long enough for a sanitizer build on a machine whose cores are all busy; a passing test
// never waits it out.
constexpr int kPatienceMs = 60000;

long long NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

winsize WindowSize(int columns, int rows) {
  return {static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
}

}  // namespace

PtyTerminal::PtyTerminal(Window window, std::function<int()> child)
    : resizable_(window.resizable), columns_(window.columns), rows_(window.rows),
      screen_(window.rows, window.columns) {
  screen_.feed(kShellLine);
  screen_.kitty_keyboard = window.kitty;
  // The window grows or shrinks as asked, between the bytes before the request and those after.
  screen_.on_size_request = [this](int columns, int rows) {
    size_requests_.push_back({columns, rows});
    if (resizable_) resize(columns, rows);
  };
  winsize size = WindowSize(columns_, rows_);
  std::fflush(nullptr);
  pid_ = forkpty(&master_, nullptr, nullptr, &size);
  if (pid_ == 0) {
    setenv("TERM", window.term, 1);
    const rlimit noCore{0, 0};  // signals that dump core should not leave files behind
    setrlimit(RLIMIT_CORE, &noCore);
    _exit(child());
  }
}

PtyTerminal::~PtyTerminal() {
  if (pid_ > 0 && status_ == -1) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) ::close(master_);
}

bool PtyTerminal::pump_until(const std::function<bool()>& done) {
  const long long deadline = NowMs() + kPatienceMs;
  while (!done()) {
    const long long left = deadline - NowMs();
    if (left <= 0) return false;
    read_some(static_cast<int>(std::min(left, 10LL)));
  }
  return true;
}

bool PtyTerminal::read_some(int timeout_ms) {
  pollfd in{reading_ ? master_ : -1, POLLIN, 0};  // once the window is closed, only waits
  if (poll(&in, 1, timeout_ms) <= 0) return false;
  char buffer[65536];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;  // the child has ended and closed the far end
  output_.append(buffer, static_cast<std::size_t>(n));
  if (std::string_view(buffer, static_cast<std::size_t>(n)).find("\x1b[<u") != std::string_view::npos)
    type(std::exchange(in_flight_, {}));  // before the answers to what follows the switch
  screen_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
  const std::string answers = screen_.take_answers();
  if (!answers.empty()) type(answers);
  return true;
}

bool PtyTerminal::shows(int column, int row, std::string_view expected) const {
  return screen_.text(column, row, static_cast<int>(expected.size())).starts_with(expected);
}

void PtyTerminal::type(std::string_view bytes) {
  [[maybe_unused]] const ssize_t n = write(master_, bytes.data(), bytes.size());
}

void PtyTerminal::resize(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
  screen_.resize(columns, rows);
  const winsize size = WindowSize(columns, rows);
  ioctl(master_, TIOCSWINSZ, &size);  // the child gets SIGWINCH
}

void PtyTerminal::stop_reading() {
  reading_ = false;
  const int writer = open(ptsname(master_), O_WRONLY | O_NONBLOCK | O_NOCTTY);
  const char nothing[4096] = {};  // terminals ignore NUL
  pollfd room{writer, POLLOUT, 0};
  do {  // until it holds no more, also after the kernel has moved on what it held
    while (write(writer, nothing, sizeof nothing) > 0) {
    }
  } while (poll(&room, 1, 100) == 1);
  ::close(writer);
}

void PtyTerminal::close() {
  ::close(master_);
  master_ = -1;
}

int PtyTerminal::wait_exit() {
  pump_until([this] {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
    status_ = status;
    return true;
  });
  while (read_some(0)) {
  }  // what it wrote just before ending
  return status_;
}

termios PtyTerminal::settings() const {
  termios settings{};
  tcgetattr(master_, &settings);
  return settings;
}

int RunAsJob(const char* command) {
  signal(SIGTTOU, SIG_IGN);  // the shell takes the terminal back from its job
  const pid_t job = fork();
  if (job == 0) {
    setpgid(0, 0);
    tcsetpgrp(STDIN_FILENO, getpid());
    signal(SIGTTOU, SIG_DFL);
    execl("/bin/bash", "bash", "-c", command, nullptr);
    _exit(127);
  }
  setpgid(job, job);
  std::size_t stray = 0;
  for (int status = 0; waitpid(job, &status, WUNTRACED) == job;) {
    tcsetpgrp(STDIN_FILENO, getpgrp());
    if (WIFSTOPPED(status)) {
      [[maybe_unused]] const ssize_t n = write(STDOUT_FILENO, PtyTerminal::kStopped.data(), PtyTerminal::kStopped.size());
    }
    std::string line;  // the player presses only Enter: the rest of the line came from elsewhere
    for (char c = 0; read(STDIN_FILENO, &c, 1) == 1 && c != '\n';) line += c;
    stray += line.size();
    if (!WIFSTOPPED(status)) break;
    tcsetpgrp(STDIN_FILENO, job);
    kill(-job, SIGCONT);
  }
  return static_cast<int>(std::min<std::size_t>(stray, 255));
}
