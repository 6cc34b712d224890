# The shipped files: win32 thread model, so no winpthreads (which imports
# GetTickCount64 and the vectored exception functions) is linked in and the
# programs start on Windows 95 and NT 4.
set(TRELUN_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
