// Deleting a registry key with all its subkeys, through the shim's
// registry functions.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// 1 when root\subkey was deleted with everything below it, else 0. A
// subkey that cannot be deleted is skipped, so its parent stays and 0 is
// returned. An empty or all-backslash subkey would name the root key
// itself and is refused with 0.
int DeleteRegistryTree(HKEY root, const char* subkey);

// As DeleteRegistryTree, but the keys named in keep (paths below the same
// root, compared without case) stay with everything below them, and so do
// their parents, which lose their values and their other subkeys.
int DeleteRegistryTreeExcept(HKEY root, const char* subkey, const std::vector<std::string>& keep);

// RegDeleteKeyA of a key that has no subkeys, as NT does it on every system:
// a key with subkeys stays (ERROR_ACCESS_DENIED) where Windows 95, 98 and Me
// would delete them all. The Windows result code.
LONG DeleteRegistryKeyWithoutSubkeys(HKEY root, const char* subkey);
