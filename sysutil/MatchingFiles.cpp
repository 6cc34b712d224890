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

std::string Folded(const char* text)
{
    std::string folded = text ? text : "";
    for (char& c : folded)
        c = FoldChar(c);
    return folded;
}

}  // namespace

void FileMatch::AddName(const char* name)
{
    if (!IsEmptyText(name))
        names.insert(Folded(name));
}

void FileMatch::KeepPath(const char* path)
{
    if (IsEmptyText(path))
        return;
    std::string folded = Folded(path);
    for (char& c : folded) {
        if (c == '/')
            c = '\\';
    }
    if (folded.find('\\') == std::string::npos)
        keptNames.insert(folded);
    else
        keptPaths.insert(folded);
}

bool FileMatch::Lists(const char* name) const { return names.count(Folded(name)) != 0; }

bool FileMatch::Keeps(const char* path) const
{
    if (keptPaths.empty() && keptNames.empty())
        return false;
    const std::string folded = Folded(path);
    const std::size_t slash = folded.find_last_of('\\');
    return keptPaths.count(folded) != 0 ||
           keptNames.count(slash == std::string::npos ? folded : folded.substr(slash + 1)) != 0;
}

unsigned long MatchingDirectoryReads() { return g_directoryReads; }

int DeleteListedFiles(const COSInfo& os, const char* directory, const FileMatch& match, int depth,
                      int removeDirectories)
{
    // An empty directory would make the pattern "\*.*": the root of the drive.
    if (IsEmptyText(directory) || !match.HasNames())
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
        const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!isDirectory && match.Lists(found.cFileName)) {
            if (JoinPath(path, directory, found.cFileName) && !match.Keeps(path) &&
                !DeleteFileOrSchedule(os, path))
                scheduled = 1;
        } else if (isDirectory && found.cFileName[0] != '.' && depth > 0 &&
                   JoinPath(path, directory, found.cFileName)) {
            scheduled |= DeleteListedFiles(os, path, match, depth - 1, removeDirectories);
            if (removeDirectories)
                RemoveDirectoryA(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return scheduled;
}

int DeleteMatchingFiles(const COSInfo& os, const char* directory, const char* name, int depth,
                        int removeDirectories)
{
    FileMatch match;
    match.AddName(name);
    return DeleteListedFiles(os, directory, match, depth, removeDirectories);
}
