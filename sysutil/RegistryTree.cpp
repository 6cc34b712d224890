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

namespace {

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
    int result = 1;
    DWORD index = 0;
    LONG status = ERROR_SUCCESS;
    do {
        char name[261] = {};
        status = RegEnumKeyA(key, index, name, sizeof(name));
        if (status == ERROR_SUCCESS) {
            // A deleted subkey frees its index for the next one.
            if (DeleteTree(root, (prefix + name).c_str(), keep))
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

}  // namespace

int DeleteRegistryTree(HKEY root, const char* subkey) { return DeleteTree(root, subkey, nullptr); }

int DeleteRegistryTreeExcept(HKEY root, const char* subkey, const std::vector<std::string>& keep)
{
    return DeleteTree(root, subkey, &keep);
}
