# Writes contract.js, what the page's scripts must agree on with the game's C++ (the cell
# word's bits, the effect block and its rate), taken from the C++ headers at build time.
# Usage: cmake -DOUTPUT=contract.js -P make_contract.cmake HEADER...
set(lines "// Generated from the game's C++ headers at build time: do not edit.\nconst CONTRACT = Object.freeze({\n")
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(index RANGE 4 ${last})
  file(STRINGS "${CMAKE_ARGV${index}}" constants REGEX "static constexpr [a-z:_0-9 ]+ k[A-Za-z]+ = [0-9xA-Fa-f]+;")
  foreach(constant IN LISTS constants)
    string(REGEX REPLACE ".* (k[A-Za-z]+) = ([0-9xA-Fa-f]+);.*" "  \\1: \\2,\n" entry "${constant}")
    string(APPEND lines "${entry}")
  endforeach()
endforeach()
string(APPEND lines "});\n")
file(WRITE "${OUTPUT}.new" "${lines}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
