// Version records for tests: a COSInfo classified from a made-up version
// record, the usual Windows versions by name, and the record of the system
// the test runs on.
#pragma once
#include <windows.h>

#include "OSInfo.h"

inline OSVERSIONINFOA VersionRecord(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOA record = {};
    record.dwOSVersionInfoSize = sizeof(record);
    record.dwPlatformId = platform;
    record.dwMajorVersion = major;
    record.dwMinorVersion = minor;
    return record;
}

inline COSInfo ClassifiedAs(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOA record = VersionRecord(platform, major, minor);
    return COSInfo(&record);
}

// What GetVersionExA reports for the running system.
inline OSVERSIONINFOA RunningVersion()
{
    OSVERSIONINFOA record = {};
    record.dwOSVersionInfoSize = sizeof(record);
    GetVersionExA(&record);
    return record;
}

// The Windows versions the program tells apart, as it classifies them.
namespace versions {
inline const COSInfo kWin32s = ClassifiedAs(VER_PLATFORM_WIN32s, 3, 10);
inline const COSInfo kWin95 = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 0);
inline const COSInfo kWin98 = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
inline const COSInfo kWinMe = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 90);
inline const COSInfo kNT351 = ClassifiedAs(VER_PLATFORM_WIN32_NT, 3, 51);
inline const COSInfo kNT4 = ClassifiedAs(VER_PLATFORM_WIN32_NT, 4, 0);
inline const COSInfo kWin2000 = ClassifiedAs(VER_PLATFORM_WIN32_NT, 5, 0);
inline const COSInfo kWinXP = ClassifiedAs(VER_PLATFORM_WIN32_NT, 5, 1);
}  // namespace versions
