# The 64-bit test programs (posix thread model, as the 32-bit ones). They
# run in a win64 Wine prefix of their own tree.
set(TRELUN_MINGW_THREADS posix)
set(TRELUN_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR env TRELUN_WINEARCH=win64 ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
