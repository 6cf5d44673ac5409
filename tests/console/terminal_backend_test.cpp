// The terminal back end in a pseudo-terminal, as a player's window sees it: window sizes and
// resizing, every way the game ends or is stopped, and a terminal that cannot keep up.
#include "console/posix/terminal_backend.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "console/text_width.hpp"
#include "tests/support/pty_terminal.hpp"

namespace {

using Size = PtyTerminal::Size;

constexpr int kEndedByInput = 3;
constexpr int kWhite = 15;  // palette index of the screen's background
constexpr int kMargin = 8;  // palette index of dark grey

ScreenGrid GameScreen() {
  ScreenGrid grid;
  grid.fill(0, 15);
  grid.write({1, 1}, "DOMRAK", 0, 15);
  grid.write({75, 25}, "闘技場", 4, 15);
  return grid;
}

// The game in miniature: a white screen marked in two corners; 'q' ends it, any other key asks
// `next` for the screen to show next; kEndedByInput once no more input can come.
int TypingGame(const std::function<ScreenGrid()>& next = GameScreen) {
  TerminalBackend backend;
  ScreenGrid screen = GameScreen();
  while (backend.running()) {
    backend.present(screen, {});
    backend.wait_for_input(backend.now_ms() + 1000);
    while (backend.key_waiting()) {
      if (backend.read_key() == 'q') return 0;
      screen = next();
    }
  }
  return kEndedByInput;
}

// The exit code, or minus the signal that ended the child.
int Ending(int status) { return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status); }

bool MarginAt(const PtyTerminal& t, int column, int row) { return t.screen().at(column, row).bg == kMargin; }

// The game's screen with its top left corner after `left` columns and `top` rows.
bool ShowsGame(const PtyTerminal& t, int left, int top) {
  return t.shows(left + 1, top + 1, "DOMRAK") && t.shows(left + 75, top + 25, "闘技場") &&
         t.screen().at(left + 1, top + 1).bg == kWhite;
}

// The row where `line` shows centred across the window, or 0.
int CentredRow(const PtyTerminal& t, const std::string& line) {
  const int room = t.columns() - text::ColumnWidth(line);
  for (int row = 1; row <= t.rows(); ++row)
    for (int left = room / 2; left <= (room + 1) / 2; ++left)
      if (t.shows(left + 1, row, line)) return row;
  return 0;
}

// The too-small note for the window's size: each language's line centred, both in the middle.
bool ShowsTooSmallNote(const PtyTerminal& t) {
  const std::string now = std::to_string(t.columns()) + "x" + std::to_string(t.rows());
  const int row = CentredRow(t, "ウィンドウを 80x25 以上に広げてください（いまは " + now + "）");
  const int english = CentredRow(t, "Please make this window at least 80x25 (now " + now + ").");
  return row && english == row + 2 && std::abs((row - 1) - (t.rows() - row - 2)) <= 1;
}

// The shell's screen, cursor and line settings are back.
void ExpectTerminalGivenBack(const PtyTerminal& t) {
  EXPECT_TRUE(t.shows(1, 1, PtyTerminal::kShellLine));
  // Real terminals keep the cursor hidden across the alternate screen (libvterm does not), so
  // showing it again must be the game's own last word on it.
  const std::string& out = t.output();
  const auto shown = out.rfind("\x1b[?25h");
  EXPECT_TRUE(shown != std::string::npos && shown > out.rfind("\x1b[?25l"));
  EXPECT_EQ(t.settings().c_lflag & (ICANON | ECHO), tcflag_t(ICANON | ECHO));
}

struct RunCase {
  const char* name;
  PtyTerminal::Window window;
  Size request;                 // what the game asks the window to grow to; none when 0x0
  int top;                      // rows above the screen then
  int signal;                   // sent to the game, which it ends unless ignored; 0 for none
};

class Runs : public ::testing::TestWithParam<RunCase> {};

TEST_P(Runs, FitTheWindowAndGiveTheTerminalBackHoweverTheyEnd) {
  const RunCase& c = GetParam();
  PtyTerminal t(c.window, [] { return TypingGame(); });
  if (!c.request.first || c.window.resizable) {  // the screen fits
    ASSERT_TRUE(t.pump_until([&] {
      return ShowsGame(t, 0, c.top) && MarginAt(t, 80, 1) == (c.top > 0);
    }));
  } else {
    ASSERT_TRUE(t.pump_until([&] { return ShowsTooSmallNote(t); }));
  }
  EXPECT_EQ(t.size_requests(), c.request.first ? std::vector<Size>{c.request} : std::vector<Size>{});
  const bool ends = c.signal && c.signal != SIGPIPE;
  if (c.signal) kill(t.pid(), c.signal);
  if (!ends) t.type("q");
  EXPECT_EQ(Ending(t.wait_exit()), ends ? -c.signal : 0);
  ExpectTerminalGivenBack(t);
  EXPECT_EQ(Size(t.columns(), t.rows()), Size(c.window.columns, c.window.rows)) << "the player's size back";
}

