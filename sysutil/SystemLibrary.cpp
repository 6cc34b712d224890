#include "SystemLibrary.h"

#include <cstring>
#include <string>
#include <vector>

#include "EventLog.h"
#include "TextUtil.h"

namespace {

struct LoadedLibrary {
    std::string fileName;
    HMODULE module;
};

// Few libraries, looked up rarely: a list serves.
std::vector<LoadedLibrary>& Loaded()
{
    static std::vector<LoadedLibrary> loaded;
    return loaded;
}

HMODULE LoadFromSystemDirectory(const char* fileName)
{
    char path[kTextField] = {};
    const UINT length = GetSystemDirectoryA(path, sizeof(path));
    if (length == 0 || length >= sizeof(path) || !EnsureTrailingBackslash(path) || !AppendText(path, fileName))
        return nullptr;
    // No "cannot find" box on 9x when the library is missing.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path);
    const DWORD error = module ? ERROR_SUCCESS : GetLastError();
    SetErrorMode(previous);
    if (!module)
        LogEvent("LoadSystemLibrary", path, error);
    return module;
}

}  // namespace

HMODULE SystemLibrary(const char* fileName)
{
    if (IsEmptyText(fileName))
        return nullptr;
    for (const LoadedLibrary& library : Loaded()) {
        if (TextEquals(library.fileName.c_str(), fileName))
            return library.module;
    }
    HMODULE module = LoadFromSystemDirectory(fileName);
    Loaded().push_back(LoadedLibrary{fileName, module});
    return module;
}

FARPROC SystemFunction(const char* const* fileNames, int count, const char* name)
{
    for (int index = 0; index < count; ++index) {
        HMODULE module = SystemLibrary(fileNames[index]);
        FARPROC function = module ? GetProcAddress(module, name) : nullptr;
        if (function)
            return function;
    }
    LogEvent("SystemFunctionMissing", name, ERROR_PROC_NOT_FOUND);
    return nullptr;
}

FARPROC SystemFunction(const char* fileName, const char* name)
{
    return SystemFunction(&fileName, 1, name);
}
