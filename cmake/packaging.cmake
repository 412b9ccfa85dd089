# Installation and the Debian package.
#
# <prefix>/lib/zevo holds the executable with its two manuals, because F1 opens the manual from the
# executable's own directory; <prefix>/bin/zevo is a symbolic link to it (the executable's directory
# is found through the link). zevo-cli and the simulated unit (for the demo) go to <prefix>/bin.
# Beside them: the manual pages, the copyright and changelog Debian asks for, the desktop entry with
# the AppStream description of the tool, and the udev rule that keeps ModemManager off the adapters.

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

  # The desktop entry is named by the AppStream id, so software centres pair the two.
  install(FILES ${PROJECT_SOURCE_DIR}/docs/org.example.zevo.desktop DESTINATION share/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.example.zevo.metainfo.xml DESTINATION share/metainfo)
  foreach(size 16 32 48 256)
    install(FILES ${PROJECT_BINARY_DIR}/tools/icons/zevo_${size}.png
      DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME zevo.png)
  endforeach()

  # Manual pages and the changelog go in gzipped, as Debian keeps them: -9 for the size, -n so that
  # the source's name and time are not stored and every build gives the same bytes. The pages take
  # the release from the project version.
  find_program(ZEVO_GZIP gzip REQUIRED)
  set(zevo_doc_dir ${PROJECT_BINARY_DIR}/packaging)
  set(zevo_gzipped)
  foreach(page zevo zevo-cli zevo-unit-sim)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/man/${page}.1 ${zevo_doc_dir}/man/${page}.1 @ONLY)
    list(APPEND zevo_gzipped ${zevo_doc_dir}/man/${page}.1)
  endforeach()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${zevo_doc_dir}/changelog COPYONLY)
  list(APPEND zevo_gzipped ${zevo_doc_dir}/changelog)
  set(zevo_gzip_outputs)
  foreach(file ${zevo_gzipped})
    add_custom_command(OUTPUT ${file}.gz
      COMMAND ${ZEVO_GZIP} -9nkf ${file}
      DEPENDS ${file}
      VERBATIM)
    list(APPEND zevo_gzip_outputs ${file}.gz)
  endforeach()
  add_custom_target(zevo_package_docs ALL DEPENDS ${zevo_gzip_outputs})
  # Installing needs them as it needs the executable, so building the tool builds them.
  add_dependencies(zevo zevo_package_docs)
  install(FILES ${zevo_doc_dir}/man/zevo.1.gz ${zevo_doc_dir}/man/zevo-cli.1.gz
    DESTINATION share/man/man1)
  if(TARGET zevo-unit-sim)
    install(FILES ${zevo_doc_dir}/man/zevo-unit-sim.1.gz DESTINATION share/man/man1)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${zevo_doc_dir}/changelog.gz
    DESTINATION share/doc/zevo)

  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # Under the prefix /usr (the package) the rule goes to /lib/udev/rules.d, where Debian 12 keeps
    # the rules of its packages; under any other prefix to <prefix>/lib/udev/rules.d, which udev
    # reads as well (/usr/local/lib/udev/rules.d). file(INSTALL) puts DESTDIR in front by itself.
    install(CODE "
      if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr/?$\")
        set(udev_rules_dir /lib/udev/rules.d)
      else()
        set(udev_rules_dir \"\${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d\")
      endif()
      file(INSTALL \"${PROJECT_SOURCE_DIR}/packaging/60-zevo-serial.rules\" DESTINATION \"\${udev_rules_dir}\")
    ")
  endif()
endif()

set(CPACK_PACKAGE_NAME zevo)
set(CPACK_PACKAGE_VENDOR "ZEVO tool team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Debian's rules for the text: a synopsis under 80 characters that is a phrase (no article, no
# full stop), then lines of at most 80 characters; an empty line becomes a paragraph break.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set-up and live tuning tool for the ZEVO servo control unit")
set(CPACK_PACKAGE_DESCRIPTION
  "ZEVO is a desktop tool for the ZEVO unit, the small control unit on a
motorcycle that positions two servos from engine speed and throttle. Over a
serial line it shows live telemetry, reads, verifies and programs the unit's
parameter set, edits the two servo maps with undo and redo, and keeps
parameter sets in files. It speaks Czech, English and German.

The package also carries zevo-cli, which does the same link work from a
shell, and zevo-unit-sim, a simulated unit on a pseudo-terminal for trying
the tool without hardware.")
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
    "libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6serialport6, libqcustomplot2.1-qt6")
endif()
include(CPack)
