# Installs the build tree into a throwaway DESTDIR and checks that a Linux desktop would find
# everything: the executable with its manuals in one folder, the launcher in the PATH pointing at
# it, the desktop entry and the icons, and the simulated unit.
#   cmake -DBUILD_DIR=... -DDEST=... -P check_install.cmake
file(REMOVE_RECURSE "${DEST}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DEST} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(root "${DEST}/usr")
set(missing)
foreach(f lib/zevo/zevo lib/zevo/ZEVO_manual_en.pdf lib/zevo/ZEVO_manual_cz.pdf bin/zevo-unit-sim bin/zevo-cli
    share/applications/zevo.desktop
    share/icons/hicolor/16x16/apps/zevo.png share/icons/hicolor/32x32/apps/zevo.png
    share/icons/hicolor/48x48/apps/zevo.png share/icons/hicolor/256x256/apps/zevo.png)
  if(NOT EXISTS "${root}/${f}")
    list(APPEND missing ${f})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()

# The launcher must be relative, so it works wherever the package is unpacked.
if(NOT IS_SYMLINK "${root}/bin/zevo")
  message(FATAL_ERROR "bin/zevo is not a symbolic link")
endif()
file(READ_SYMLINK "${root}/bin/zevo" target)
if(NOT target STREQUAL "../lib/zevo/zevo")
  message(FATAL_ERROR "bin/zevo points at ${target}")
endif()

file(READ "${root}/share/applications/zevo.desktop" desktop)
foreach(line "Exec=zevo" "Icon=zevo" "Type=Application" "Categories=Utility;Engineering;")
  string(FIND "${desktop}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "zevo.desktop lacks the line ${line}")
  endif()
endforeach()

file(READ "${root}/share/icons/hicolor/256x256/apps/zevo.png" head LIMIT 24 HEX)
# PNG signature, then the IHDR chunk whose width and height must be 256 (0x100).
if(NOT head MATCHES "^89504e470d0a1a0a0000000d4948445200000100")
  message(FATAL_ERROR "the 256 px icon is not a 256 px wide PNG: ${head}")
endif()
file(REMOVE_RECURSE "${DEST}")
