#include "DllSearch.h"

#include <windows.h>

namespace {

typedef BOOL(WINAPI* SetDllDirectoryFn)(LPCSTR);

bool removed = false;

// Looked up: Windows before XP SP1 does not have the function.
SetDllDirectoryFn SetDllDirectoryFunction()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<SetDllDirectoryFn>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")))
                  : nullptr;
}

}  // namespace

void RemoveCurrentDirectoryFromDllSearch()
{
    const SetDllDirectoryFn setDllDirectory = SetDllDirectoryFunction();
    removed = setDllDirectory && setDllDirectory("");
}

DefaultDllSearchForChild::DefaultDllSearchForChild()
{
    if (removed)
        SetDllDirectoryFunction()(nullptr);
}

DefaultDllSearchForChild::~DefaultDllSearchForChild()
{
    if (removed)
        SetDllDirectoryFunction()("");
}
