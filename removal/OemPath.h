// The maker's OEM installation directories (HKLM "...\OEM01\OEMPaths"),
// which the removal searches three levels deep and starts the utility from.
// Pure code.
#pragma once
#include <string>

// The value as a directory with a trailing backslash, or false when it is
// not a directory of its own: not absolute (a drive letter and a backslash,
// or \\server\share\), a drive or share root or only one level below it, or
// with "." or ".." among its components.
bool UsableOemDirectory(const std::string& value, std::string& directory);
