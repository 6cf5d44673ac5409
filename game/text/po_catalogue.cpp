// Reading a gettext .po catalogue: each source text and its translation.
#include "game/text/po_catalogue.hpp"

namespace {

// The text of one quoted string of a .po line, its escapes undone.
std::string Unquote(std::string_view line) {
  const std::size_t open = line.find('"');
  const std::size_t close = line.rfind('"');
  std::string out;
  if (open == std::string_view::npos || close <= open) return out;
  for (std::size_t i = open + 1; i < close; ++i) {
    char c = line[i];
    if (c == '\\' && i + 1 < close) {
      c = line[++i];
      if (c == 'n')
        c = '\n';
      else if (c == 't')
        c = '\t';
    }
    out += c;
  }
  return out;
}

struct Entry {
  std::string id, str;
  bool fuzzy = false;
  std::string* open = nullptr;  // the field that continued strings add to
};

void Keep(Entry& e, std::map<std::string, std::string, std::less<>>& out) {
  if (!e.fuzzy && !e.id.empty() && !e.str.empty()) out[e.id] = e.str;
  e = Entry{};
}

}  // namespace

std::map<std::string, std::string, std::less<>> ReadPoCatalogue(std::string_view po) {
  std::map<std::string, std::string, std::less<>> out;
  Entry e;
  while (!po.empty()) {
    const std::size_t end = po.find('\n');
    std::string_view line = po.substr(0, end);
    po = end == std::string_view::npos ? std::string_view{} : po.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with("msgid ")) {
      if (e.open == &e.str) Keep(e, out);
      e.id = Unquote(line);
      e.open = &e.id;
    } else if (line.starts_with("msgstr ")) {
      e.str = Unquote(line);
      e.open = &e.str;
    } else if (line.starts_with("\"") && e.open) {
      *e.open += Unquote(line);
    } else if (line.starts_with("#,") && line.find("fuzzy") != std::string_view::npos) {
      if (e.open == &e.str) Keep(e, out);
      e.fuzzy = true;
    } else if (line.empty() && e.open == &e.str) {
      Keep(e, out);
    }
  }
  Keep(e, out);
  return out;
}
