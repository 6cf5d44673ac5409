# The Debian package a player can download, made by CPack from the install rules.
set(CPACK_PACKAGE_NAME domrak)
set(CPACK_PACKAGE_VENDOR "DOMRAK developers")
set(CPACK_PACKAGE_CONTACT "DOMRAK developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text-mode arena battle game for an 80x25 terminal")
set(CPACK_PACKAGE_DESCRIPTION "Type a name: the name alone fixes your fighter's six abilities. \
Then fight six opponents in turn-based rounds, growing a little with every win.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the program links (C++ runtime, SDL2, FluidSynth) come from dpkg-shlibdeps; the
# music needs a General MIDI SoundFont besides.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf2-soundfont-gm | sf3-soundfont-gm")

include(CPack)
