// Stand-in for the package's printer-virtualisation utility: started with
// " /d" before the printers go, it does its work (here: waits a moment and
// leaves a note in the temporary directory) and ends.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    Sleep(1500);
    char note[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, note);
    if (length == 0 || length > MAX_PATH - 32)
        return 1;
    std::strcat(note, "pelliv-ran.txt");
    HANDLE file = CreateFileA(note, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const char* text = commandLine ? commandLine : "";
    WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
