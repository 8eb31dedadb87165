# Installing the program and packaging it as a Debian package.
#
# The installed program folder is <prefix>/lib/velmora: the executable beside
# its read-only data, as in the build's program folder. <prefix>/bin/velmora
# links to it; the program finds its folder through the link. Everything the
# program writes then goes to the per-user data folder.
include(GNUInstallDirs)

set(VELMORA_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/velmora)
# Debian keeps private program folders under /usr/lib, not the multiarch one.
if(CMAKE_INSTALL_LIBDIR MATCHES "^lib/")
    set(VELMORA_INSTALL_DIR lib/velmora)
endif()

install(TARGETS velmora RUNTIME DESTINATION ${VELMORA_INSTALL_DIR})
# The modules loaded from the program folder when first needed (library/
# modules.h): the sound backend, the history's database, the progress charts.
foreach(_module velmora_sound velmora_historydb velmora_charts)
    if(TARGET ${_module})
        install(TARGETS ${_module} LIBRARY DESTINATION ${VELMORA_INSTALL_DIR})
    endif()
endforeach()
# The shipped data only: never a roster, player file, high score or lock that
# running the program in the build folder has written there.
install(DIRECTORY ${VELMORA_DIST_DIR}/ DESTINATION ${VELMORA_INSTALL_DIR}
    FILES_MATCHING
    PATTERN "*.dr" PATTERN "*.dt" PATTERN "*.bmp" PATTERN "*.wav"
    PATTERN "velmora-*.png" PATTERN "vm2.psn" PATTERN "s1.txt" PATTERN "s2.txt")
install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK ../${VELMORA_INSTALL_DIR}/velmora
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/velmora\" SYMBOLIC)")

# The desktop entry for the installed program: found on PATH, icon by theme.
set(VELMORA_DESKTOP_EXEC velmora)
set(VELMORA_DESKTOP_ICON velmora)
set(VELMORA_DESKTOP_PATH "")
configure_file(${PROJECT_SOURCE_DIR}/tools/assets/velmora.desktop.in
    ${CMAKE_BINARY_DIR}/install/velmora.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/velmora.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(_size 16 24 32 48 64 128 256)
    install(FILES ${VELMORA_DIST_DIR}/velmora-${_size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
        RENAME velmora.png)
endforeach()

# cpack -G DEB (scripts/package.sh): shared libraries found by
# dpkg-shlibdeps, plus what is loaded at run time and so invisible to it.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Go life-and-death problem trainer (Japanese interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora trains Go life-and-death problems (tsumego): a timed trial, a learn mode\n\
that answers with the stored replies, and a viewer for the correct and variation lines.\n\
The interface is in Japanese.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmora)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, libqt6sql6-sqlite, fonts-ipafont-gothic, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
