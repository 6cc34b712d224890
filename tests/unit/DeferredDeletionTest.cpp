#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DeferredDeletion.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "VersionRecords.h"
#include "WineRestart.h"

namespace {

using namespace versions;

// Holds a file open without FILE_SHARE_DELETE, so DeleteFileA fails with 32.
class FileInUse {
public:
    explicit FileInUse(const std::string& path)
        : handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~FileInUse() { Release(); }
    bool Held() const { return handle != INVALID_HANDLE_VALUE; }
    void Release()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle;
};

std::string PendingRenames()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return std::string();
    char data[16384] = {};
    DWORD size = sizeof(data) - 2;
    DWORD type = 0;
    const LONG status =
        RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::string();
    std::string joined(data, size);
    for (char& c : joined) {
        if (c == '\0')
            c = '|';
    }
    return joined;
}

// Keeps whatever WININIT.INI (and wininit.bak) the prefix had and puts it back.
class WininitFiles {
public:
    WininitFiles()
        : ini(WindowsDirectory() + "WININIT.INI"), bak(WindowsDirectory() + "wininit.bak"),
          hadIni(PathExists(ini)), savedIni(ReadWholeFile(ini)), hadBak(PathExists(bak)), savedBak(ReadWholeFile(bak))
    {
        DeleteFileA(ini.c_str());
        DeleteFileA(bak.c_str());
    }
    ~WininitFiles()
    {
        DeleteFileA(ini.c_str());
        DeleteFileA(bak.c_str());
        if (hadIni)
            WriteWholeFile(ini, savedIni);
        if (hadBak)
            WriteWholeFile(bak, savedBak);
    }
    const std::string ini;
    const std::string bak;

private:
    bool hadIni;
    std::string savedIni;
    bool hadBak;
    std::string savedBak;
};

// zwininit.exe and zwininit.ini beside the test program, removed afterwards.
class Zwininit {
public:
    Zwininit() : exe(BesideTests("zwininit.exe")), ini(BesideTests("zwininit.ini")) { Remove(); }
    ~Zwininit() { Remove(); }
    bool Install() const { return WriteWholeFile(exe, "MZ"); }
    std::string Entry(const std::string& path) const
    {
        char value[64] = {};
        GetPrivateProfileStringA("RENAME", path.c_str(), "", value, sizeof(value), ini.c_str());
        return value;
    }
    const std::string exe;
    const std::string ini;

private:
    void Remove() const
    {
        DeleteFileA(exe.c_str());
        DeleteFileA(ini.c_str());
    }
};

}  // namespace

TEST(FileExists, OpenableFilesOnly)
{
    TempDir dir;
    ASSERT_TRUE(dir.Write("present.txt", "x"));
    EXPECT_EQ(1, FileExists(dir.Join("present.txt").c_str()));
    EXPECT_EQ(0, FileExists(dir.Join("absent.txt").c_str()));
    EXPECT_EQ(0, FileExists(dir.Path().c_str()));
    EXPECT_EQ(0, FileExists(""));
    EXPECT_EQ(0, FileExists(nullptr));
}

TEST(DeleteFileOrSchedule, FileNotInUseIsDeletedNow)
{
    TempDir dir;
    for (const COSInfo* os : {&kNT4, &kWin98, &kNT351, &kWin32s}) {
        ASSERT_TRUE(dir.Write("victim.dll", "x"));
        EXPECT_EQ(1, DeleteFileOrSchedule(*os, dir.Join("victim.dll").c_str()));
        EXPECT_FALSE(PathExists(dir.Join("victim.dll")));
    }
}

// WININIT.INI, zwininit.* beside the tests and the pending renames are shared
// by every test of the prefix: the suites that touch them run alone.

// Nothing there: reported gone, and no mechanism is touched.
TEST(SerialDeferredDeletion, MissingFileSchedulesNothing)
{
    TempDir dir;
    WininitFiles wininit;
    Zwininit zwininit;
    ASSERT_TRUE(zwininit.Install());
    const std::string pendingBefore = PendingRenames();
    for (const COSInfo* os : {&kNT4, &kWin98, &kNT351, &kWin32s}) {
        EXPECT_EQ(1, DeleteFileOrSchedule(*os, dir.Join("absent.dll").c_str()));
        EXPECT_EQ(1, DeleteFileOrSchedule(*os, dir.Join("no\\such\\dir\\absent.dll").c_str()));
        EXPECT_EQ(1, DeleteFileOrSchedule(*os, ""));
        EXPECT_EQ(1, DeleteFileOrSchedule(*os, nullptr));
    }
    EXPECT_FALSE(PathExists(wininit.ini));
    EXPECT_FALSE(PathExists(zwininit.ini));
    EXPECT_EQ(pendingBefore, PendingRenames());
}

TEST(SerialDeferredDeletion, WininitEntryGoesIntoTheRenameSection)
{
    WininitFiles wininit;
    ScheduleDeleteInWininit("C:\\first.dll");
    EXPECT_EQ("[RENAME]\r\nNUL=C:\\first.dll\r\n", ReadWholeFile(wininit.ini));

    ASSERT_TRUE(WriteWholeFile(wininit.ini, "[RENAME]\r\nNUL=C:\\first.dll\r\n[Other]\r\nx=1\r\n"));
    ScheduleDeleteInWininit("C:\\second.dll");
    EXPECT_EQ("[RENAME]\r\nNUL=C:\\first.dll\r\nNUL=C:\\second.dll\r\n[Other]\r\nx=1\r\n",
              ReadWholeFile(wininit.ini));

    // "NUL=", the path and CR LF fill at most 259 characters; longer is skipped, not cut.
    const std::string fits = "C:\\" + std::string(250, 'f');
    const std::string tooLong = "C:\\" + std::string(251, 'g');
    ASSERT_TRUE(WriteWholeFile(wininit.ini, "[RENAME]\r\n"));
    ScheduleDeleteInWininit(tooLong.c_str());
    EXPECT_EQ("[RENAME]\r\n", ReadWholeFile(wininit.ini));
    ScheduleDeleteInWininit(fits.c_str());
    EXPECT_EQ("[RENAME]\r\nNUL=" + fits + "\r\n", ReadWholeFile(wininit.ini));
}

