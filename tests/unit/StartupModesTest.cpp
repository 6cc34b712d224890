#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SpoolerStandIn.h"
#include "StartupModes.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "WineVersion.h"

TEST(StartupModes, ModeWords)
{
    EXPECT_EQ(MODE_RESTART_SPOOLER, ChooseStartupMode("RestartSpooler"));
    EXPECT_EQ(MODE_RESTART_SPOOLER, ChooseStartupMode("restartspooler"));
    EXPECT_EQ(MODE_NORMAL, ChooseStartupMode("RestartSpooler "));
    EXPECT_EQ(MODE_NORMAL, ChooseStartupMode("RestartSpooler now"));
    EXPECT_EQ(MODE_LAUNCH, ChooseStartupMode("launchkdc prog.exe /x 1234"));
    EXPECT_EQ(MODE_LAUNCH, ChooseStartupMode("LaunchKDC "));
    EXPECT_EQ(MODE_NORMAL, ChooseStartupMode("LaunchKDC"));
    EXPECT_EQ(MODE_NORMAL, ChooseStartupMode("LaunchKDCprog.exe 1"));
    EXPECT_EQ(MODE_NORMAL, ChooseStartupMode(""));
    EXPECT_EQ(MODE_NORMAL, ChooseStartupMode(nullptr));
}

TEST(StartupModes, LaunchArgumentSplitsAtTheLastBlank)
{
    char argument[] = "prog.exe /x 1234";
    EXPECT_EQ(reinterpret_cast<HWND>(1234), SplitLaunchArgument(argument));
    EXPECT_STREQ("prog.exe /x", argument);
    char noBlank[] = "prog.exe";
    EXPECT_EQ(nullptr, SplitLaunchArgument(noBlank));
    EXPECT_STREQ("prog.exe", noBlank);
    char notNumber[] = "prog.exe abc";
    EXPECT_EQ(nullptr, SplitLaunchArgument(notNumber));
    EXPECT_STREQ("prog.exe", notNumber);
}

namespace {

std::string Program() { return BesideTests("trelun08.exe"); }

HANDLE StartProgram(const std::string& arguments)
{
    std::string commandLine = "\"" + Program() + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(Program().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// A command that leaves a marker file when it runs.
std::string MarkerCommand(const std::string& marker)
{
    return "cmd.exe /c echo hecho>\"" + marker + "\"";
}

DWORD ExitCodeAfter(HANDLE process, DWORD timeoutMs)
{
    DWORD code = 259;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    else
        TerminateProcess(process, 259);
    CloseHandle(process);
    return code;
}

}  // namespace

TEST(LaunchMode, WaitsWhileTheWindowKeepsItsControl)
{
    TempDir dir;
    const std::string marker = dir.Join("launched.txt");
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND control = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 5, 5, owner, reinterpret_cast<HMENU>(12325), nullptr,
                                 nullptr);
    ASSERT_TRUE(owner && control);
    HANDLE launcher = StartProgram("LaunchKDC " + MarkerCommand(marker) + " " +
                                   std::to_string(reinterpret_cast<INT_PTR>(owner)));
    ASSERT_NE(nullptr, launcher);
    EXPECT_FALSE(WaitForPath(marker, 2500));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(launcher, 0));
    DestroyWindow(control);
    EXPECT_EQ(0u, ExitCodeAfter(launcher, 10000));
    EXPECT_TRUE(WaitForPath(marker, 10000));
    DestroyWindow(owner);
}

TEST(LaunchMode, MissingWindowOrNoHandleStartsAtOnce)
{
    TempDir dir;
    const std::string first = dir.Join("first.txt");
    EXPECT_EQ(0u, ExitCodeAfter(StartProgram("launchkdc " + MarkerCommand(first) + " 987654"), 10000));
    EXPECT_TRUE(WaitForPath(first, 10000));

    // Without a blank the whole argument is the command.
    const std::string batch = dir.Join("mark.bat");
    const std::string second = dir.Join("second.txt");
    ASSERT_TRUE(WriteWholeFile(batch, "@echo hecho>\"" + second + "\"\r\n"));
    std::string shortBatch(MAX_PATH, '\0');
    shortBatch.resize(GetShortPathNameA(batch.c_str(), &shortBatch[0], MAX_PATH));
    ASSERT_EQ(std::string::npos, shortBatch.find(' '));
    EXPECT_EQ(0u, ExitCodeAfter(StartProgram("LaunchKDC " + shortBatch), 10000));
    EXPECT_TRUE(WaitForPath(second, 10000));
}

namespace {

const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

void SetRunOnceValue()
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunOnce, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    const char data[] = "trelun08.exe RestartSpooler";
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, "tintara3350MF", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof(data)));
    RegCloseKey(key);
}

bool RunOnceValueExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnce, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const bool exists = RegQueryValueExA(key, "tintara3350MF", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

}  // namespace

// Whether the spooler is restarted depends on the version; the RunOnce
// value goes on every system.
TEST(SerialRestartSpoolerMode, RemovesTheRunOnceValueOnEverySystem)
{
    for (const char* version : {"win98", "nt40", "win2k", "win7"}) {
        SetRunOnceValue();
        ASSERT_TRUE(RunOnceValueExists());
        const ChildResult run = RunUnderWindowsVersion(Program(), "RestartSpooler", version);
        ASSERT_TRUE(run.started) << version;
        EXPECT_EQ(0u, run.exitCode) << version;
        EXPECT_FALSE(RunOnceValueExists()) << version;
    }
    // Absent value: still exit code 0.
    const ChildResult again = RunUnderWindowsVersion(Program(), "restartspooler", "win7");
    EXPECT_EQ(0u, again.exitCode);
}

TEST(SerialRestartSpoolerMode, RestartsTheSpoolerOnlyFromNt5On)
{
    StartSpoolerService();
    WaitForSpooler(SERVICE_RUNNING);
    const DWORD before = SpoolerProcessId();
    ASSERT_NE(0u, before);
    const ChildResult nt4 = RunUnderWindowsVersion(Program(), "RestartSpooler", "nt40", 20000);
    EXPECT_EQ(0u, nt4.exitCode);
    EXPECT_EQ(before, SpoolerProcessId());

    // From NT 5 on the spooler comes back in a new process, and no error box
    // holds the run up.
    const ChildResult xp = RunUnderWindowsVersion(Program(), "RestartSpooler", "winxp", 20000);
    EXPECT_EQ(0u, xp.exitCode);
    DWORD after = 0;
    for (int i = 0; i < 100 && !(after = SpoolerProcessId()); ++i)
        Sleep(50);
    EXPECT_NE(0u, after);
    EXPECT_NE(before, after);
}
