// Entry point of trelun08.exe.
#include <windows.h>

#include "OSInfo.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)showCommand;
    COSInfo os;
    return os.GetPlatformKind() == PLATFORM_UNKNOWN ? 0 : 1;
}
