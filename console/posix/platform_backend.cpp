// The platform back end on POSIX systems: the terminal the game was started in.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/platform.hpp"
#include "console/posix/terminal_backend.hpp"

std::unique_ptr<ConsoleBackend> CreatePlatformBackend() {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fputs(
        "domrak: needs a terminal: run it in a terminal window, without redirecting its "
        "input or output\n",
        stderr);
    std::exit(2);
  }
  // A terminal that cannot move the cursor (Emacs' shell buffer, some IDE consoles).
  const char* term = std::getenv("TERM");
  if (term && std::strcmp(term, "dumb") == 0) {
    std::fputs(
        "domrak: needs a full terminal (TERM=dumb cannot place text on the screen): run it in "
        "a terminal window\n",
        stderr);
    std::exit(2);
  }
  return std::make_unique<TerminalBackend>();
}