// Windows 9x carries the list out before long names exist.
TEST(SerialDeferredDeletion, WininitEntryNamesAnExistingFileByItsShortPath)
{
    WininitFiles wininit;
    TempDir dir;
    const std::string longPath = dir.Join("Controlador de impresora largo.dll");
    ASSERT_TRUE(WriteWholeFile(longPath, "x"));
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(longPath.c_str(), shortPath, MAX_PATH));
    ASSERT_EQ(std::string::npos, std::string(shortPath).find(' '));
    ScheduleDeleteInWininit(longPath.c_str());
    EXPECT_EQ("[RENAME]\r\nNUL=" + std::string(shortPath) + "\r\n", ReadWholeFile(wininit.ini));
}

TEST(SerialDeferredDeletion, ZwininitEntryBesideTheProgramOnlyWithItsCompanion)
{
    Zwininit zwininit;
    TempDir dir;
    const std::string target = dir.Join("busy.dll");
    EXPECT_EQ(0, ScheduleDeleteInZwininit(target.c_str()));
    EXPECT_FALSE(PathExists(zwininit.ini)) << "nothing scheduled without zwininit.exe";

    ASSERT_TRUE(zwininit.Install());
    EXPECT_EQ(1, ScheduleDeleteInZwininit(target.c_str()));
    EXPECT_EQ(1, ScheduleDeleteInZwininit(target.c_str()));
    EXPECT_EQ("NUL", zwininit.Entry(target));
    EXPECT_EQ("[RENAME]\r\n" + target + "=NUL\r\n", ReadWholeFile(zwininit.ini)) << "one entry per path";

    // A '=' would split the entry into another file's name; an overlong path would be cut.
    EXPECT_EQ(0, ScheduleDeleteInZwininit("C:\\dir\\a=b.dll"));
    EXPECT_EQ(0, ScheduleDeleteInZwininit(("C:\\" + std::string(257, 'z')).c_str()));
    EXPECT_EQ("[RENAME]\r\n" + target + "=NUL\r\n", ReadWholeFile(zwininit.ini));
}

TEST(SerialDeferredDeletion, InUseOnNT3AndWin32sGoesToZwininit)
{
    Zwininit zwininit;
    TempDir dir;
    const std::string target = dir.Join("busy.dll");
    FileInUse busy(target);
    ASSERT_TRUE(busy.Held());

    EXPECT_EQ(0, DeleteFileOrSchedule(kNT351, target.c_str())) << "not gone, though nothing could be scheduled";
    EXPECT_FALSE(PathExists(zwininit.ini));

    ASSERT_TRUE(zwininit.Install());
    EXPECT_EQ(0, DeleteFileOrSchedule(kNT351, target.c_str()));
    EXPECT_EQ("NUL", zwininit.Entry(target));
    const std::string other = dir.Join("other.dll");
    FileInUse otherBusy(other);
    EXPECT_EQ(0, DeleteFileOrSchedule(kWin32s, other.c_str()));
    EXPECT_EQ("NUL", zwininit.Entry(other));
    EXPECT_TRUE(PathExists(target));
}

// These restart Wine, which carries out every pending deletion of the prefix.
TEST(SerialWineRestart, InUseOnNTIsDeletedAtTheNextStart)
{
    TempDir dir;
    const std::string target = dir.Join("busy.dll");
    FileInUse busy(target);
    ASSERT_TRUE(busy.Held());
    EXPECT_EQ(0, DeleteFileOrSchedule(kNT4, target.c_str()));
    const std::string pending = PendingRenames();
    EXPECT_NE(std::string::npos, pending.find("\\??\\" + target + "|")) << pending;
    busy.Release();
    EXPECT_TRUE(PathExists(target));

    ASSERT_TRUE(RestartWine());
    EXPECT_FALSE(PathExists(target));
    EXPECT_EQ(std::string::npos, PendingRenames().find(target));
}

TEST(SerialWineRestart, InUseOn9xIsDeletedThroughWininitAtTheNextStart)
{
    WininitFiles wininit;
    TempDir dir;
    const std::string target = dir.Join("busy.dll");
    const std::string pendingBefore = PendingRenames();
    ASSERT_TRUE(WriteWholeFile(wininit.ini, "[Other]\r\nx=1\r\n"));
    char shortTarget[MAX_PATH] = {};
    {
        FileInUse busy(target);
        ASSERT_TRUE(busy.Held());
        ASSERT_NE(0u, GetShortPathNameA(target.c_str(), shortTarget, MAX_PATH));
        EXPECT_EQ(0, DeleteFileOrSchedule(kWin98, target.c_str()));
    }
    // By its short path, which the restart still finds.
    EXPECT_EQ("[Other]\r\nx=1\r\n[RENAME]\r\nNUL=" + std::string(shortTarget) + "\r\n", ReadWholeFile(wininit.ini));
    EXPECT_EQ(pendingBefore, PendingRenames());
    EXPECT_TRUE(PathExists(target));

    ASSERT_TRUE(RestartWine());
    EXPECT_FALSE(PathExists(target));
    EXPECT_FALSE(PathExists(wininit.ini));
    EXPECT_TRUE(PathExists(wininit.bak));
}
