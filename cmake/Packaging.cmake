# The Debian package of Verdax (scripts/package): what `cmake --install` installs,
# under /usr, named and versioned by the project. dpkg-shlibdeps works out the
# libraries the programs link; Qt's platform plugins are loaded at run time, not
# linked, and are named here (libqt6gui6 only recommends them).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verdax)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Verdax developers <verdax@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "world editor for the missions of the game Dravo")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Verdax edits the missions of the 3D game Dravo installed under Wine: a tree of
the game's missions and their objects, the mission's world in a 3D view, and the
objects' names, places, turns, scales and scripts. It saves beside the game's
own files, which it never changes. verdax-tool reads, dumps, re-saves and
renders missions from the command line and writes a demo game.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
include(CPack)
