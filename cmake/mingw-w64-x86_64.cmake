# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads, which std::thread needs):
#   cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DZEVO_CORE_ONLY=ON
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The plain core's tests link the runtime in, so they run under Wine without the compiler's DLLs
# beside them. Programs built against the Qt DLLs share one C++ runtime with Qt instead: its DLLs go
# beside them (-DZEVO_SHARED_RUNTIME=ON).
if(NOT ZEVO_SHARED_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()
# Debian keeps wine64 out of the PATH, in /usr/lib/wine.
find_program(ZEVO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZEVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZEVO_WINE})
endif()
