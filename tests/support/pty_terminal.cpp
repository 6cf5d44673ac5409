// The pseudo-terminal harness: forkpty for the child, libvterm for the window, the window
// operation that resizes it, and the answers of each kind of terminal.
#include "tests/support/pty_terminal.hpp"

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
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

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

// What a shell does for its foreground job: a process group of its own that owns the terminal.
// The shell (this process) ends with the job's status, 128 + the signal when one ended it.
[[noreturn]] void RunAsShellJob(const std::function<int()>& child, int report) {
  const pid_t job = fork();
  if (job == 0) {
    setpgid(0, 0);
    signal(SIGTTOU, SIG_IGN);
    tcsetpgrp(STDIN_FILENO, getpid());
    signal(SIGTTOU, SIG_DFL);
    _exit(child());
  }
  [[maybe_unused]] const ssize_t n = write(report, &job, sizeof job);
  int status = 0;
  waitpid(job, &status, 0);
  _exit(WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status));
}

// One control sequence CSI [leader] parameters [intermediates] final.
struct Csi {
  char leader = 0;
  std::string parameters;
  std::string intermediates;
  char final = 0;
};

// The control sequences in `bytes`, in order (one cut off at the end is left out).
std::vector<Csi> ControlSequences(std::string_view bytes) {
  std::vector<Csi> found;
  for (std::size_t at = bytes.find("\x1b["); at != std::string_view::npos; at = bytes.find("\x1b[", at)) {
    at += 2;
    Csi csi;
    if (at < bytes.size() && std::string_view("?<>=").find(bytes[at]) != std::string_view::npos) csi.leader = bytes[at++];
    while (at < bytes.size() && (std::isdigit(static_cast<unsigned char>(bytes[at])) || bytes[at] == ';' || bytes[at] == ':')) csi.parameters += bytes[at++];
    while (at < bytes.size() && bytes[at] >= 0x20 && bytes[at] <= 0x2f) csi.intermediates += bytes[at++];
    if (at >= bytes.size()) break;
    csi.final = bytes[at];
    found.push_back(csi);
  }
  return found;
}

}  // namespace

PtyTerminal::PtyTerminal(Window window, std::function<int()> child)
    : resizable_(window.resizable), answers_(window.answers), columns_(window.columns),
      rows_(window.rows), screen_(window.rows, window.columns) {
  screen_.feed(kShellLine);
  screen_.kitty_keyboard = window.kitty;
  // The window grows or shrinks as asked, between the bytes before the request and those after.
  screen_.on_size_request = [this](int columns, int rows) {
    size_requests_.push_back({columns, rows});
    if (resizable_) resize(columns, rows);
  };
  winsize size = WindowSize(columns_, rows_);
  int report[2] = {-1, -1};
  if (window.shell_job && pipe(report) != 0) return;
  std::fflush(nullptr);
  pid_ = session_ = forkpty(&master_, nullptr, nullptr, &size);
  if (pid_ == 0) {
    setenv("TERM", window.term, 1);
    const rlimit noCore{0, 0};  // signals that dump core should not leave files behind
    setrlimit(RLIMIT_CORE, &noCore);
    if (window.shell_job) RunAsShellJob(child, report[1]);
    _exit(child());
  }
  if (!window.shell_job) return;
  ::close(report[1]);
  if (read(report[0], &pid_, sizeof pid_) != sizeof pid_) pid_ = -1;
  ::close(report[0]);
}

PtyTerminal::~PtyTerminal() {
  if (session_ > 0 && status_ == -1) {
    if (pid_ > 0) kill(pid_, SIGKILL);
    kill(session_, SIGKILL);
    waitpid(session_, nullptr, 0);
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

std::size_t PtyTerminal::pump_for(int milliseconds) {
  const std::size_t before = output_.size();
  const long long end = NowMs() + milliseconds;
  for (long long left = milliseconds; left > 0; left = end - NowMs()) read_some(static_cast<int>(left));
  return output_.size() - before;
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
  std::string answers = screen_.take_answers();
  if (answers_ != Window::Answers::Libvterm) answers = scripted_answers(std::string_view(buffer, static_cast<std::size_t>(n)));
  if (!answers.empty()) type(answers);
  return true;
}

std::string PtyTerminal::scripted_answers(std::string_view bytes) {
  using enum Window::Answers;
  std::string answers;
  for (const Csi& csi : ControlSequences(bytes)) {
    if (csi.final == 'n' && csi.parameters == "6" && answers_ != Attributes && answers_ != Silent) {
      // Only tmux-like terminals leave the extended form unanswered; they answer the plain one.
      const bool extended = csi.leader == '?';
      if (extended == (answers_ == Plain)) continue;
      answers += std::string("\x1b[") + (extended ? "?" : "") + (answers_ == Wide ? "1;3" : "1;2") +
                 (extended && answers_ == Xterm ? ";1R" : "R");
    } else if (csi.final == 'u' && answers_ == Kitty) {
      if (csi.leader == '>') keyboard_flags_ = std::atoi(csi.parameters.c_str());
      if (csi.leader == '<') keyboard_flags_ = 0;
      if (csi.leader == '?') answers += "\x1b[?" + std::to_string(keyboard_flags_) + "u";
    } else if (csi.leader == '?' && csi.parameters == "9001" && answers_ == Win32) {
      if (csi.final == 'p' && csi.intermediates == "$") answers += win32_input_ ? "\x1b[?9001;1$y" : "\x1b[?9001;2$y";
      if (csi.final == 'h' || csi.final == 'l') win32_input_ = csi.final == 'h';
    } else if (csi.final == 'c' && csi.leader == 0 && csi.parameters.empty() && answers_ != Silent) {
      answers += "\x1b[?62;22c";
    }
  }
  return answers;
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
    if (waitpid(session_, &status, WNOHANG) != session_) return false;
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

char ProcessState(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t end = stat.rfind(')');
  return end == std::string::npos || end + 2 >= stat.size() ? 0 : stat[end + 2];
}
