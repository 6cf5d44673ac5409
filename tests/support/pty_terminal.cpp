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
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Long enough for a sanitizer build on a machine whose cores are all busy; a passing test
// never waits it out.
constexpr std::chrono::milliseconds kPatience{60000};

// Milliseconds from now until `end`, 0 once it has passed.
int MsUntil(std::chrono::steady_clock::time_point end) {
  using namespace std::chrono;
  return static_cast<int>(std::max<long>(0, ceil<milliseconds>(end - steady_clock::now()).count()));
}

winsize WindowSize(int columns, int rows) {
  return {static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
}

}  // namespace

PtyTerminal::PtyTerminal(Window window, std::function<int()> child)
    : window_(std::move(window)), screen_(window_.rows, window_.columns) {
  screen_.feed(kShellLine);
  winsize size = WindowSize(window_.columns, window_.rows);
  std::fflush(nullptr);
  pid_ = forkpty(&master_, nullptr, nullptr, &size);
  if (pid_ == 0) {
    setenv("TERM", window_.term, 1);
    setenv("DOMRAK_LANG", "ja", 1);  // the game's own screens, whatever the developer's locale
    const rlimit noCore{0, 0};       // signals that dump core should not leave files behind
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
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  for (int left = MsUntil(deadline); !done(); left = MsUntil(deadline)) {
    if (left == 0) return false;
    read_some(std::min(left, 10));
  }
  return true;
}

std::size_t PtyTerminal::pump_for(int milliseconds) {
  const std::size_t before = output_.size();
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (int left = milliseconds; left > 0; left = MsUntil(end)) read_some(left);
  return output_.size() - before;
}

bool PtyTerminal::read_some(int timeout_ms) {
  pollfd in{reading_ ? master_ : -1, POLLIN, 0};  // once the window is closed, only waits
  if (poll(&in, 1, timeout_ms) <= 0) return false;
  char buffer[65536];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;  // the child has ended and closed the far end
  const std::string_view bytes(buffer, static_cast<std::size_t>(n));
  output_ += bytes;
  // Each control sequence takes effect after the bytes before it are shown, before those after.
  std::string answers;
  std::size_t shown = 0;
  for (std::size_t at = bytes.find("\x1b["); at != std::string_view::npos; at = bytes.find("\x1b[", at)) {
    const std::size_t end = bytes.find_first_not_of("0123456789;:?<>=$", at + 2);
    if (end == std::string_view::npos) break;  // cut off: passed over
    screen_.feed(bytes.substr(shown, end + 1 - shown));
    answers += answer(bytes.substr(at + 2, end - 1 - at));
    shown = at = end + 1;
  }
  screen_.feed(bytes.substr(shown));
  type(answers);
  return true;
}

std::string PtyTerminal::answer(std::string_view sequence) {
  if (window_.other_answers)
    if (std::optional<std::string> other = window_.other_answers(sequence)) return *other;
  if (sequence == "?6n") return "\x1b[?1;2R";  // the plain form is left to tmux-like terminals
  if (sequence == "c") return "\x1b[?62;22c";
  if (sequence == "<u") {
    type(std::exchange(in_flight_, {}));  // before the answers to what follows the switch
    if (!keyboard_modes_.empty()) keyboard_modes_.pop_back();
  }
  const bool kitty = window_.answers == Window::Answers::Kitty;
  if (kitty && sequence.starts_with('>') && sequence.ends_with('u')) keyboard_modes_.push_back(std::atoi(&sequence[1]));
  if (kitty && sequence == "?u") return "\x1b[?" + std::to_string(keyboard_flags()) + 'u';
  int rows = 0, columns = 0;
  if (std::sscanf(std::string(sequence).c_str(), "8;%d;%dt", &rows, &columns) == 2) {
    size_requests_.push_back({columns, rows});
    if (window_.resizable) resize(columns, rows);
  }
  return "";
}

void PtyTerminal::resize(int columns, int rows) {
  window_.columns = columns;
  window_.rows = rows;
  screen_.resize(columns, rows);
  const winsize size = WindowSize(columns, rows);
  ioctl(master_, TIOCSWINSZ, &size);  // the child gets SIGWINCH
}

void PtyTerminal::stop_reading() {
  reading_ = false;
  const int writer = open(ptsname(master_), O_WRONLY | O_NONBLOCK | O_NOCTTY);
  const char nothing[4096] = {};  // terminals ignore NUL
  pollfd room{writer, POLLOUT, 0};
  // Until it holds no more, also after the kernel has moved on what it held.
  while (write(writer, nothing, sizeof nothing) > 0 || poll(&room, 1, 100) == 1) continue;
  ::close(writer);
}

int PtyTerminal::wait_exit() {
  // waitpid leaves the status alone until the child has ended.
  pump_until([this] { return waitpid(pid_, &status_, WNOHANG) == pid_; });
  while (read_some(0)) continue;  // what it wrote just before ending
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
    if (WIFSTOPPED(status)) dprintf(STDOUT_FILENO, "%s", PtyTerminal::kStopped);
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
