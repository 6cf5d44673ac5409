// The program's options: --help and --version answer and end the program before the game starts.
#pragma once

#include <optional>
#include <ostream>

// Answers the options in argv (argv[0] is the program itself). Returns the exit status when the
// program should end without playing: 0 after --help or --version, 2 after anything else. Returns
// nothing when there are no arguments and the game should start.
std::optional<int> AnswerCommandLine(int argc, const char* const argv[], std::ostream& out,
                                     std::ostream& err);
