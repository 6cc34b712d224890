// The program takes the current directory out of its DLL search order
// (SetDllDirectoryA("")). Programs it starts would inherit that setting, so
// around each start the default order is put back.
#pragma once
#include <windows.h>

void RemoveCurrentDirectoryFromDllSearch();

// While it lives, the default search order holds (when it had been changed).
class DefaultDllSearchForChild {
public:
    DefaultDllSearchForChild();
    ~DefaultDllSearchForChild();
    DefaultDllSearchForChild(const DefaultDllSearchForChild&) = delete;
    DefaultDllSearchForChild& operator=(const DefaultDllSearchForChild&) = delete;
};

// SetDllDirectoryA, looked up on first use (Windows before XP SP1 does not
// have it); nullptr where it is missing. Tests replace it.
typedef BOOL(WINAPI* SetDllDirectoryFn)(LPCSTR);
SetDllDirectoryFn& DllDirectorySetter();
