// The real game in a pseudo-terminal, as a player's window sees it: window sizes and resizing,
// every way the game ends or is stopped, and a terminal that cannot keep up.
#include "console/posix/terminal_session.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "tests/support/pty_terminal.hpp"

namespace {

using Size = PtyTerminal::Size;

// The real game, silent; when `british`, under a British locale with `option` (if any) given.
int RealGame(bool british = false, const char* option = nullptr) {
  if (british) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "DOMRAK_LANG"}) unsetenv(name);
    setenv("LANG", "en_GB.UTF-8", 1);
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  execl(DOMRAK_GAME, "domrak", option, nullptr);
  return 127;
}

// The exit code, or minus the signal that ended the child.
int Ending(int status) { return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status); }

// The margin round the screen is dark grey (palette index 8).
bool MarginAt(const PtyTerminal& t, int column, int row) { return t.screen().at(column, row).bg == 8; }

// The title's menu with the screen's top left corner after `left` columns and `top` rows.
bool ShowsTitle(const PtyTerminal& t, int left = 0, int top = 0, bool english = false) {
  return english ? t.shows(left + 37, top + 10, "Name Entry") : t.shows(left + 34, top + 10, "ネームエントリー");
}

// The too-small note for the window's size: its Japanese line at (column, row), the English
// one (four columns shorter, so two further right) centred two rows below.
bool ShowsTooSmallNote(const PtyTerminal& t, int column, int row) {
  const std::string now = std::to_string(t.columns()) + "x" + std::to_string(t.rows());
  return t.shows(column, row, "ウィンドウを 80x25 以上に広げてください（いまは " + now + "）") &&
         t.shows(column + 2, row + 2, "Please make this window at least 80x25 (now " + now + ").");
}

// The shell's screen, cursor and line settings are back.
void ExpectTerminalGivenBack(const PtyTerminal& t) {
  EXPECT_TRUE(t.shows(1, 1, PtyTerminal::kShellLine)) << "the shell's screen not back";
  // Real terminals keep the cursor hidden across the alternate screen (libvterm does not), so
  // showing it again must be the game's own last word on it.
  const std::string& out = t.output();
  const auto shown = out.rfind("\x1b[?25h");
  EXPECT_TRUE(shown != std::string::npos && shown > out.rfind("\x1b[?25l")) << "the cursor left hidden";
  EXPECT_EQ(t.settings().c_lflag & (ICANON | ECHO), tcflag_t(ICANON | ECHO)) << "typing not shown";
}

struct RunCase {
  const char* name;
  PtyTerminal::Window window;
  Size request;                  // what the game asks the window to grow to; none when 0x0
  int top;                       // rows above the screen then; when it does not fit, the too-small note's first row
  bool british = false;          // a British locale: the title in English, unless the option
  const char* option = nullptr;  // asks for Japanese
};

class Runs : public ::testing::TestWithParam<RunCase> {};

// The real game fits the window it is given and speaks the player's locale, and when Ctrl+C
// ends it the shell gets its screen, its line settings and its window size back.
TEST_P(Runs, FitTheWindowAndGiveTheTerminalBack) {
  const RunCase& c = GetParam();
  PtyTerminal t(c.window, [&] { return RealGame(c.british, c.option); });
  const bool fits = !c.request.first || c.window.resizable;
  ASSERT_TRUE(t.pump_until([&] {
    return fits ? ShowsTitle(t, 0, c.top, c.british && !c.option) && MarginAt(t, 80, 1) == (c.top > 0)
                : ShowsTooSmallNote(t, 13, c.top);
  }));
  EXPECT_EQ(t.size_requests(), c.request.first ? std::vector<Size>{c.request} : std::vector<Size>{});
  t.type("\x03");
  EXPECT_EQ(Ending(t.wait_exit()), -SIGINT);
  ExpectTerminalGivenBack(t);
  EXPECT_EQ(Size(t.columns(), t.rows()), Size(c.window.columns, c.window.rows)) << "the player's size back";
}

INSTANTIATE_TEST_SUITE_P(
    Terminal, Runs,
    ::testing::Values(
        RunCase{"Grows80x24", {80, 24, true}, Size{80, 25}, 0},
        RunCase{"Fixed80x24", {80, 24, false}, Size{80, 25}, 11},
        RunCase{"Grows79x30British", {79, 30, true}, Size{80, 30}, 2, true},
        RunCase{"Fixed79x30", {79, 30, false}, Size{80, 30}, 14},
        RunCase{"LinuxConsoleBritishAskingForJapanese", {80, 25, true, "linux"}, Size{}, 0, true, "--lang=ja"}),
    [](const auto& info) { return std::string(info.param.name); });

// Closing the window ends the game, even with hang-up ignored (as under nohup).
TEST(TerminalBackend, RealGameEndsWithItsWindow) {
  PtyTerminal t({}, [] {
    signal(SIGHUP, SIG_IGN);
    return RealGame();
  });
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t); }));
  t.close();
  EXPECT_NE(t.wait_exit(), -1) << "the game went on after its window closed";
}

