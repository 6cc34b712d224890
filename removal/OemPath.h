// The maker's OEM installation directories (HKLM "...\OEM01\OEMPaths"),
// which the removal searches three levels deep and starts the utility from.
// Pure code.
#pragma once
#include <string>
#include <vector>

// Windows' own directories, with trailing backslashes.
struct ProtectedDirectories {
    // Never searched, nor anything inside them or holding them: the system
    // directories and the spool directory.
    std::vector<std::string> sealed;
    // Never searched themselves; a maker's folder inside one is: the
    // Windows directory, Program Files, Common Files, the profile roots.
    std::vector<std::string> roots;
};

// The value as a directory with a trailing backslash, or false when it is
// not a directory of the maker's own: not absolute (a drive letter and a
// backslash, or \\server\share\), a drive or share root, with "." or ".."
// among its components, or one of Windows' own directories.
bool UsableOemDirectory(const std::string& value, const ProtectedDirectories& protectedDirectories,
                        std::string& directory);
