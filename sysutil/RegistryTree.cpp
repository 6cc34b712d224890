#include "RegistryTree.h"

#include <string>
#include <vector>

#include "TextUtil.h"
#include "UniqueHandle.h"

namespace {

bool NamesOnlyTheRoot(const char* subkey)
{
    if (!subkey)
        return true;
    for (; *subkey; ++subkey) {
        if (*subkey != '\\')
            return false;
    }
    return true;
}

bool HasSubkey(HKEY key)
{
    char name[261] = {};
    return RegEnumKeyA(key, 0, name, sizeof(name)) != ERROR_NO_MORE_ITEMS;
}

// A key that still holds a kept one stays; what else it held goes.
void DeleteValues(HKEY key)
{
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[16384] = {};
        DWORD size = sizeof(name);
        const LONG status = RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    for (const std::string& name : names)
        RegDeleteValueA(key, name.c_str());
}

bool IsKept(const std::string& path, const std::vector<std::string>* keep)
{
    if (!keep)
        return false;
    const std::string own = TrimmedOf(path, "\\");
    for (const std::string& kept : *keep) {
        if (TextEquals(TrimmedOf(kept, "\\").c_str(), own.c_str()))
            return true;
    }
    return false;
}

void Note(LONG& firstError, LONG status)
{
    if (firstError == ERROR_SUCCESS)
        firstError = status;
}

// Deletes what may go at and below subkey; true once subkey is gone. The
// first Windows error met is kept in firstError; a key that stays for a
// kept one is not an error.
bool DeleteTree(HKEY root, const std::string& subkey, const std::vector<std::string>* keep, LONG& firstError)
{
    if (IsKept(subkey, keep))
        return false;
    RegistryKey key;
    LONG status = RegOpenKeyA(root, subkey.c_str(), key.Receive());
    if (status != ERROR_SUCCESS || !key.Valid()) {
        Note(firstError, status != ERROR_SUCCESS ? status : ERROR_INVALID_HANDLE);
        return false;
    }

    const std::string prefix = subkey.back() == '\\' ? subkey : subkey + '\\';
    bool subkeyStays = false;
    DWORD index = 0;
    do {
        char name[261] = {};
        status = RegEnumKeyA(key.Get(), index, name, sizeof(name));
        if (status == ERROR_SUCCESS) {
            // A deleted subkey frees its index for the next one.
            if (DeleteTree(root, prefix + name, keep, firstError))
                --index;
            else
                subkeyStays = true;
        }
        ++index;
    } while (status == ERROR_SUCCESS);

    // Windows 95, 98 and Me delete a key with all its subkeys: a key is
    // deleted only once nothing is left below it, on every system.
    bool deleted = false;
    if (status != ERROR_NO_MORE_ITEMS) {
        Note(firstError, status);
    } else if (subkeyStays || HasSubkey(key.Get())) {
        DeleteValues(key.Get());
    } else {
        status = RegDeleteKeyA(root, subkey.c_str());
        Note(firstError, status);
        deleted = status == ERROR_SUCCESS;
    }
    return deleted;
}

LONG DeleteTreeResult(HKEY root, const char* subkey, const std::vector<std::string>* keep)
{
    if (NamesOnlyTheRoot(subkey))
        return ERROR_INVALID_PARAMETER;
    LONG firstError = ERROR_SUCCESS;
    DeleteTree(root, subkey, keep, firstError);
    return firstError;
}

}  // namespace

LONG DeleteRegistryTree(HKEY root, const char* subkey) { return DeleteTreeResult(root, subkey, nullptr); }

LONG DeleteRegistryTreeExcept(HKEY root, const char* subkey, const std::vector<std::string>& keep)
{
    return DeleteTreeResult(root, subkey, &keep);
}

LONG DeleteRegistryKeyWithoutSubkeys(HKEY root, const char* subkey)
{
    if (NamesOnlyTheRoot(subkey))
        return ERROR_INVALID_PARAMETER;
    RegistryKey key;
    LONG status = RegOpenKeyA(root, subkey, key.Receive());
    if (status != ERROR_SUCCESS)
        return status;
    const bool hasSubkey = HasSubkey(key.Get());
    key.Reset();
    return hasSubkey ? ERROR_ACCESS_DENIED : RegDeleteKeyA(root, subkey);
}
