#include "MatchingFiles.h"

#include <windows.h>

#include "DeferredDeletion.h"
#include "LookOnly.h"
#include "TextUtil.h"
#include "UniqueHandle.h"
#include "WorkBudget.h"

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

// A listed file the match keeps: in a what-if run, said why.
bool KeptByMatch(const FileMatch& match, const char* path)
{
    if (!match.Keeps(path))
        return false;
    if (WhatIfRecord* look = LookOnlyRecord()) {
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            look->Stays("an installed driver loads it", path);
    }
    return true;
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

ListedFilesWalk::ListedFilesWalk(const COSInfo& os, const FileMatch& match) : os(os), match(match), scheduled(0) {}

void ListedFilesWalk::AddTree(const char* directory, int depth, int removeDirectories, bool removeRoot)
{
    // An empty directory would make the pattern "\*.*": the root of the drive.
    if (IsEmptyText(directory) || !match.HasNames())
        return;
    if (removeRoot)
        tasks.push_back(Task{REMOVE_DIRECTORY, directory, 0, 0});
    tasks.push_back(Task{WALK_DIRECTORY, directory, depth, removeDirectories});
}

void ListedFilesWalk::AddFile(const char* directory, const char* name)
{
    char path[kTextField] = {};
    if (!IsEmptyText(directory) && match.Lists(name) && JoinPath(path, directory, name))
        tasks.push_back(Task{DELETE_FILE, path, 0, 0});
}

bool ListedFilesWalk::Step()
{
    if (tasks.empty())
        return false;
    const Task task = tasks.back();
    tasks.pop_back();
    switch (task.kind) {
    case WALK_DIRECTORY: Walk(task); break;
    case REMOVE_DIRECTORY: RemoveEmptyDirectory(task.path.c_str()); break;
    case DELETE_FILE:
        if (!KeptByMatch(match, task.path.c_str()) && !DeleteFileOrSchedule(os, task.path.c_str()))
            scheduled = 1;
        break;
    }
    return true;
}

bool ListedFilesWalk::RunFor(unsigned long milliseconds)
{
    const WorkBudget budget(milliseconds);
    while (Step() && !budget.Spent()) {
    }
    return Done();
}

void ListedFilesWalk::Walk(const Task& task)
{
    char pattern[kTextField] = {};
    if (!JoinPath(pattern, task.path.c_str(), "*.*"))
        return;
    WIN32_FIND_DATAA found;
    ++g_directoryReads;
    const FindHandle search(FindFirstFileA(pattern, &found));
    if (!search.Valid())
        return;
    do {
        char path[kTextField] = {};
        const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!isDirectory && match.Lists(found.cFileName)) {
            if (JoinPath(path, task.path.c_str(), found.cFileName) && !KeptByMatch(match, path) &&
                !DeleteFileOrSchedule(os, path))
                scheduled = 1;
        } else if (isDirectory && found.cFileName[0] != '.' && task.depth > 0 &&
                   JoinPath(path, task.path.c_str(), found.cFileName)) {
            if (task.removeDirectories)
                tasks.push_back(Task{REMOVE_DIRECTORY, path, 0, 0});
            tasks.push_back(Task{WALK_DIRECTORY, path, task.depth - 1, task.removeDirectories});
        }
    } while (FindNextFileA(search.Get(), &found));
}

int DeleteListedFiles(const COSInfo& os, const char* directory, const FileMatch& match, int depth,
                      int removeDirectories)
{
    ListedFilesWalk walk(os, match);
    walk.AddTree(directory, depth, removeDirectories);
    while (walk.Step()) {
    }
    return walk.Scheduled();
}

int DeleteMatchingFiles(const COSInfo& os, const char* directory, const char* name, int depth,
                        int removeDirectories)
{
    FileMatch match;
    match.AddName(name);
    return DeleteListedFiles(os, directory, match, depth, removeDirectories);
}