INSTANTIATE_TEST_SUITE_P(
    Terminal, Runs,
    ::testing::Values(RunCase{"Grows80x24", {80, 24, true}, Size{80, 25}, 0, 0},
                      RunCase{"Fixed80x24", {80, 24, false}, Size{80, 25}, 0, 0},
                      RunCase{"Grows79x30", {79, 30, true}, Size{80, 30}, 2, 0},
                      RunCase{"Fixed79x30", {79, 30, false}, Size{80, 30}, 0, 0},
                      RunCase{"LinuxConsole", {80, 25, true, "linux"}, Size{}, 0, 0},
                      RunCase{"BrokenPipeIgnored", {}, Size{}, 0, SIGPIPE},
                      RunCase{"Interrupt", {}, Size{}, 0, SIGINT},
                      RunCase{"HangUp", {}, Size{}, 0, SIGHUP}),
    [](const auto& info) { return std::string(info.param.name); });

int RealGame() {
  setenv("SDL_AUDIODRIVER", "dummy", 1);  // the real game, silent
  execl(DOMRAK_GAME, "domrak", nullptr);
  return 127;
}

// The title's menu with the screen's top left corner after `left` columns and `top` rows.
bool ShowsTitle(const PtyTerminal& t, int left = 0, int top = 0) { return t.shows(left + 34, top + 10, "ネームエントリー"); }

// The real game centred in a large window, following it as it shrinks and grows, redrawn with
// no key needed (a key typed meanwhile still counts: see Runs). Started as the command of a
// terminal window, it leads its own session and nothing could resume it after Ctrl+Z: the
// system discards the stop, and the game takes the terminal back. A window that then stops
// reading (frozen, a stalled link) cannot keep Ctrl+C, sent as a kitty key event, from ending it.
TEST(TerminalBackend, RealGameFollowsTheWindowAndTakesItBackAfterCtrlZ) {
  PtyTerminal t({120, 40, true, "xterm-kitty", true, PtyTerminal::Window::Answers::Kitty}, RealGame);
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t, 20, 7) && MarginAt(t, 1, 1) && MarginAt(t, 120, 40); }));
  t.resize(101, 31);  // an odd margin is rounded down on the left
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t, 10, 3) && MarginAt(t, 10, 4); }));
  t.resize(70, 20);
  ASSERT_TRUE(t.pump_until([&] { return ShowsTooSmallNote(t); }));
  t.resize(80, 25);
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t); }));
  t.type("\x1a");
  ASSERT_TRUE(t.pump_until([&] {
    const std::size_t left = t.output().find("\x1b[?1049l");
    return left != std::string::npos && t.output().rfind("\x1b[?1049h") > left && ShowsTitle(t);
  }));
  EXPECT_EQ(t.settings().c_lflag & (ICANON | ECHO), 0u);
  t.stop_reading();
  t.resize(100, 30);  // a redraw the window does not take
  t.pump_for(300);
  t.type("\x1b[99;5u");
  EXPECT_EQ(Ending(t.wait_exit()), -SIGINT) << "a window not reading kept Ctrl+C from ending the game";
  EXPECT_EQ(t.settings().c_lflag & (ICANON | ECHO), tcflag_t(ICANON | ECHO));
}

// A terminal that cannot place text (TERM=dumb) is refused as calmly as no terminal at all.
TEST(TerminalBackend, RealGameRefusesADumbTerminal) {
  PtyTerminal t({80, 25, true, "dumb"}, RealGame);
  EXPECT_EQ(Ending(t.wait_exit()), 2);
  EXPECT_NE(t.output().find("domrak: needs a full terminal"), std::string::npos) << t.output();
  EXPECT_EQ(t.output().find('\x1b'), std::string::npos) << "escape codes shown as text: " << t.output();
}

