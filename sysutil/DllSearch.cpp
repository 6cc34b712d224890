#include "DllSearch.h"

namespace {

SetDllDirectoryFn SystemSetDllDirectory()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<SetDllDirectoryFn>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")))
                  : nullptr;
}

bool removed = false;

}  // namespace

SetDllDirectoryFn setDllDirectory = SystemSetDllDirectory();

void RemoveCurrentDirectoryFromDllSearch()
{
    removed = setDllDirectory && setDllDirectory("");
}

DefaultDllSearchForChild::DefaultDllSearchForChild()
{
    if (removed)
        setDllDirectory(nullptr);
}

DefaultDllSearchForChild::~DefaultDllSearchForChild()
{
    if (removed)
        setDllDirectory("");
}
