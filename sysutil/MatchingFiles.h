// Deleting every file of one name in a directory tree.
#pragma once
#include "OSInfo.h"

// Deletes (or schedules, see DeleteFileOrSchedule) every entry named name
// (without case) in directory and in its subdirectories down to depth
// levels below it (0: the directory only; a negative depth counts as 0).
// Subdirectories whose names begin with '.' are never entered. With
// removeDirectories, each subdirectory searched is removed when it has
// become empty. 1 when at least one match could only be scheduled, else 0;
// an empty directory or name is refused with 0, and entries whose paths do
// not fit 259 characters are skipped.
int DeleteMatchingFiles(const COSInfo& os, const char* directory, const char* name, int depth,
                        int removeDirectories);

// Directory listings the matching walks have opened in this process; the
// benchmark compares walks by it.
unsigned long MatchingDirectoryReads();
