# Installs the build tree into a throwaway DESTDIR and checks that a Linux desktop would find
# everything: the executable with its manuals in one folder, the launcher in the PATH pointing at
# it, the desktop entry with its AppStream description and the icons, the simulated unit, the
# manual pages, copyright and changelog, and the udev rule. Once under the prefix /usr (what the
# package holds) and once under /usr/local (a plain `cmake --install`), which must stay inside it.
#   cmake -DBUILD_DIR=... -DDEST=... -DGZIP=... -DVERSION=... -DWITH_SIM=ON|OFF -P check_install.cmake
cmake_policy(VERSION 3.25)

# prefix | where the udev rule lands, from the DESTDIR's root
set(cases
  "/usr|lib/udev/rules.d"
  "/usr/local|usr/local/lib/udev/rules.d")

# Manual pages and the changelog must be what `gzip -9n` writes: the gzip magic and deflate, no
# flags (so no stored file name), a zero time stamp, and the "maximum compression" mark. A page
# stored with its name and time would make two builds of the same source differ.
function(check_gzip_9n path)
  file(READ "${path}" head LIMIT 9 HEX)
  if(NOT head STREQUAL "1f8b08000000000002")
    message(FATAL_ERROR "${path} is not gzip -9n output (header ${head})")
  endif()
endfunction()

foreach(case ${cases})
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 prefix)
  list(GET fields 1 udev_dir)

  file(REMOVE_RECURSE "${DEST}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DEST} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install --prefix ${prefix} failed:\n${output}")
  endif()

  set(root "${DEST}${prefix}")
  set(man_pages share/man/man1/zevo.1.gz share/man/man1/zevo-cli.1.gz)
  set(programs lib/zevo/zevo bin/zevo-cli)
  if(WITH_SIM)
    list(APPEND man_pages share/man/man1/zevo-unit-sim.1.gz)
    list(APPEND programs bin/zevo-unit-sim)
  endif()
  set(missing)
  foreach(f ${programs} ${man_pages} lib/zevo/ZEVO_manual_en.pdf lib/zevo/ZEVO_manual_cz.pdf
      share/applications/org.example.zevo.desktop share/metainfo/org.example.zevo.metainfo.xml
      share/icons/hicolor/16x16/apps/zevo.png share/icons/hicolor/32x32/apps/zevo.png
      share/icons/hicolor/48x48/apps/zevo.png share/icons/hicolor/256x256/apps/zevo.png
      share/doc/zevo/copyright share/doc/zevo/changelog.gz)
    if(NOT EXISTS "${root}/${f}")
      list(APPEND missing ${f})
    endif()
  endforeach()
  if(NOT EXISTS "${DEST}/${udev_dir}/60-zevo-serial.rules")
    list(APPEND missing "${udev_dir}/60-zevo-serial.rules (from the DESTDIR's root)")
  endif()
  if(missing)
    message(FATAL_ERROR "prefix ${prefix}: not installed: ${missing}")
  endif()

  # Nothing but the udev rule of the package may land outside the prefix: a user's install into
  # /usr/local must not write to /lib or /etc.
  file(GLOB_RECURSE everything LIST_DIRECTORIES false RELATIVE "${DEST}" "${DEST}/*")
  foreach(f ${everything})
    string(FIND "/${f}" "${prefix}/" at)
    if(NOT at EQUAL 0 AND NOT f STREQUAL "${udev_dir}/60-zevo-serial.rules")
      message(FATAL_ERROR "prefix ${prefix}: /${f} is outside the prefix")
    endif()
  endforeach()

  foreach(f ${man_pages} share/doc/zevo/changelog.gz)
    check_gzip_9n("${root}/${f}")
  endforeach()
  # The pages name the release they were built for.
  foreach(f ${man_pages})
    execute_process(COMMAND ${GZIP} -dc "${root}/${f}" OUTPUT_VARIABLE page RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${f} does not decompress")
    endif()
    if(NOT page MATCHES "^\\.TH [^\n]* \"zevo ${VERSION}\" " OR page MATCHES "@[A-Z_]+@")
      string(REGEX MATCH "^[^\n]*" th "${page}")
      message(FATAL_ERROR "${f} does not name release ${VERSION} in its title line: ${th}")
    endif()
  endforeach()

  # The launcher must be relative, so it works wherever the package is unpacked.
  if(NOT IS_SYMLINK "${root}/bin/zevo")
    message(FATAL_ERROR "bin/zevo is not a symbolic link")
  endif()
  file(READ_SYMLINK "${root}/bin/zevo" target)
  if(NOT target STREQUAL "../lib/zevo/zevo")
    message(FATAL_ERROR "bin/zevo points at ${target}")
  endif()

  file(READ "${root}/share/applications/org.example.zevo.desktop" desktop)
  foreach(line "Exec=zevo" "Icon=zevo" "Type=Application" "Categories=Utility;Engineering;")
    string(FIND "${desktop}" "\n${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "org.example.zevo.desktop lacks the line ${line}")
    endif()
  endforeach()
  # Software centres pair the description with the entry through these two names.
  file(READ "${root}/share/metainfo/org.example.zevo.metainfo.xml" metainfo)
  foreach(element "<id>org.example.zevo</id>" "<launchable type=\"desktop-id\">org.example.zevo.desktop</launchable>")
    string(FIND "${metainfo}" "${element}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "org.example.zevo.metainfo.xml lacks ${element}")
    endif()
  endforeach()

  file(READ "${root}/share/icons/hicolor/256x256/apps/zevo.png" head LIMIT 24 HEX)
  # PNG signature, then the IHDR chunk whose width and height must be 256 (0x100).
  if(NOT head MATCHES "^89504e470d0a1a0a0000000d4948445200000100")
    message(FATAL_ERROR "the 256 px icon is not a 256 px wide PNG: ${head}")
  endif()
endforeach()
file(REMOVE_RECURSE "${DEST}")