std::size_t Count(const std::string& text, std::string_view piece) {
  std::size_t n = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

std::string Proc(pid_t pid, const std::string& file) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The game under a script that does not exec it, as a shell's job, on a terminal that reports
// key events (so Ctrl+Z and Ctrl+C reach the game as keys): Ctrl+Z gives the shell its prompt
// back, `bg` leaves it there (the job stops again) until the shell's `fg`, Ctrl+C ends the script, and the releases still on their way when the game switched key
// events off never reach the shell. Every thread but the game's main one leaves the signals to
// it, so a resume takes the terminal back once.
TEST(TerminalBackend, RealGameUnderAScriptStopsAndEndsWithItsJobOnAKittyTerminal) {
  PtyTerminal t({80, 25, true, "xterm-kitty", true}, [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return RunAsJob(DOMRAK_GAME "; echo done");
  });
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t); }));
  const auto child = [](pid_t pid) { return std::stoi(Proc(pid, "task/" + std::to_string(pid) + "/children")); };
  const pid_t game = child(child(t.pid()));
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(game) + "/task")) {
    const std::string status = Proc(game, "task/" + task.path().filename().string() + "/status");
    if (task.path().filename() == std::to_string(game) || status.empty()) continue;  // main, or ended
    const auto held = std::stoull(status.substr(status.find("SigBlk:") + 8), nullptr, 16);
    for (const int sig : {SIGCONT, SIGTSTP, SIGWINCH, SIGINT, SIGTERM, SIGHUP})
      EXPECT_TRUE(held >> (sig - 1) & 1) << status.substr(0, status.find('\n')) << " would handle signal " << sig;
  }
  t.keys_in_flight("\x1b[122;5:3u");  // Ctrl+Z's release
  t.type("\x1b[122;5u");
  ASSERT_TRUE(t.pump_until([&] { return Count(t.output(), PtyTerminal::kStopped) == 1 && ProcessState(game) == 'T'; }))
      << "Ctrl+Z left the shell without its prompt";
  const std::size_t stopped = t.output().size();
  kill(-getpgid(game), SIGCONT);  // `bg`
  t.pump_for(500);
  EXPECT_EQ(t.output().find("\x1b[?1049h", stopped), std::string::npos) << "bg: the game took the shell's screen";
  EXPECT_EQ(t.settings().c_lflag & ECHO, tcflag_t(ECHO)) << "bg: the shell's typing not shown";
  EXPECT_EQ(ProcessState(game), 'T') << "bg: the game runs in the background";
  t.type("\r");
  ASSERT_TRUE(t.pump_until([&] { return t.output().rfind("\x1b[?1049h") > t.output().find(PtyTerminal::kStopped) && ShowsTitle(t); }));
  t.keys_in_flight("\x1b[99;5:3u");  // Ctrl+C's release
  t.type("\x1b[99;5u");
  ASSERT_TRUE(t.pump_until([&] { return ProcessState(game) == 0; }));
  t.type("\r");
  EXPECT_EQ(Ending(t.wait_exit()), 0) << "key releases typed at the shell's prompt";
  EXPECT_EQ(Count(t.output(), "done\r\n"), 0u) << "the script went on after Ctrl+C";
  EXPECT_EQ(Count(t.output(), "\x1b[>31u"), Count(t.output(), "\x1b[<u")) << "kitty's key modes left pushed";
}

volatile bool deeper = true;

// Each call holds a kilobyte of stack, until there is none left.
int Overflow(int depth) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  return deeper ? Overflow(depth + 1) + frame[0] : 0;
}

// A stack overflow's fault is handled on a stack of its own, which gives the terminal back.
TEST(TerminalSession, GivesTheTerminalBackAfterAStackOverflow) {
  PtyTerminal t({}, [] {
    dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);  // a sanitizer's report would scroll the shell away
    terminal_session::Enter();
    return Overflow(0);
  });
  EXPECT_NE(t.wait_exit(), -1) << "still running";
  ExpectTerminalGivenBack(t);
}

// The game then ends when the window closes, even with hang-up ignored.
TEST(TerminalBackend, FinishesAFrameTheTerminalCouldNotTakeAtOnceAndEndsWithTheWindow) {
  int drawing[2];
  ASSERT_EQ(pipe(drawing), 0);
  // A frame larger than the room a full terminal frees by itself: every cell in a new colour.
  ScreenGrid frame = GameScreen();
  for (int row = 2; row <= 24; ++row)
    for (int column = 1; column <= 80; ++column)
      frame.write({column, row}, std::string(1, static_cast<char>('a' + (row + column) % 26)), 1, column % 2 ? 7 : 14);
  PtyTerminal t({}, [&] {
    signal(SIGHUP, SIG_IGN);
    return TypingGame([&] {
      [[maybe_unused]] const ssize_t n = write(drawing[1], "d", 1);
      return frame;
    });
  });
  ASSERT_TRUE(t.pump_until([&] { return ShowsGame(t, 0, 0); }));
  t.stop_reading();
  t.type("g");
  pollfd drawn{drawing[0], POLLIN, 0};
  ASSERT_EQ(poll(&drawn, 1, 10000), 1);
  usleep(100000);  // the game is then writing its frame to the full terminal
  t.resume_reading();
  EXPECT_TRUE(t.pump_until([&] { return t.screen().text(1, 24, 80) == frame.row_text(24); }));
  for (int row = 1; row <= 25; ++row) EXPECT_EQ(t.screen().text(1, row, 80), frame.row_text(row)) << row;
  t.close();
  EXPECT_EQ(Ending(t.wait_exit()), kEndedByInput);
  close(drawing[0]);
  close(drawing[1]);
}

TEST(TerminalSession, NoResizeIsLostWhileTheChangesAreTaken) {
  PtyTerminal t({}, [] {
    terminal_session::Enter();
    const pthread_t game = pthread_self();
    std::atomic<int> sent{0};
    int lost = 0;
    for (int round = 1; round <= 100; ++round) {  // about one in four is lost when taking is two steps
      bool seen = false;
      std::thread resizer([&] {
        pthread_kill(game, SIGWINCH);
        sent = round;
      });
      while (sent != round) seen |= terminal_session::TakeChanges().resized;
      resizer.join();
      pollfd wake{terminal_session::WakeFd(), POLLIN, 0};
      poll(&wake, 1, 1000);  // the handler has run
      terminal_session::ClearWake();
      lost += (seen || terminal_session::TakeChanges().resized) ? 0 : 1;
    }
    terminal_session::Leave();
    return lost;
  });
  EXPECT_EQ(t.wait_exit(), 0);
}

}  // namespace
