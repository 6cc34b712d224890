// Deleting a file now or, when it cannot be deleted, at the next restart by
// the mechanism the running Windows version understands.
#pragma once
#include "OSInfo.h"

// In a what-if run (LookOnly.h) these only look and note what they would do.

// 1 when the file can be opened for reading (nobody else may be reading it
// without sharing), else 0.
int FileExists(const char* path);

// 1 when the file is gone now (deleted, or not there, or the path names a
// directory, which is left alone); 0 when its deletion
// was handed to the restart mechanism of the version kind: zwininit.ini on
// Win32s and NT 3.x, WININIT.INI on 95, 98 and Me, MoveFileExA elsewhere.
int DeleteFileOrSchedule(const COSInfo& os, const char* path);

// RemoveDirectoryA: the directory goes when it is empty. Non-zero when it
// went.
BOOL RemoveEmptyDirectory(const char* path);

// Adds "NUL=<path>" to the [RENAME] section of the Windows directory's
// WININIT.INI, the path in its short (8.3) form when the file system has
// one. A path whose line does not fit 259 characters is skipped.
void ScheduleDeleteInWininit(const char* path);

// Writes path=NUL into section RENAME of zwininit.ini beside the program,
// for zwininit.exe to carry out at the next start. 1 when written; 0 when
// zwininit.exe is not beside the program, the program's path is not
// available, or the path does not fit 259 characters or holds a '='
// (which would make the entry name another file).
int ScheduleDeleteInZwininit(const char* path);
