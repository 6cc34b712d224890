/* Stands in for the maker's printer-virtualisation utility: writes its
   command line to "standin.log" beside itself, then keeps running until a
   file "release" appears there (at most 30 s), so a test decides how long
   the removal has to wait for it. */
#include <windows.h>

static void Append(const char* path, const char* text)
{
    DWORD written = 0;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, text, (DWORD)lstrlenA(text), &written, NULL);
    CloseHandle(file);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show)
{
    char directory[MAX_PATH];
    char log[MAX_PATH + 16];
    char release[MAX_PATH + 16];
    char* slash;
    int waited;
    (void)instance;
    (void)previous;
    (void)arguments;
    (void)show;
    if (!GetModuleFileNameA(NULL, directory, MAX_PATH))
        return 1;
    slash = directory;
    for (char* p = directory; *p; ++p) {
        if (*p == '\\')
            slash = p + 1;
    }
    *slash = '\0';
    wsprintfA(log, "%sstandin.log", directory);
    wsprintfA(release, "%srelease", directory);
    Append(log, "[");
    Append(log, GetCommandLineA());
    Append(log, "]\r\n");
    for (waited = 0; waited < 30000 && GetFileAttributesA(release) == INVALID_FILE_ATTRIBUTES; waited += 50)
        Sleep(50);
    Append(log, "done\r\n");
    return 0;
}
