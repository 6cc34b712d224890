// Stands in for the package's printer-virtualisation utility: the removal
// starts it with " /d" and waits until it has ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Sleep(300);
    return 0;
}
