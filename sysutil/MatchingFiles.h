// Deleting every file of the listed names in a directory tree.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "OSInfo.h"

// The names a walk deletes, without case, and the full paths it must leave
// although their names are listed (files other software still needs).
class FileMatch {
public:
    void AddName(const char* name);
    // A path without a backslash keeps that name in every directory.
    void KeepPath(const char* path);

    bool HasNames() const { return !names.empty(); }
    bool Lists(const char* name) const;
    bool Keeps(const char* path) const;
    // Listed and not kept.
    bool Deletes(const char* name, const char* path) const { return Lists(name) && !Keeps(path); }

private:
    std::set<std::string> names;
    std::set<std::string> keptPaths;
    std::set<std::string> keptNames;
};

// The deletions of DeleteListedFiles taken one directory at a time, so a
// caller can spread them over timer ticks. Each tree is read once whatever
// the number of names; the end state does not depend on how the steps are
// spread.
class ListedFilesWalk {
public:
    ListedFilesWalk(const COSInfo& os, const FileMatch& match);

    // Queues a tree with the rules of DeleteListedFiles; with removeRoot the
    // directory itself is removed once it has been walked and is empty.
    void AddTree(const char* directory, int depth, int removeDirectories, bool removeRoot = false);
    // Queues one path of a listed name: deleted unless the match keeps it.
    void AddFile(const char* directory, const char* name);

    // Carries out one queued task; false when none was left.
    bool Step();
    // Steps until done or until the milliseconds have passed; true when done.
    bool RunFor(unsigned long milliseconds);
    bool Done() const { return tasks.empty(); }
    // 1 once a deletion could only be scheduled for the restart.
    int Scheduled() const { return scheduled; }

private:
    enum TaskKind { WALK_DIRECTORY, REMOVE_DIRECTORY, DELETE_FILE };
    struct Task {
        TaskKind kind;
        std::string path;
        int depth;
        int removeDirectories;
    };
    void Walk(const Task& task);

    COSInfo os;
    FileMatch match;
    std::vector<Task> tasks;  // a stack: a directory's removal waits below its walk
    int scheduled;
};

// Deletes (or schedules, see DeleteFileOrSchedule) every file the match
// deletes in directory and in its subdirectories down to depth levels below
// it (0: the directory only; a negative depth counts as 0), reading each
// directory once. Subdirectories whose names begin with '.' are never
// entered. With removeDirectories, each subdirectory searched is removed
// when it has become empty. 1 when at least one match could only be
// scheduled, else 0; an empty directory or a match without names is refused
// with 0, and entries whose paths do not fit 259 characters are skipped.
int DeleteListedFiles(const COSInfo& os, const char* directory, const FileMatch& match, int depth,
                      int removeDirectories);

// DeleteListedFiles for one name.
int DeleteMatchingFiles(const COSInfo& os, const char* directory, const char* name, int depth,
                        int removeDirectories);

// Directory listings the matching walks have opened in this process; the
// benchmark compares walks by it.
unsigned long MatchingDirectoryReads();
