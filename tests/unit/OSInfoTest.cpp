#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "OSInfo.h"
#include "TestPaths.h"
#include "VersionRecords.h"
#include "WineVersion.h"

namespace {

struct Row {
    DWORD platform, major, minor;
    int platformKind, versionKind;
};

}  // namespace

TEST(COSInfo, ClassificationTable)
{
    const Row rows[] = {
        {VER_PLATFORM_WIN32s, 3, 10, PLATFORM_WIN32S, OSVER_WIN32S},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, PLATFORM_WIN9X, OSVER_WIN95},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, PLATFORM_WIN9X, OSVER_WIN98},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, PLATFORM_WIN9X, OSVER_WINME},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 3, PLATFORM_WIN9X, OSVER_UNKNOWN},
        {VER_PLATFORM_WIN32_NT, 3, 51, PLATFORM_NT, OSVER_NT3},
        {VER_PLATFORM_WIN32_NT, 4, 0, PLATFORM_NT, OSVER_NT4},
        {VER_PLATFORM_WIN32_NT, 5, 0, PLATFORM_NT, OSVER_WIN2000},
        {VER_PLATFORM_WIN32_NT, 5, 1, PLATFORM_NT, OSVER_WINXP},
        {VER_PLATFORM_WIN32_NT, 5, 2, PLATFORM_NT, OSVER_WIN2000},
        {VER_PLATFORM_WIN32_NT, 6, 0, PLATFORM_NT, OSVER_WINXP},
        {VER_PLATFORM_WIN32_NT, 6, 3, PLATFORM_NT, OSVER_WINXP},
        {VER_PLATFORM_WIN32_NT, 10, 0, PLATFORM_NT, OSVER_UNKNOWN},
        {3, 5, 0, PLATFORM_UNKNOWN, OSVER_UNKNOWN},
    };
    for (const Row& row : rows) {
        const COSInfo os = ClassifiedAs(row.platform, row.major, row.minor);
        EXPECT_EQ(row.platformKind, os.GetPlatformKind()) << row.platform << " " << row.major << "." << row.minor;
        EXPECT_EQ(row.versionKind, os.GetVersionKind()) << row.platform << " " << row.major << "." << row.minor;
    }
    const COSInfo failed(nullptr);
    EXPECT_EQ(PLATFORM_UNKNOWN, failed.GetPlatformKind());
    EXPECT_EQ(OSVER_UNKNOWN, failed.GetVersionKind());
    EXPECT_EQ(148u, failed.version.dwOSVersionInfoSize);
}

TEST(COSInfo, Predicates)
{
    const COSInfo me = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 90);
    EXPECT_TRUE(me.IsWin9x());
    EXPECT_TRUE(me.IsWinMe());
    EXPECT_FALSE(me.IsWin98());
    EXPECT_FALSE(me.IsNT());
    const COSInfo nt4 = ClassifiedAs(VER_PLATFORM_WIN32_NT, 4, 0);
    EXPECT_TRUE(nt4.IsNT());
    EXPECT_TRUE(nt4.IsNT4());
    EXPECT_FALSE(nt4.IsWin2000());
    EXPECT_FALSE(nt4.IsWin32s());
    EXPECT_TRUE(ClassifiedAs(VER_PLATFORM_WIN32_NT, 5, 0).IsWin2000());
    EXPECT_TRUE(ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 10).IsWin98());
    EXPECT_TRUE(ClassifiedAs(VER_PLATFORM_WIN32s, 3, 10).IsWin32s());
}

// The running system as Wine presents it for each emulated version.
TEST(COSInfo, UnderEmulatedWindowsVersions)
{
    struct Case {
        const char* version;
        int platformKind, versionKind;
    };
    const Case cases[] = {
        {"win31", PLATFORM_WIN32S, OSVER_WIN32S},  {"win95", PLATFORM_WIN9X, OSVER_WIN95},
        {"win98", PLATFORM_WIN9X, OSVER_WIN98},    {"winme", PLATFORM_WIN9X, OSVER_WINME},
        {"nt351", PLATFORM_NT, OSVER_NT3},         {"nt40", PLATFORM_NT, OSVER_NT4},
        {"win2k", PLATFORM_NT, OSVER_WIN2000},     {"winxp", PLATFORM_NT, OSVER_WINXP},
        {"win7", PLATFORM_NT, OSVER_WINXP},
    };
    const std::string probe = BesideTests("osinfo_probe.exe");
    for (const Case& c : cases) {
        const ChildResult run = RunUnderWindowsVersion(probe, "", c.version);
        ASSERT_TRUE(run.started) << c.version;
        EXPECT_EQ(static_cast<unsigned long>(c.platformKind * 16 + c.versionKind), run.exitCode)
            << c.version << ": " << run.output;
    }
}
