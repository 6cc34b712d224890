// Classification of the running Windows by platform and version kind.
#pragma once
#include <windows.h>

enum PlatformKind {
    PLATFORM_UNKNOWN = 0,
    PLATFORM_WIN32S = 1,
    PLATFORM_WIN9X = 2,
    PLATFORM_NT = 3,
};

// Not in version order: Me comes after 2000, and NT 6.x shares XP's value.
enum VersionKind {
    OSVER_UNKNOWN = 0,
    OSVER_WIN32S = 1,
    OSVER_WIN95 = 2,
    OSVER_WIN98 = 3,
    OSVER_NT3 = 4,
    OSVER_NT4 = 5,
    OSVER_WIN2000 = 6,
    OSVER_WINME = 7,
    OSVER_WINXP = 8,
};

struct COSInfo {
    OSVERSIONINFOA version;
    int versionKind;
    int platformKind;

    // Reads the running system's version.
    COSInfo();
    // Classifies a given record; nullptr stands for a failed version query.
    explicit COSInfo(const OSVERSIONINFOA* given);

    int GetPlatformKind() const { return platformKind; }
    int GetVersionKind() const { return versionKind; }
    bool IsWin32s() const { return platformKind == PLATFORM_WIN32S; }
    bool IsWin9x() const { return platformKind == PLATFORM_WIN9X; }
    bool IsNT() const { return platformKind == PLATFORM_NT; }
    bool IsWin98() const { return versionKind == OSVER_WIN98; }
    bool IsWinMe() const { return versionKind == OSVER_WINME; }
    bool IsNT4() const { return versionKind == OSVER_NT4; }
    bool IsWin2000() const { return versionKind == OSVER_WIN2000; }

private:
    void Classify(const OSVERSIONINFOA* given);
};
