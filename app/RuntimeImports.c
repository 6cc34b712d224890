/* GCC's thread and exception support makes its locks with CreateSemaphoreW,
   which Windows 95, 98 and Me do not implement. The import slot is defined
   here, so the linker takes it instead of kernel32's and the program asks
   for CreateSemaphoreA, which every Win32 system has. */
#if defined(__GNUC__) && !defined(__clang__)
#include <windows.h>

static HANDLE WINAPI CreateSemaphoreNarrow(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                           LONG maximumCount, LPCWSTR name)
{
    /* The runtime only makes unnamed semaphores. */
    if (name != NULL) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return NULL;
    }
    return CreateSemaphoreA(attributes, initialCount, maximumCount, NULL);
}

#if defined(_WIN64)
#define IMPORT_SLOT(name, argBytes) "__imp_" #name
#else
#define IMPORT_SLOT(name, argBytes) "__imp__" #name "@" #argBytes
#endif

HANDLE(WINAPI* const importCreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR)
    __asm__(IMPORT_SLOT(CreateSemaphoreW, 16)) = CreateSemaphoreNarrow;
#endif
