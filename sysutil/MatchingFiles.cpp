#include "MatchingFiles.h"

#include <windows.h>

#include "DeferredDeletion.h"
#include "TextUtil.h"

namespace {

unsigned long g_directoryReads = 0;

bool JoinPath(char (&out)[kTextField], const char* directory, const char* name)
{
    return CopyText(out, directory) && EnsureTrailingBackslash(out) && AppendText(out, name);
}

}  // namespace

unsigned long MatchingDirectoryReads() { return g_directoryReads; }

int DeleteMatchingFiles(const COSInfo& os, const char* directory, const char* name, int depth,
                        int removeDirectories)
{
    // An empty directory would make the pattern "\*.*": the root of the drive.
    if (IsEmptyText(directory) || IsEmptyText(name))
        return 0;
    char pattern[kTextField] = {};
    if (!JoinPath(pattern, directory, "*.*"))
        return 0;
    WIN32_FIND_DATAA found;
    ++g_directoryReads;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;

    int scheduled = 0;
    do {
        char path[kTextField] = {};
        if (TextEquals(found.cFileName, name)) {
            if (JoinPath(path, directory, name) && !DeleteFileOrSchedule(os, path))
                scheduled = 1;
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.' &&
                   depth > 0 && JoinPath(path, directory, found.cFileName)) {
            scheduled |= DeleteMatchingFiles(os, path, name, depth - 1, removeDirectories);
            if (removeDirectories)
                RemoveDirectoryA(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return scheduled;
}
