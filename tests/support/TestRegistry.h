// Registry set-up and checks for tests; paths are below the given root.
#pragma once
#include <windows.h>

#include <string>

bool KeyExists(HKEY root, const std::string& path);
bool ValueExists(HKEY root, const std::string& path, const char* name);
bool MakeKey(HKEY root, const std::string& path);
// Creates the key when missing and sets a REG_SZ value.
bool SetText(HKEY root, const std::string& path, const char* name, const std::string& text);
// Removes a key with everything below it; no error when it is missing.
void RemoveKeyTree(HKEY root, const std::string& path);
DWORD SubkeyCount(HKEY root, const std::string& path);
