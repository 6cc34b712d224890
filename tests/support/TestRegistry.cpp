#include "TestRegistry.h"

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ValueExists(HKEY root, const std::string& path, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

bool MakeKey(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool SetText(HKEY root, const std::string& path, const char* name, const std::string& text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

void RemoveKeyTree(HKEY root, const std::string& path)
{
    if (path.empty())
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[512];
    while (RegEnumKeyA(key, 0, name, sizeof(name)) == ERROR_SUCCESS) {
        const std::string child = path + "\\" + name;
        RemoveKeyTree(root, child);
        if (KeyExists(root, child))
            break;
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

DWORD SubkeyCount(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return count;
}

ScopedKeys::ScopedKeys(HKEY root, std::initializer_list<std::string> paths, const std::string& parent)
    : root(root), paths(paths), newParent(parent.empty() || KeyExists(root, parent) ? "" : parent)
{
    Clean();
}

ScopedKeys::~ScopedKeys()
{
    Clean();
    if (!newParent.empty() && SubkeyCount(root, newParent) == 0)
        RegDeleteKeyA(root, newParent.c_str());
}

void ScopedKeys::Clean() const
{
    for (const std::string& path : paths)
        RemoveKeyTree(root, path);
}
