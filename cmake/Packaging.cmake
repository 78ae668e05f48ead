# Where `cmake --install` puts the program and how CPack makes a Debian package of it:
#   bin/musicdisk                                       the program (app/CMakeLists.txt)
#   share/applications/musicdisk.desktop                its menu entry
#   share/icons/hicolor/256x256/apps/musicdisk.png      its icon
#   share/doc/musicdisk/                                the licences of the embedded fonts
# `cpack -G DEB` in a build folder writes musicdisk_<version>_<arch>.deb. Its dependencies
# are the shared libraries the program links, as dpkg-shlibdeps (package dpkg-dev) finds
# them; OpenGL, which libepoxy loads at run time, is only recommended: without it the
# program draws with its own software driver. So is zenity, the desktop's question box:
# without it the program shows its own.
include(GNUInstallDirs)

install(FILES "${PROJECT_SOURCE_DIR}/packaging/musicdisk.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_SOURCE_DIR}/assets/gfx/icon.png"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps"
        RENAME musicdisk.png)
install(FILES "${PROJECT_SOURCE_DIR}/assets/fonts/OFL-CherryBomb.txt"
              "${PROJECT_SOURCE_DIR}/assets/fonts/OFL-GNUTypewriter.txt"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

set(CPACK_PACKAGE_NAME musicdisk)
set(CPACK_PACKAGE_VENDOR "VOK")
# The Maintainer field of the package: whoever builds a package for others sets their own,
# `cmake --preset release -DMUSICDISK_PACKAGE_CONTACT="Name <address>"`.
set(MUSICDISK_PACKAGE_CONTACT "VOK Music Collection maintainers <musicdisk@localhost>"
    CACHE STRING "Maintainer of the Debian package (name and e-mail address)")
set(CPACK_PACKAGE_CONTACT "${MUSICDISK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "VOK Music Collection #1, a music disk")
set(CPACK_PACKAGE_DESCRIPTION
    "One program that carries five music tracks, its pictures and fonts inside itself and\n"
    "plays them behind an animated 800x600 screen, in a window or full screen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1, libgl1-mesa-dri, zenity")
include(CPack)
