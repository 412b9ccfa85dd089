# Installation and the Debian package.
#
# <prefix>/lib/zevo holds the executable with its two manuals, because F1 opens the manual from the
# executable's own directory; <prefix>/bin/zevo is a symbolic link to it (the executable's directory
# is found through the link). zevo-cli and the simulated unit (for the demo) go to <prefix>/bin.

if(WIN32)
  # Windows keeps a program and its documents in one folder and has no icon theme.
  install(TARGETS zevo zevo-cli RUNTIME DESTINATION .)
  install(FILES ${ZEVO_EXE_DIR}/ZEVO_manual_en.pdf ${ZEVO_EXE_DIR}/ZEVO_manual_cz.pdf DESTINATION .)
else()
  set(ZEVO_INSTALL_APPDIR lib/zevo)
  install(TARGETS zevo RUNTIME DESTINATION ${ZEVO_INSTALL_APPDIR})
  install(FILES ${ZEVO_EXE_DIR}/ZEVO_manual_en.pdf ${ZEVO_EXE_DIR}/ZEVO_manual_cz.pdf
    DESTINATION ${ZEVO_INSTALL_APPDIR})
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/zevo\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    message(STATUS \"Installing: \${link} -> ../${ZEVO_INSTALL_APPDIR}/zevo\")
    file(CREATE_LINK ../${ZEVO_INSTALL_APPDIR}/zevo \"\${link}\" SYMBOLIC)
  ")
  # The command-line front end needs no manual beside it: it goes straight into the PATH.
  install(TARGETS zevo-cli RUNTIME DESTINATION bin)
  if(TARGET zevo-unit-sim)
    install(TARGETS zevo-unit-sim RUNTIME DESTINATION bin)
  endif()

  install(FILES ${PROJECT_SOURCE_DIR}/docs/zevo.desktop DESTINATION share/applications)
  foreach(size 16 32 48 256)
    install(FILES ${PROJECT_BINARY_DIR}/tools/icons/zevo_${size}.png
      DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME zevo.png)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME zevo)
set(CPACK_PACKAGE_VENDOR "ZEVO tool team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Set-up and live tuning tool for the ZEVO servo control unit")
set(CPACK_PACKAGE_DESCRIPTION
  "ZEVO is a desktop tool for the ZEVO unit, the small control unit on a motorcycle that positions
two servos from engine speed and throttle. Over a serial line it shows live telemetry, reads,
verifies and programs the unit's parameter set, edits the two servo maps with undo and redo,
and keeps parameter sets in files. Czech, English and German. The package also carries
zevo-unit-sim, a simulated unit on a pseudo-terminal for trying the tool without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZEVO tool team <zevo-tool@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# F1 opens the manual through the desktop (xdg-open).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
find_program(ZEVO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZEVO_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6serialport6")
endif()
include(CPack)
