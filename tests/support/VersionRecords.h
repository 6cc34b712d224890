// A COSInfo classified from a made-up version record, for code whose
// behaviour depends on the version kind.
#pragma once
#include <windows.h>

#include "OSInfo.h"

inline COSInfo ClassifiedAs(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOA record = {};
    record.dwOSVersionInfoSize = sizeof(record);
    record.dwPlatformId = platform;
    record.dwMajorVersion = major;
    record.dwMinorVersion = minor;
    return COSInfo(&record);
}
