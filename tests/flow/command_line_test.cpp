// The program's options: which ones end the program, with what status and on which stream.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.hpp"

namespace {
// An empty expectation means nothing at all may be written.
bool StartsAs(const std::string& written, const std::string& expected) {
  return expected.empty() ? written.empty() : written.rfind(expected, 0) == 0;
}
}  // namespace

TEST(CommandLine, AnswersHelpVersionAndUnknownArgumentsAndOtherwisePlays) {
  struct Case {
    std::vector<const char*> args;  // after the program's name
    std::optional<int> status;
    std::string out;  // what standard output starts with
    std::string err;  // what standard error starts with
  } cases[] = {
      {{}, std::nullopt, "", ""},
      {{"--help"}, 0, "Usage: domrak [--help | --version]\n", ""},
      {{"-h"}, 0, "Usage: domrak [--help | --version]\n", ""},
      {{"--version"}, 0, "domrak " DOMRAK_VERSION "\n", ""},
      {{"--version", "--fast"}, 0, "domrak " DOMRAK_VERSION "\n", ""},  // answered before the rest
      {{"--fast", "--help"}, 2, "", "domrak: unknown option '--fast'"},
      {{"save.dat"}, 2, "", "domrak: unknown option 'save.dat'"},
      {{"--HELP"}, 2, "", "domrak: unknown option '--HELP'"},
      {{""}, 2, "", "domrak: unknown option ''"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv{"domrak"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::ostringstream out, err;
    const auto status = AnswerCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
    const std::string label = c.args.empty() ? "(none)" : c.args.front();
    EXPECT_EQ(status, c.status) << label;
    EXPECT_TRUE(StartsAs(out.str(), c.out)) << label << ": " << out.str();
    EXPECT_TRUE(StartsAs(err.str(), c.err)) << label << ": " << err.str();
  }
}
