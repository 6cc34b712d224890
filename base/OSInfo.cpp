#include "OSInfo.h"

#include <cstring>

COSInfo::COSInfo() : version(), versionKind(OSVER_UNKNOWN), platformKind(PLATFORM_UNKNOWN)
{
    OSVERSIONINFOA running;
    std::memset(&running, 0, sizeof(running));
    running.dwOSVersionInfoSize = sizeof(running);
    Classify(GetVersionExA(&running) ? &running : nullptr);
}

COSInfo::COSInfo(const OSVERSIONINFOA* given)
    : version(), versionKind(OSVER_UNKNOWN), platformKind(PLATFORM_UNKNOWN)
{
    Classify(given);
}

void COSInfo::Classify(const OSVERSIONINFOA* given)
{
    std::memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    platformKind = PLATFORM_UNKNOWN;
    versionKind = OSVER_UNKNOWN;
    if (!given)
        return;
    version = *given;
    version.dwOSVersionInfoSize = sizeof(version);
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        platformKind = PLATFORM_WIN32S;
        versionKind = OSVER_WIN32S;
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        platformKind = PLATFORM_WIN9X;
        if (version.dwMinorVersion == 0)
            versionKind = OSVER_WIN95;
        else if (version.dwMinorVersion == 10)
            versionKind = OSVER_WIN98;
        else if (version.dwMinorVersion == 90)
            versionKind = OSVER_WINME;
        break;
    case VER_PLATFORM_WIN32_NT:
        platformKind = PLATFORM_NT;
        if (version.dwMajorVersion == 3)
            versionKind = OSVER_NT3;
        else if (version.dwMajorVersion == 4)
            versionKind = OSVER_NT4;
        else if (version.dwMajorVersion == 5)
            versionKind = version.dwMinorVersion == 1 ? OSVER_WINXP : OSVER_WIN2000;
        else if (version.dwMajorVersion == 6)
            versionKind = OSVER_WINXP;
        break;
    default:
        break;
    }
}
