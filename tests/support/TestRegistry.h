// Registry set-up and checks for tests; paths are below the given root.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

bool KeyExists(HKEY root, const std::string& path);
bool ValueExists(HKEY root, const std::string& path, const char* name);
bool MakeKey(HKEY root, const std::string& path);
// Creates the key when missing and sets a REG_SZ value.
bool SetText(HKEY root, const std::string& path, const char* name, const std::string& text);
// Removes a key with everything below it; no error when it is missing.
void RemoveKeyTree(HKEY root, const std::string& path);
DWORD SubkeyCount(HKEY root, const std::string& path);

// Keys a test makes, removed with everything below them when the guard is
// made and again when it ends, so that a test starts clean and leaves
// nothing behind even when it fails. The parent, when given, is removed at
// the end only if it was not there at the start and is empty by then.
class ScopedKeys {
public:
    ScopedKeys(HKEY root, std::initializer_list<std::string> paths, const std::string& parent = "");
    ~ScopedKeys();
    ScopedKeys(const ScopedKeys&) = delete;
    ScopedKeys& operator=(const ScopedKeys&) = delete;
    // Removes the keys now.
    void Clean() const;

private:
    HKEY root;
    std::vector<std::string> paths;
    std::string newParent;
};
