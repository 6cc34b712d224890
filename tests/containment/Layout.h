// Where things live in this prefix: the directories the file step searches,
// the shortcut folders, and the places the tests use for the package's own
// directories and for decoys. Every directory ends with a backslash.
#pragma once
#include <string>
#include <vector>

namespace containment {

struct SearchedDirectory {
    std::string path;
    int depth;  // directory levels below path that the file step reaches
};

struct Layout {
    std::string system;
    std::string windows;
    std::string color;
    std::string driver;       // printer drivers, local environment
    std::string driver40;     // printer drivers, "Windows 4.0"
    std::string processor;    // print processors, local environment
    std::string processor40;  // print processors, "Windows 4.0"
    std::string inf;
    std::string programs;
    std::string commonPrograms;
    std::vector<std::string> startupFolders;  // user, alternate, common, common alternate
    std::string oemRoot;    // the maker's installation directory lives below it
    std::string decoyRoot;  // a directory of nobody's package

    // Resolved from the system, independently of the code under test.
    static Layout Resolve();

    // Directories searched for a file name directly (depth 0) or as trees.
    std::vector<SearchedDirectory> SearchedDirectories() const;
};

// Case-insensitive (A-Z) comparison and lower-case form of a path.
std::string Lower(std::string text);
bool SameText(const std::string& a, const std::string& b);
std::string WithSlash(std::string path);
// Path of the directory holding path (with a trailing backslash).
std::string ParentOf(const std::string& path);
std::string FileNameOf(const std::string& path);
// Levels of directories between ancestor and the directory dir, or -1 when
// dir is not ancestor or below it. Both end with a backslash.
int LevelsBelow(const std::string& ancestor, const std::string& dir);

// Makes every missing directory of the path (which ends with a backslash).
void MakeDirectories(const std::string& path);

}  // namespace containment
