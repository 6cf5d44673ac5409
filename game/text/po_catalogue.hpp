// Reading a gettext .po catalogue: each source text and its translation.
#pragma once

#include <map>
#include <string>
#include <string_view>

// The translated entries of a .po text, by source text. Entries marked fuzzy, entries with an
// empty translation and the header are left out, as gettext's own tools leave them out.
std::map<std::string, std::string, std::less<>> ReadPoCatalogue(std::string_view po);
