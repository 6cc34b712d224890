#include "DllSearch.h"

#include "SystemLibrary.h"

namespace {

bool removed = false;

}  // namespace

SetDllDirectoryFn& DllDirectorySetter()
{
    static SetDllDirectoryFn setter = nullptr;
    static bool looked = false;
    if (!looked) {
        looked = true;
        BindSystemFunction(setter, "kernel32.dll", "SetDllDirectoryA");
    }
    return setter;
}

void RemoveCurrentDirectoryFromDllSearch()
{
    removed = DllDirectorySetter() && DllDirectorySetter()("");
}

DefaultDllSearchForChild::DefaultDllSearchForChild()
{
    if (removed)
        DllDirectorySetter()(nullptr);
}

DefaultDllSearchForChild::~DefaultDllSearchForChild()
{
    if (removed)
        DllDirectorySetter()("");
}
