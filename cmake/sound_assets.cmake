# Helpers shared by the scripts that build the sound set into the program.

# The files of the sound set in `dir`, sorted: effects (*.wav) and pieces (*.mid).
function(sound_assets dir out)
  file(GLOB assets RELATIVE "${dir}" "${dir}/*.wav" "${dir}/*.mid")
  list(SORT assets)
  set(${out} "${assets}" PARENT_SCOPE)
endfunction()

# The resource type a file of the sound set is known by: "WAVE" for effects, "MIDI" for pieces.
function(sound_asset_type asset out)
  if(asset MATCHES "\\.wav$")
    set(${out} "WAVE" PARENT_SCOPE)
  else()
    set(${out} "MIDI" PARENT_SCOPE)
  endif()
endfunction()
