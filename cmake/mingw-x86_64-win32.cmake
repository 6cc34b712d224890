# The 64-bit files shipped in the x64 folder: win32 thread model, as the
# 32-bit ones.
set(TRELUN_MINGW_THREADS win32)
set(TRELUN_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
