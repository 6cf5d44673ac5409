// The program's options: --help and --version answer and end the program before the game starts.
#pragma once

#include <optional>
#include <ostream>
#include <string>

// Answers the options in argv (argv[0] is the program itself). Returns the exit status when the
// program should end without playing: 0 after --help or --version, 2 after anything else (a
// --lang without a known language included). Returns nothing when the game should start;
// `language` then holds the language asked for with --lang, or is left as it was.
std::optional<int> AnswerCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err,
                                     std::string& language);