// The real game centred in a large window, following it as it shrinks and grows, redrawn with
// no key needed. Started as the command of a terminal window, it leads its own session and
// nothing could resume it after Ctrl+Z: the system discards the stop, and the game takes the
// terminal back. A window that stops reading for a while (frozen, a stalled link) still gets the
// whole frame, and cannot keep Ctrl+C, sent as a kitty key event, from ending the game.
TEST(TerminalBackend, RealGameFollowsTheWindowAndTakesItBackAfterCtrlZ) {
  PtyTerminal t({120, 40, true, "xterm-kitty", PtyTerminal::Window::Answers::Kitty}, [] { return RealGame(); });
  // The margin all round, the row right above the screen too.
  ASSERT_TRUE(t.pump_until(
      [&] { return ShowsTitle(t, 20, 7) && MarginAt(t, 1, 1) && MarginAt(t, 21, 7) && MarginAt(t, 120, 40); }));
  t.resize(101, 31);  // an odd margin is rounded down on the left
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t, 10, 3) && MarginAt(t, 10, 4); }));
  t.resize(70, 20);
  ASSERT_TRUE(t.pump_until([&] { return ShowsTooSmallNote(t, 8, 9); }));
  t.resize(80, 25);
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t); }));
  t.type("\x1a");
  ASSERT_TRUE(t.pump_until([&] {
    const std::size_t left = t.output().find("\x1b[?1049l");
    return left != std::string::npos && t.output().rfind("\x1b[?1049h") > left && ShowsTitle(t);
  }));
  EXPECT_EQ(t.settings().c_lflag & (ICANON | ECHO), 0u) << "typing echoed over the game after Ctrl+Z";
  t.stop_reading();
  t.resize(100, 30);  // a redraw the window does not take at once
  t.pump_for(300);
  t.resume_reading();
  EXPECT_TRUE(t.pump_until([&] { return ShowsTitle(t, 10, 2); })) << "the frame after a stall left unfinished";
  t.stop_reading();
  t.resize(80, 25);  // a redraw the window does not take
  t.pump_for(300);
  t.type("\x1b[99;5u");
  EXPECT_EQ(Ending(t.wait_exit()), -SIGINT) << "a window not reading kept Ctrl+C from ending the game";
  EXPECT_EQ(t.settings().c_lflag & (ICANON | ECHO), tcflag_t(ICANON | ECHO)) << "typing not shown";
}

// A terminal that cannot place text (TERM=dumb) is refused as calmly as no terminal at all.
TEST(TerminalBackend, RealGameRefusesADumbTerminal) {
  PtyTerminal t({80, 25, true, "dumb"}, [] { return RealGame(); });
  EXPECT_EQ(Ending(t.wait_exit()), 2);
  EXPECT_NE(t.output().find("domrak: needs a full terminal"), std::string::npos) << t.output();
  EXPECT_EQ(t.output().find('\x1b'), std::string::npos) << "escape codes shown as text: " << t.output();
}

// The first child of process `pid`.
pid_t ChildOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
  pid_t child = 0;
  in >> child;
  return child;
}

// The game under a script that does not exec it, as a shell's job, on a terminal that reports
// key events (so Ctrl+Z and Ctrl+C reach the game as keys): Ctrl+Z gives the shell its prompt
// back, `bg` leaves it there (the job stops again) until the shell's `fg`, Ctrl+C ends the
// script, and the releases still on their way when the game switched key events off never
// reach the shell.
TEST(TerminalBackend, RealGameUnderAScriptStopsAndEndsWithItsJobOnAKittyTerminal) {
  PtyTerminal t({80, 25, true, "xterm-kitty", PtyTerminal::Window::Answers::Kitty}, [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return RunAsJob(DOMRAK_GAME "; echo done");
  });
  ASSERT_TRUE(t.pump_until([&] { return ShowsTitle(t); }));
  const pid_t game = ChildOf(ChildOf(t.pid()));
  t.keys_in_flight("\x1b[122;5:3u");  // Ctrl+Z's release
  t.type("\x1b[122;5u");
  ASSERT_TRUE(t.pump_until([&] {
    return t.output().find(PtyTerminal::kStopped) != std::string::npos && ProcessState(game) == 'T';
  })) << "Ctrl+Z left the shell without its prompt";
  const std::size_t stopped = t.output().size();
  kill(-getpgid(game), SIGCONT);  // `bg`
  t.pump_for(500);
  EXPECT_EQ(t.output().find("\x1b[?1049h", stopped), std::string::npos) << "bg: the game took the shell's screen";
  EXPECT_EQ(t.settings().c_lflag & ECHO, tcflag_t(ECHO)) << "bg: the shell's typing not shown";
  EXPECT_EQ(ProcessState(game), 'T') << "bg: the game runs in the background";
  t.type("\r");
  ASSERT_TRUE(t.pump_until(
      [&] { return t.output().rfind("\x1b[?1049h") > t.output().find(PtyTerminal::kStopped) && ShowsTitle(t); }));
  t.keys_in_flight("\x1b[99;5:3u");  // Ctrl+C's release
  t.type("\x1b[99;5u");
  ASSERT_TRUE(t.pump_until([&] { return ProcessState(game) == 0; }));
  t.type("\r");
  EXPECT_EQ(Ending(t.wait_exit()), 0) << "key releases typed at the shell's prompt";
  EXPECT_EQ(t.output().find("done\r\n"), std::string::npos) << "the script went on after Ctrl+C";
  EXPECT_EQ(t.keyboard_flags(), 0) << "kitty's key modes left pushed";
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
