// The too-small note: two languages, wrapped between phrases and centred in the window.
#include "console/posix/too_small_notice.hpp"

#include <string_view>
#include <vector>

#include "console/screen_grid.hpp"
#include "console/text_width.hpp"

namespace {

using Lines = std::vector<std::string>;

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  return line;
}

// The longest start of `line` that takes at most `width` columns, whole characters only.
std::string Cut(std::string_view line, int width) {
  std::size_t pos = 0;
  int used = 0;
  while (pos < line.size()) {
    std::size_t next = pos;
    const int w = text::ColumnWidth(text::DecodeUtf8(line, next));
    if (used + w > width) break;
    used += w;
    pos = next;
  }
  return std::string(line.substr(0, pos));
}

// Puts the phrases on as few lines of at most `width` columns as they fit on.
void Wrap(const std::vector<std::string>& phrases, int width, Lines& lines) {
  std::string line;
  for (const std::string& phrase : phrases) {
    if (!line.empty() && text::ColumnWidth(Trimmed(line + phrase)) > width) {
      lines.push_back(Cut(Trimmed(line), width));
      line.clear();
    }
    line += phrase;
  }
  lines.push_back(Cut(Trimmed(line), width));
}

}  // namespace

void AppendTooSmallNotice(int columns, int rows, std::string& out) {
  const std::string needed = std::to_string(ScreenGrid::kColumns) + "x" + std::to_string(ScreenGrid::kRows);
  const std::string now = std::to_string(columns) + "x" + std::to_string(rows);
  Lines japanese, english;
  Wrap({"ウィンドウを ", needed + " 以上に", "広げてください", "（いまは " + now + "）"}, columns, japanese);
  Wrap({"Please make ", "this window ", "at least " + needed + " ", "(now " + now + ")."}, columns, english);
  // A blank line between the languages when there is room for it.
  Lines lines = japanese;
  if (static_cast<int>(japanese.size() + english.size()) < rows) lines.emplace_back();
  lines.insert(lines.end(), english.begin(), english.end());
  if (static_cast<int>(lines.size()) > rows) lines.resize(static_cast<std::size_t>(rows));

  out += "\x1b[0m\x1b[2J";
  const int top = (rows - static_cast<int>(lines.size())) / 2 + 1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int left = (columns - text::ColumnWidth(lines[i])) / 2 + 1;
    out += "\x1b[" + std::to_string(top + static_cast<int>(i)) + ";" + std::to_string(left) + "H";
    out += lines[i];
  }
}
