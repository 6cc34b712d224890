/* Every export of VSPOOL08.dll is a forwarder (see VSPOOL08.def); the DLL
   itself only needs an entry point. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
