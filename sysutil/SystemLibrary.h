// Functions the program needs only on some Windows versions are looked up
// at run time, from the system directory's copy of their library, so that
// the program still starts where they are missing.
#pragma once
#include <windows.h>

// The library from the system directory (never from the current or the
// program's directory), loaded once and kept for the life of the process;
// nullptr when it is not there. The first failure is logged.
HMODULE SystemLibrary(const char* fileName);

// The function of that name in the first of the libraries that has it;
// nullptr (and a log line) when none does.
FARPROC SystemFunction(const char* const* fileNames, int count, const char* name);
FARPROC SystemFunction(const char* fileName, const char* name);

template <typename Fn>
bool BindSystemFunction(Fn& function, const char* const* fileNames, int count, const char* name)
{
    function = reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemFunction(fileNames, count, name)));
    return function != nullptr;
}

template <typename Fn> bool BindSystemFunction(Fn& function, const char* fileName, const char* name)
{
    return BindSystemFunction(function, &fileName, 1, name);
}
