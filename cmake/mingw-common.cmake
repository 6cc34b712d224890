# Shared by the toolchains: TRELUN_MINGW_THREADS is posix or win32,
# TRELUN_MINGW_ARCH i686 (the default) or x86_64.
if(NOT TRELUN_MINGW_ARCH)
  set(TRELUN_MINGW_ARCH i686)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TRELUN_MINGW_ARCH})
set(triplet ${TRELUN_MINGW_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER   ${triplet}-gcc-${TRELUN_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${triplet}-g++-${TRELUN_MINGW_THREADS})
set(CMAKE_RC_COMPILER  ${triplet}-windres)
set(CMAKE_DLLTOOL      ${triplet}-dlltool)
set(CMAKE_OBJDUMP      ${triplet}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests run under Wine through a wrapper that prepares the build tree's prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
