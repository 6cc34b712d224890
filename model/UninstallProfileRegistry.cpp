#include "UninstallProfile.h"

bool UninstallProfile::AddRegistryEntry(HKEY root, const char* keyPath, const char* valueName, int flag)
{
    const char* rootName = nullptr;
    if (root == HKEY_LOCAL_MACHINE)
        rootName = "HKLM";
    else if (root == HKEY_CLASSES_ROOT)
        rootName = "HKCR";
    else if (root == HKEY_CURRENT_USER)
        rootName = "HKCU";
    else if (root == HKEY_USERS)
        rootName = "HKU";
    return rootName && AddRegistryLine(rootName, keyPath, valueName, flag != 0);
}
