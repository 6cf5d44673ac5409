# Writes a resource script naming every file of ASSET_DIR as a resource of the program, called by
# its file name: "*.wav" files as type "WAVE", "*.mid" files as type "MIDI". Run as a script:
#   cmake -DASSET_DIR=... -DOUTPUT=... -P resource_script.cmake
include("${CMAKE_CURRENT_LIST_DIR}/sound_assets.cmake")
sound_assets("${ASSET_DIR}" assets)
set(content "// Generated from sound/assets by cmake/resource_script.cmake; do not edit.\n")
foreach(asset IN LISTS assets)
  sound_asset_type("${asset}" type)
  string(APPEND content "${asset} ${type} \"${ASSET_DIR}/${asset}\"\n")
endforeach()
file(WRITE "${OUTPUT}" "${content}")
