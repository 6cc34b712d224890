#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "EventLog.h"
#include "SystemLibrary.h"
#include "TempDir.h"
#include "TestPaths.h"

TEST(SystemLibrary, FindsSystemFunctionsAndLogsWhatIsMissing)
{
    TempDir dir;
    const std::string log = dir.Join("run.log");
    ASSERT_TRUE(OpenEventLog(log.c_str()));

    EXPECT_EQ(nullptr, SystemLibrary("trelun-no-such.dll"));
    EXPECT_EQ(nullptr, SystemFunction("kernel32.dll", "TrelunNoSuchFunction"));
    const char* const both[] = {"trelun-no-such.dll", "kernel32.dll"};
    EXPECT_EQ(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount"),
              SystemFunction(both, 2, "GetTickCount"))
        << "the next library is asked when the first is missing";

    char path[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameA(SystemLibrary("kernel32.dll"), path, MAX_PATH));
    char system[MAX_PATH] = {};
    ASSERT_NE(0u, GetSystemDirectoryA(system, MAX_PATH));
    EXPECT_EQ(0, CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path, lstrlenA(system), system, -1) - CSTR_EQUAL);

    OpenEventLog(nullptr);
    const std::string text = ReadWholeFile(log);
    EXPECT_NE(std::string::npos, text.find("trelun-no-such.dll result=126")) << text;
    EXPECT_NE(std::string::npos, text.find("SystemFunctionMissing TrelunNoSuchFunction result=127")) << text;
}
