// Deleting a registry key with all its subkeys, through the shim's
// registry functions. In a what-if run (LookOnly.h) they only look and
// note what they would do.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Deletes root\subkey with everything below it. ERROR_SUCCESS when all of
// it went; otherwise the first Windows error met (ERROR_FILE_NOT_FOUND for
// a missing key). A subkey that cannot be deleted is skipped, so its
// parent stays. An empty or all-backslash subkey would name the root key
// itself and is refused with ERROR_INVALID_PARAMETER.
LONG DeleteRegistryTree(HKEY root, const char* subkey);

// As DeleteRegistryTree, but the keys named in keep (paths below the same
// root, compared without case) stay with everything below them, and so do
// their parents, which lose their values and their other subkeys; a key
// that stays so is not an error.
LONG DeleteRegistryTreeExcept(HKEY root, const char* subkey, const std::vector<std::string>& keep);

// RegDeleteKeyA of a key that has no subkeys, as NT does it on every system:
// a key with subkeys stays (ERROR_ACCESS_DENIED) where Windows 95, 98 and Me
// would delete them all. The Windows result code.
LONG DeleteRegistryKeyWithoutSubkeys(HKEY root, const char* subkey);

// Opens root\subkey for all access and deletes the value: the Windows result
// of whichever failed first.
LONG DeleteRegistryValue(HKEY root, const char* subkey, const char* value);
