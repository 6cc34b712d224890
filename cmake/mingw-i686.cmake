# Cross-build for 32-bit Windows with Debian's mingw-w64, -posix compilers:
# GoogleTest needs std::mutex, which the win32 thread model lacks. Only test
# programs come from this toolchain; what ships is built with the one in
# mingw-i686-win32.cmake.
set(TRELUN_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
