#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DirectoryPaths.h"
#include "DllSearch.h"
#include "HookRunner.h"
#include "OSInfo.h"
#include "ServiceRemover.h"
#include "StartupModes.h"
#include "TestPaths.h"
#include "TestServices.h"
#include "VersionRecords.h"

TEST(ServiceRemover, MarksListedServicesForDeletion)
{
    const char kService[] = "TrelunTestService1";
    ASSERT_TRUE(CreateTestService(kService));
    // On Windows 9x the step makes no call at all.
    EXPECT_FALSE(RemoveServices(versions::kWin98, {kService}));
    EXPECT_EQ(0u, ServiceOpenError(kService));

    EXPECT_FALSE(RemoveServices(COSInfo(), {}));
    EXPECT_FALSE(RemoveServices(COSInfo(), {"NoSuchTrelunService", ""}));
    EXPECT_TRUE(RemoveServices(COSInfo(), {"NoSuchTrelunService", kService}));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), ServiceOpenError(kService));
}

TEST(ServiceRemover, AServiceAlreadyMarkedStillAsksForTheRestart)
{
    const char kService[] = "TrelunTestService2";
    ASSERT_TRUE(CreateTestService(kService));
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE held = OpenServiceA(manager, kService, SERVICE_ALL_ACCESS);
    ASSERT_NE(nullptr, held);
    ASSERT_TRUE(DeleteService(held));  // marked, kept alive by our handle
    EXPECT_TRUE(RemoveServices(COSInfo(), {kService}));
    CloseServiceHandle(held);
    CloseServiceHandle(manager);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), ServiceOpenError(kService));
}

namespace {

std::string CallLog()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "trelun_hook_calls_" + std::to_string(GetCurrentProcessId()) + ".txt";
}

std::string DriverDirectory()
{
    FileSpec spec;
    spec.Resolve(DIR_PRINTER_DRIVER);
    return spec.DirectoryPath();
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    std::string directory = buffer;
    if (directory.back() != '\\')
        directory += '\\';
    return directory;
}

std::string WithoutSlash(std::string path)
{
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

class HookRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileA(CallLog().c_str());
        SetCurrentDirectoryA(WindowsDirectory().c_str());
    }
    void TearDown() override
    {
        DeleteFileA(CallLog().c_str());
        DeleteFileA((DriverDirectory() + kDriverCopy).c_str());
    }
    // A name of its own, so other tests never find this copy.
    const char* const kDriverCopy = "vhookprobe_drv.dll";
};

}  // namespace

TEST_F(HookRunnerTest, LibraryBesideTheUninstallerIsCalledInRundllForm)
{
    RunUnregisterHooks({"C:\\ignored\\dir\\VHOOKPROBE.DLL,UnregisterProbe"}, nullptr, GetModuleHandleA(nullptr));
    // Command line: the uninstaller's directory; current directory during
    // the call: the library's.
    EXPECT_EQ(BinDirectory() + "|" + WithoutSlash(BinDirectory()) + "|0\r\n", ReadWholeFile(CallLog()));
    EXPECT_EQ(BinDirectory(), CurrentDirectory());
}

TEST_F(HookRunnerTest, ALibraryWritingIntoItsArgumentChangesNothingForTheNext)
{
    RunUnregisterHooks({"vhookprobe.dll,UnregisterScribble", "vhookprobe.dll,UnregisterProbe"}, nullptr,
                       GetModuleHandleA(nullptr));
    const std::string calls = ReadWholeFile(CallLog());
    EXPECT_EQ(BinDirectory() + "|" + WithoutSlash(BinDirectory()) + "|0\r\n", calls.substr(calls.find("\r\n") + 2));
    EXPECT_EQ(BinDirectory(), CurrentDirectory());
}

TEST_F(HookRunnerTest, PrinterDriverDirectoryComesFirst)
{
    ASSERT_TRUE(CopyFileA(BesideTests("vhookprobe.dll").c_str(), (DriverDirectory() + kDriverCopy).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(BesideTests("vhookprobe.dll").c_str(), BesideTests(kDriverCopy).c_str(), FALSE));
    RunUnregisterHooks({std::string(kDriverCopy) + ",UnregisterProbe"}, nullptr, GetModuleHandleA(nullptr));
    DeleteFileA(BesideTests(kDriverCopy).c_str());
    EXPECT_EQ(BinDirectory() + "|" + WithoutSlash(DriverDirectory()) + "|0\r\n", ReadWholeFile(CallLog()));
    EXPECT_EQ(BinDirectory(), CurrentDirectory());
}

TEST_F(HookRunnerTest, MalformedOrMissingEntriesDoNothing)
{
    RunUnregisterHooks({"vhookprobe.dll", "vhookprobe.dll,", ",UnregisterProbe", "missing.dll,UnregisterProbe",
                        "vhookprobe.dll,NoSuchExport"},
                       nullptr, GetModuleHandleA(nullptr));
    EXPECT_EQ("", ReadWholeFile(CallLog()));
    EXPECT_EQ(BinDirectory(), CurrentDirectory());
}

// The uninstaller takes the current directory out of its DLL search; the
// program the launch mode starts gets the default order back.
namespace {

std::vector<std::string> g_dllDirectoryCalls;

BOOL WINAPI RecordDllDirectory(LPCSTR path)
{
    g_dllDirectoryCalls.push_back(path ? path : "(default)");
    return TRUE;
}

}  // namespace

TEST(DllSearch, AStartedProgramGetsTheDefaultOrder)
{
    const SetDllDirectoryFn system = DllDirectorySetter();
    DllDirectorySetter() = RecordDllDirectory;
    g_dllDirectoryCalls.clear();
    RemoveCurrentDirectoryFromDllSearch();
    char command[] = "cmd.exe /c exit 0";
    RunLaunchMode(command);
    DllDirectorySetter() = system;
    EXPECT_EQ((std::vector<std::string>{"", "(default)", ""}), g_dllDirectoryCalls);
}
