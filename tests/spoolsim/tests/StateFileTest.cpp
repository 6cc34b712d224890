#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "SimulatedSpooler.h"
#include "TestPaths.h"

TEST(SimStateFile, TheTestsLoadTheSimulatorAsTheShim)
{
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("VSPOOL08.dll"), path, MAX_PATH), 0u);
    EXPECT_EQ(BesideTests("VSPOOL08.dll"), path);
    EXPECT_NE(std::string::npos, std::string(path).find("\\spoolsim\\"));
}

TEST(SimStateFile, ChangesAreWrittenBackAndCommentsDropped)
{
    SimulatedSpooler spooler("; two printers\r\n[Printer]\r\nName=A\r\n[Printer]\r\nName=B\r\n");
    HANDLE a = OpenForTest("A");
    ASSERT_TRUE(DeletePrinter(a));
    ClosePrinter(a);
    EXPECT_EQ("[Spooler]\r\n\r\n[Printer]\r\nName=B\r\nPrintProcessor=WinPrint\r\nDatatype=RAW\r\n"
              "Attributes=0x00000040\r\nPriority=1\r\n",
              spooler.StateText());
}

// A state the simulator cannot read fails every call and says why.
TEST(SimStateFile, UnreadableStateFailsCalls)
{
    SimulatedSpooler spooler("[Printer]\r\nName=A\r\nColour=red\r\n");
    DWORD needed = kMarker;
    DWORD returned = kMarker;
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    EXPECT_EQ(0u, needed);
    SetLastError(kMarker);
    EXPECT_FALSE(DeleteMonitorA(nullptr, nullptr, const_cast<char*>("M")));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    const std::vector<std::string> journal = spooler.Journal();
    ASSERT_EQ(3u, journal.size());
    EXPECT_EQ("state not understood: line 3: key or value not understood: Colour=red", journal[0]);
    EXPECT_EQ("DeleteMonitorA|(null)|(null)|M|error 13", journal[2]);
}

TEST(SimStateFile, WithoutTheVariableTheFileBesideTheSimulator)
{
    const std::string beside = BesideTests("spoolsim.ini");
    ASSERT_TRUE(WriteWholeFile(beside, "[Printer]\r\nName=Beside\r\n"));
    SetEnvironmentVariableA("SPOOLSIM_STATE", nullptr);
    TwoCalls calls = EnumeratePrinters(PRINTER_ENUM_LOCAL, 4);
    DeleteFileA(beside.c_str());
    ASSERT_TRUE(calls.result);
    ASSERT_EQ(1u, calls.returned);
    EXPECT_STREQ("Beside", RecordAt<PRINTER_INFO_4A>(calls, 0).pPrinterName);

    TwoCalls none = EnumeratePrinters(PRINTER_ENUM_LOCAL, 4);
    EXPECT_TRUE(none.sizeResult) << "no state file: a spooler without printers";
    EXPECT_EQ(0u, none.returned);
}

// The registry stays real: the simulator hands these calls to advapi32.
TEST(SimRegistry, FunctionsAreAdvapi32s)
{
    HMODULE simulator = GetModuleHandleA("VSPOOL08.dll");
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    ASSERT_NE(nullptr, simulator);
    ASSERT_NE(nullptr, advapi);
    for (const char* name : {"RegOpenKeyA", "RegOpenKeyExA", "RegCloseKey", "RegEnumKeyA", "RegDeleteKeyA",
                             "RegEnumValueA", "RegDeleteValueA", "RegQueryValueExA", "RegSetValueExA"}) {
        EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(advapi, name)),
                  reinterpret_cast<void*>(GetProcAddress(simulator, name)))
            << name;
    }
}
