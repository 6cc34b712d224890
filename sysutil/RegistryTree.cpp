#include "RegistryTree.h"

#include <string>
#include <vector>

#include "TextUtil.h"

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

// The path without surrounding backslashes, for comparisons.
std::string Trimmed(const std::string& path)
{
    const std::size_t begin = path.find_first_not_of('\\');
    if (begin == std::string::npos)
        return std::string();
    return path.substr(begin, path.find_last_not_of('\\') - begin + 1);
}

bool IsKept(const std::string& path, const std::vector<std::string>* keep)
{
    if (!keep)
        return false;
    const std::string own = Trimmed(path);
    for (const std::string& kept : *keep) {
        if (TextEquals(Trimmed(kept).c_str(), own.c_str()))
            return true;
    }
    return false;
}

int DeleteTree(HKEY root, const char* subkey, const std::vector<std::string>* keep)
{
    if (NamesOnlyTheRoot(subkey) || IsKept(subkey, keep))
        return 0;
    HKEY key = nullptr;
    if (RegOpenKeyA(root, subkey, &key) != ERROR_SUCCESS || !key)
        return 0;

    std::string prefix = subkey;
    if (prefix.back() != '\\')
        prefix += '\\';
    bool subkeyStays = false;
    DWORD index = 0;
    LONG status = ERROR_SUCCESS;
    do {
        char name[261] = {};
        status = RegEnumKeyA(key, index, name, sizeof(name));
        if (status == ERROR_SUCCESS) {
            // A deleted subkey frees its index for the next one.
            if (DeleteTree(root, (prefix + name).c_str(), keep))
                --index;
            else
                subkeyStays = true;
        }
        ++index;
    } while (status == ERROR_SUCCESS);

    // Windows 95, 98 and Me delete a key with all its subkeys: a key is
    // deleted only once nothing is left below it, on every system.
    int result = 0;
    if (status != ERROR_NO_MORE_ITEMS)
        result = 0;
    else if (subkeyStays || HasSubkey(key))
        DeleteValues(key);
    else
        result = RegDeleteKeyA(root, subkey) == ERROR_SUCCESS ? 1 : 0;
    RegCloseKey(key);
    return result;
}

}  // namespace

int DeleteRegistryTree(HKEY root, const char* subkey) { return DeleteTree(root, subkey, nullptr); }

int DeleteRegistryTreeExcept(HKEY root, const char* subkey, const std::vector<std::string>& keep)
{
    return DeleteTree(root, subkey, &keep);
}

LONG DeleteRegistryKeyWithoutSubkeys(HKEY root, const char* subkey)
{
    if (NamesOnlyTheRoot(subkey))
        return ERROR_INVALID_PARAMETER;
    HKEY key = nullptr;
    LONG status = RegOpenKeyA(root, subkey, &key);
    if (status != ERROR_SUCCESS)
        return status;
    const bool hasSubkey = HasSubkey(key);
    RegCloseKey(key);
    return hasSubkey ? ERROR_ACCESS_DENIED : RegDeleteKeyA(root, subkey);
}
