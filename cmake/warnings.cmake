# Every build warns fully. Warnings stop the build only where we chose it (ZEVO_WERROR=ON, set by
# scripts/test, scripts/run and CI): a packager or a user on another compiler or Qt version must
# still get a program when a new release of it learns a new warning.
option(ZEVO_WERROR "Treat compiler warnings as errors (our own and CI builds)" OFF)
if(MSVC)
  add_compile_options(/W4 /utf-8)
  if(ZEVO_WERROR)
    add_compile_options(/WX)
  endif()
else()
  add_compile_options(-Wall -Wextra -Wpedantic)
  if(ZEVO_WERROR)
    add_compile_options(-Werror)
  endif()
endif()

if(ZEVO_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "ZEVO_SANITIZE needs GCC or Clang")
  endif()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
