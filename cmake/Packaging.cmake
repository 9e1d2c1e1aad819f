# Installing the station on a desktop, and the Debian package made by CPack.
#
# The programs (tonobild, tonobild-cli, tonobild-recorder) and the test cards
# carry their own install rules beside their targets; this file adds what a
# desktop needs to offer the station in its menus, the manual page, and the
# package settings.
#
#   cmake --preset package && cmake --build --preset package
#   cd build/package && cpack -G DEB        # -> tonobild_<version>_<arch>.deb

set(tonobild_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)

# The menu entry and its icon.
install(FILES ${tonobild_packaging_dir}/tonobild.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${tonobild_packaging_dir}/tonobild.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page, compressed as Debian keeps them (gzip -n: no name or time
# inside, so that two builds give the same file).
find_program(TONOBILD_GZIP gzip)
if(TONOBILD_GZIP)
  set(tonobild_manpage ${CMAKE_BINARY_DIR}/packaging/tonobild-cli.1.gz)
  add_custom_command(OUTPUT ${tonobild_manpage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${CMAKE_COMMAND} -E copy ${tonobild_packaging_dir}/tonobild-cli.1 ${CMAKE_BINARY_DIR}/packaging/tonobild-cli.1
    COMMAND ${TONOBILD_GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/tonobild-cli.1
    DEPENDS ${tonobild_packaging_dir}/tonobild-cli.1
    COMMENT "Compressing the manual page of tonobild-cli")
  add_custom_target(tonobild_manpage ALL DEPENDS ${tonobild_manpage})
else()
  set(tonobild_manpage ${tonobild_packaging_dir}/tonobild-cli.1)
endif()
install(FILES ${tonobild_manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package.
set(CPACK_PACKAGE_NAME tonobild)
set(CPACK_PACKAGE_VENDOR "Tonobild 3 developers")
set(CPACK_PACKAGE_CONTACT "Tonobild 3 developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "slow-scan picture station for radio amateurs")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tonobild 3 sends pictures as sound and paints received sound back into"
    "pictures, line by line. The station window prepares a picture, stamps the"
    "operator's signature, encodes it for the transmitter and decodes what the"
    "receiver hears, with test cards to send. tonobild-cli does the same from"
    "the command line, and tonobild-recorder records and plays through the"
    "sound card.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_NAME tonobild)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tonobild 3 developers")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries (Qt, Hamlib and the C++ runtime) come from dpkg-shlibdeps; the
# plugins Qt loads at run time are not linked and so are named here: the
# window-system plugins. (The X11 and image-format plugins ship in libqt6gui6,
# the sound backends in libqt6multimedia6, both found through the libraries.)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
# rigctld and rigctl, to share one rig between programs and to try its PTT by hand.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pulseaudio | pipewire-pulse, libhamlib-utils")

# A source archive from "cpack --config CPackSourceConfig.cmake" leaves out the build trees.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/\\\\.cache/")

include(CPack)
