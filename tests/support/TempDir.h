// A fresh directory under the temporary path, removed with its contents when
// the object goes away.
#pragma once
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a trailing backslash.
    const std::string& Path() const { return path; }
    std::string Join(const std::string& relative) const { return path + relative; }
    // Writes a file below the directory, creating its parent directories.
    bool Write(const std::string& relative, const std::string& bytes) const;
    bool MakeDirectory(const std::string& relative) const;

private:
    std::string path;
};

// Deletes a directory tree; files that are read-only lose the attribute first.
void RemoveTree(const std::string& directory);
