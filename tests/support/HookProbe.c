/* A package library stand-in: its rundll-form export records each call
   (command line and current directory) in %TEMP%\trelun_hook_calls_<process id>.txt,
   one file per process so tests running in parallel keep apart. */
#include <windows.h>

__declspec(dllexport) void CALLBACK UnregisterProbe(HWND window, HINSTANCE instance, LPSTR commandLine, int show)
{
    char path[MAX_PATH];
    char directory[MAX_PATH];
    char line[3 * MAX_PATH];
    DWORD written = 0;
    HANDLE file;
    (void)window;
    (void)instance;
    if (!GetTempPathA(MAX_PATH, directory) || lstrlenA(directory) > MAX_PATH - 48)
        return;
    wsprintfA(path, "%strelun_hook_calls_%lu.txt", directory, GetCurrentProcessId());
    directory[0] = '\0';
    GetCurrentDirectoryA(MAX_PATH, directory);
    wsprintfA(line, "%s|%s|%d\r\n", commandLine ? commandLine : "(null)", directory, show);
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
}

/* A library that writes into the command line it was given, then records
   like UnregisterProbe. */
__declspec(dllexport) void CALLBACK UnregisterScribble(HWND window, HINSTANCE instance, LPSTR commandLine, int show)
{
    if (commandLine && commandLine[0])
        lstrcpynA(commandLine, "Q:\\", 4);
    UnregisterProbe(window, instance, commandLine, show);
}
