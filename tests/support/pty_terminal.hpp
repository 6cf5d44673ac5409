// A pseudo-terminal with libvterm behind it, playing the terminal window for a child process
// that leads its own session on it, as a game started by `xterm -e` or tmux does (RunAsJob
// makes it a shell's job instead). Tests and the terminal benchmarks drive the game through it.
#pragma once

#include <sys/types.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/vterm_screen.hpp"

class PtyTerminal {
 public:
  struct Window {
    int columns = 80;
    int rows = 25;
    bool resizable = true;  // honours the request to resize its text area (CSI 8 ; r ; c t)
    const char* term = "xterm-256color";
    // How the window answers the child's questions: as most terminals do (the marked form of
    // the position question, with ambiguous-width characters drawn narrow, and the device
    // attributes), or as kitty does, with key events and their releases when asked for.
    enum class Answers { Narrow, Kitty };
    Answers answers = Answers::Narrow;
    // Answers in place of the window's own where it gives one: a terminal of another kind.
    std::function<std::optional<std::string>(std::string_view sequence)> other_answers = nullptr;
  };
  // The screen shows a shell's line before the child starts; the child's return value is its
  // exit status.
  // Not copyable: it owns the child and the window (the screen is not copyable either).
  PtyTerminal(Window window, std::function<int()> child);
  ~PtyTerminal();

  // Shows the child's output, answering its questions, until `done` holds (true) or a few
  // seconds pass (false).
  bool pump_until(const std::function<bool()>& done);
  // Shows the child's output for `milliseconds`, answering its questions; the bytes it wrote.
  std::size_t pump_for(int milliseconds);
  // Whether the text at (column, row) of the window reads `expected`.
  bool shows(int column, int row, std::string_view expected) const {
    return screen_.text(column, row, static_cast<int>(expected.size())).starts_with(expected);
  }
  void type(std::string_view bytes) { [[maybe_unused]] auto n = write(master_, bytes.data(), bytes.size()); }
  // The player resizes the window.
  void resize(int columns, int rows);
  // The player closes the window: the child's terminal hangs up.
  void close() { ::close(std::exchange(master_, -1)); }
  // The window stops reading (a frozen emulator, a stalled link): from now on what the child
  // writes waits, once what the window would hold is full. Until it reads again.
  void stop_reading();
  void resume_reading() { reading_ = true; }
  // Keys typed now that reach the child only after the window has seen it switch key events
  // off, as over a link with delay.
  void keys_in_flight(std::string keys) { in_flight_ = std::move(keys); }
  // Waits a few seconds at most for the child to end; its wait status, or -1.
  int wait_exit();

  // The child, the leader of the window's session.
  pid_t pid() const { return pid_; }
  const VtermScreen& screen() const { return screen_; }
  int columns() const { return window_.columns; }
  int rows() const { return window_.rows; }
  // Everything the child has written, and the line settings of the terminal now.
  const std::string& output() const { return output_; }
  termios settings() const;
  // The sizes the child asked the window for, in order, as columns and rows.
  using Size = std::pair<int, int>;
  const std::vector<Size>& size_requests() const { return size_requests_; }
  // The kitty keyboard protocol's flags the child has switched on.
  int keyboard_flags() const { return keyboard_modes_.empty() ? 0 : keyboard_modes_.back(); }

  static constexpr const char* kShellLine = "$ domrak";
  static constexpr const char* kStopped = "[stopped]";

 private:
  // Shows what the child wrote within `timeout_ms` and answers its questions; false when
  // nothing came.
  bool read_some(int timeout_ms);
  // Acts on one control sequence (what follows CSI); the window's answer.
  std::string answer(std::string_view sequence);

  int master_ = -1;
  pid_t pid_ = -1;
  int status_ = -1;
  bool reading_ = true;
  std::string in_flight_;
  Window window_;                    // its size as it is now
  std::vector<int> keyboard_modes_;  // kitty's stack of flags, the newest last
  VtermScreen screen_;
  std::string output_;
  std::vector<Size> size_requests_;
};

// For the child: a shell with job control in miniature. Runs `command` with bash as the terminal's
// foreground job. Each time the job stops or ends it takes the terminal back (printing
// PtyTerminal::kStopped for a stop) and reads a line, where the player presses only Enter; after
// a stop it then resumes the job, as `fg` does. Its exit status is the count of the other bytes
// on those lines: what reached its prompt from elsewhere.
int RunAsJob(const char* command);

// The state letter of process `pid` ('T' stopped, 'Z' ended but not waited for), 0 once it is gone.
char ProcessState(pid_t pid);
