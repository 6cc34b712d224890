#include "RegistryTree.h"

#include <string>

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

// The key was opened; deletes it unless it is gone or cannot be opened again.
int DeleteEmptiedKey(HKEY root, const char* subkey)
{
    HKEY again = nullptr;
    if (RegOpenKeyA(root, subkey, &again) != ERROR_SUCCESS || !again)
        return 0;
    const int deleted = RegDeleteKeyA(root, subkey) == ERROR_SUCCESS ? 1 : 0;
    RegCloseKey(again);
    return deleted;
}

}  // namespace

int DeleteRegistryTree(HKEY root, const char* subkey)
{
    if (NamesOnlyTheRoot(subkey))
        return 0;
    HKEY key = nullptr;
    if (RegOpenKeyA(root, subkey, &key) != ERROR_SUCCESS || !key)
        return 0;

    std::string prefix = subkey;
    if (prefix.back() != '\\')
        prefix += '\\';
    int result = 1;
    DWORD index = 0;
    LONG status = ERROR_SUCCESS;
    do {
        char name[261] = {};
        status = RegEnumKeyA(key, index, name, sizeof(name));
        if (status == ERROR_SUCCESS) {
            // A deleted subkey frees its index for the next one.
            if (DeleteRegistryTree(root, (prefix + name).c_str()))
                --index;
        } else if (status == ERROR_NO_MORE_ITEMS) {
            result = DeleteEmptiedKey(root, subkey);
        } else {
            result = 0;
        }
        ++index;
    } while (status == ERROR_SUCCESS);
    RegCloseKey(key);
    return result;
}
