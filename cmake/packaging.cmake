# `make package`: one Debian package with both programs, the device library, the desktop
# integration, the manual pages and the guide. Dependencies are read from the binaries by
# dpkg-shlibdeps, never listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME voxtane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Voxtane developers")
set(CPACK_PACKAGE_CONTACT "The Voxtane developers <voxtane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "patch editor for the CZ1000 phase-distortion synthesizer")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Voxtane keeps a bank of 16 tones of the CZ1000, reads and writes them as SysEx bank\n"
    "files, shows every parameter of a tone at once, fetches tones from the synthesizer and\n"
    "sends them back over MIDI, and plays them on a software voice. voxtane-syx does the\n"
    "same work on bank files from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The device library is the package's own, loaded from usr/lib/voxtane.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    "${CMAKE_BINARY_DIR}/src/${VOXTANE_DEVICES_INSTALL_DIR}")
include(CPack)
