#include "TempDir.h"

#include <windows.h>

#include "TestPaths.h"

namespace {

void MakeParents(const std::string& path)
{
    for (std::size_t i = 3; i < path.size(); ++i) {
        if (path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

}  // namespace

TempDir::TempDir()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH] = {};
        wsprintfA(name, "%strelun_t%lu_%u\\", temp, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            path = name;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

TempDir::~TempDir()
{
    if (!path.empty())
        RemoveTree(path);
}

bool TempDir::Write(const std::string& relative, const std::string& bytes) const
{
    MakeParents(Join(relative));
    return WriteWholeFile(Join(relative), bytes);
}

bool TempDir::MakeDirectory(const std::string& relative) const
{
    std::string full = Join(relative);
    if (full.back() != '\\')
        full += '\\';
    MakeParents(full);
    return DirectoryExists(full);
}

void RemoveTree(const std::string& directory)
{
    std::string base = directory;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = base + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(base.c_str());
}
