# Writes OUTPUT, a C++ source holding every catalogue in CATALOGUES (a list of <language>.po
# files) as bytes, so that the game carries its texts inside the program.
set(arrays "")
set(entries "")
set(index 0)
foreach(po IN LISTS CATALOGUES)
  get_filename_component(language "${po}" NAME_WE)
  file(READ "${po}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kCatalogue${index}[] = {${bytes}0x00};\n")
  string(APPEND entries "    {\"${language}\", reinterpret_cast<const char*>(kCatalogue${index}), sizeof kCatalogue${index} - 1},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Generated from the .po catalogues at build time; edit those instead.\n"
  "#include \"game/text/embedded_catalogues.hpp\"\n\nnamespace {\n${arrays}}  // namespace\n\n"
  "const std::vector<EmbeddedCatalogue>& EmbeddedCatalogues() {\n"
  "  static const std::vector<EmbeddedCatalogue> catalogues = {\n${entries}  };\n"
  "  return catalogues;\n}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
