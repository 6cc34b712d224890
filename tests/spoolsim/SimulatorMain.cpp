// The spooler simulator DLL: a test double of VSPOOL08.dll. Its spooler
// functions live in the *Exports.cpp files; its registry functions are
// forwarded to advapi32 by the definition file.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
