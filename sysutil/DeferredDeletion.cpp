#include "DeferredDeletion.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "EventLog.h"
#include "LookOnly.h"
#include "SystemLibrary.h"
#include "TextUtil.h"
#include "Win32Result.h"
#include "WininitText.h"

namespace {

// WININIT.INI is small; anything far larger is not a file to rewrite.
const DWORD kLargestWininit = 1024 * 1024;

bool ReadOpenFile(HANDLE file, std::string& text)
{
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size > kLargestWininit)
        return false;
    text.assign(size, '\0');
    DWORD read = 0;
    return size == 0 || (ReadFile(file, &text[0], size, &read, nullptr) && read == size);
}

bool RewriteOpenFile(HANDLE file, const std::string& text)
{
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    DWORD written = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size() && SetEndOfFile(file);
}

// MoveFileExA is an NT function; looked up, so that its absence on 9x can
// never keep the program from starting.
DWORD ScheduleDeleteAtRestart(const char* path)
{
    typedef BOOL(WINAPI * MoveFileExFn)(LPCSTR, LPCSTR, DWORD);
    static MoveFileExFn moveFileEx = nullptr;
    if (!moveFileEx && !BindSystemFunction(moveFileEx, "kernel32.dll", "MoveFileExA"))
        return ERROR_CALL_NOT_IMPLEMENTED;
    return Win32Result(moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

// The program's directory with a trailing backslash, and a file name in it.
bool BesideProgram(const char* fileName, char (&out)[kTextField])
{
    char program[kTextField] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, kTextField);
    if (length == 0 || length >= kTextField)
        return false;
    char* slash = std::strrchr(program, '\\');
    if (!slash)
        return false;
    slash[1] = '\0';
    return CopyText(out, program) && AppendText(out, fileName);
}

// Whether a deletion would fail now: someone holds the file without sharing
// its deletion (NT), or holds it at all (9x, which has no such sharing).
bool FileInUse(const COSInfo& os, const char* path)
{
    const DWORD access = os.IsNT() ? (DELETE | GENERIC_WRITE) : (GENERIC_READ | GENERIC_WRITE);
    const DWORD share = os.IsNT() ? (FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) : 0;
    HANDLE file = CreateFileA(path, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(file);
    return false;
}

// DeleteFileOrSchedule's result without its deletion.
int LookAtFileDeletion(WhatIfRecord& record, const COSInfo& os, const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    const DWORD error = GetLastError();
    if (record.IsGone(GoneFile(path)) || (attributes == INVALID_FILE_ATTRIBUTES && error < 4)) {
        record.Note("DeleteFile", path, LookResult::kNotFound);
        return 1;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    // Read-only, unreadable or held: DeleteFileA would fail and the file
    // would be scheduled.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) || FileInUse(os, path)) {
        record.Note("DeleteFile", path, LookResult::kAtNextRestart);
        return 0;
    }
    record.Note("DeleteFile", path, LookResult::kFound);
    record.MarkGone(GoneFile(path));
    return 1;
}

// Empty once what the look made gone is left out.
bool EmptyOnceGone(const WhatIfRecord& record, const std::string& directory)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool empty = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = directory + "\\" + name;
        const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        empty = record.IsGone(isDirectory ? GoneDirectory(path) : GoneFile(path));
    } while (empty && FindNextFileA(search, &found));
    FindClose(search);
    return empty;
}

}  // namespace

BOOL RemoveEmptyDirectory(const char* path)
{
    WhatIfRecord* look = LookOnlyRecord();
    if (!look)
        return RemoveDirectoryA(path);
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_READONLY) || look->IsGone(GoneDirectory(path)))
        return FALSE;
    const std::string directory = TrimmedOf(path, "\\");
    if (!EmptyOnceGone(*look, directory))
        return FALSE;
    look->Note("RemoveDirectory", directory + "\\", LookResult::kFound);
    look->MarkGone(GoneDirectory(directory));
    return TRUE;
}

int FileExists(const char* path)
{
    if (IsEmptyText(path))
        return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    return 1;
}

int DeleteFileOrSchedule(const COSInfo& os, const char* path)
{
    if (IsEmptyText(path))
        return 1;
    if (WhatIfRecord* look = LookOnlyRecord())
        return LookAtFileDeletion(*look, os, path);
    if (DeleteFileA(path)) {
        LogEvent("DeleteFile", path, ERROR_SUCCESS);
        return 1;
    }
    const DWORD error = GetLastError();
    if (error < 4)  // not there: file or path not found
        return 1;
    // A directory of that name is no file to delete; scheduled, it would go
    // at the restart whenever it happened to be empty.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    LogEvent("DeleteFile", path, error);
    switch (os.GetVersionKind()) {
    case OSVER_WIN32S:
    case OSVER_NT3: ScheduleDeleteInZwininit(path); break;
    case OSVER_WIN95:
    case OSVER_WIN98:
    case OSVER_WINME:
        ScheduleDeleteInWininit(path);
        LogEvent("ScheduleDeleteInWininit", path, ERROR_SUCCESS);
        break;
    default:
        LogEvent("ScheduleDeleteAtRestart", path, ScheduleDeleteAtRestart(path));
        break;
    }
    return 0;
}

void ScheduleDeleteInWininit(const char* path)
{
    if (IsEmptyText(path))
        return;
    // WININIT.INI is carried out before long file names are available: a
    // long path there would be ignored. The log keeps the long one.
    char shortPath[kTextField] = {};
    const DWORD shortLength = GetShortPathNameA(path, shortPath, sizeof(shortPath));
    const char* target = shortLength > 0 && shortLength < sizeof(shortPath) ? shortPath : path;
    char line[kTextField] = {};
    if (!CopyText(line, "NUL=") || !AppendText(line, target) || !AppendText(line, "\r\n"))
        return;
    char wininit[kTextField] = {};
    const UINT length = GetWindowsDirectoryA(wininit, kTextField);
    if (length == 0 || length >= kTextField || !EnsureTrailingBackslash(wininit) ||
        !AppendText(wininit, "WININIT.INI"))
        return;

    HANDLE file = CreateFileA(wininit, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text;
    if (ReadOpenFile(file, text))
        RewriteOpenFile(file, WithWininitDeletion(text, target));
    CloseHandle(file);
}

int ScheduleDeleteInZwininit(const char* path)
{
    if (IsEmptyText(path) || !FitsField(path) || std::strchr(path, '='))
        return 0;
    char companion[kTextField] = {};
    char list[kTextField] = {};
    if (!BesideProgram("zwininit.exe", companion) || !BesideProgram("zwininit.ini", list))
        return 0;
    if (!FileExists(companion))
        return 0;
    if (WhatIfRecord* look = LookOnlyRecord()) {
        look->Note("ScheduleDeleteInZwininit", path, LookResult::kAtNextRestart);
        return 1;
    }
    const int written = WritePrivateProfileStringA("RENAME", path, "NUL", list) ? 1 : 0;
    LogEvent("ScheduleDeleteInZwininit", path, Win32Result(written));
    return written;
}
