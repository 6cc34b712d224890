#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "SimulatedSpooler.h"

namespace {

const char kDrivers[] =
    "[Spooler]\r\nEnvironment=Windows NT x86\r\n"
    "[Printer]\r\nName=Office\r\nDriver=Vanto Laser 08\r\n"
    "[Driver]\r\nName=Vanto Laser 08\r\nDriverPath=C:\\d\\VLASER.DLL\r\nDataFile=C:\\d\\v.ppd\r\n"
    "ConfigFile=C:\\d\\vui.dll\r\n"
    "[Driver]\r\nName=Vanto Laser 08\r\nEnvironment=Windows 4.0\r\nVersion=0\r\nDriverPath=C:\\d\\vlaser.drv\r\n"
    "[Driver]\r\nName=Unused\r\nVersion=2\r\n"
    "[Driver]\r\nName=Stubborn\r\nDeleteError=5\r\n"
    "[Monitor]\r\nName=Vanto Port\r\nDll=vmon.dll\r\n"
    "[PrintProcessor]\r\nName=WinPrint\r\n[PrintProcessor]\r\nName=VantoProc\r\n"
    "[PrintProcessor]\r\nName=VantoProc\r\nEnvironment=Windows 4.0\r\n";

std::vector<std::string> DriverNames(const char* environment)
{
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    CallerBuffer buffer(needed);
    EXPECT_TRUE(EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 2, buffer.data(), needed, &needed,
                                    &returned));
    EXPECT_TRUE(buffer.CanaryIntact());
    std::vector<std::string> names;
    for (DWORD i = 0; i < returned; ++i) {
        const DRIVER_INFO_2A& d = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data())[i];
        EXPECT_TRUE(buffer.HoldsString(d.pDriverPath, returned * sizeof(DRIVER_INFO_2A)));
        names.push_back(std::to_string(d.cVersion) + " " + d.pName + " | " + d.pEnvironment + " | " + d.pDriverPath);
    }
    return names;
}

std::vector<std::string> ProcessorNames(const char* environment)
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrintProcessorsA(nullptr, const_cast<char*>(environment), 1, nullptr, 0, &needed, &returned);
    CallerBuffer buffer(needed);
    EXPECT_TRUE(EnumPrintProcessorsA(nullptr, const_cast<char*>(environment), 1, buffer.data(), needed, &needed,
                                     &returned));
    EXPECT_TRUE(buffer.CanaryIntact());
    std::vector<std::string> names;
    for (DWORD i = 0; i < returned; ++i)
        names.push_back(reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.data())[i].pName);
    return names;
}

}  // namespace

TEST(SimDrivers, EnumeratedPerEnvironment)
{
    SimulatedSpooler spooler(kDrivers);
    const std::vector<std::string> local = {
        "3 Vanto Laser 08 | Windows NT x86 | C:\\d\\VLASER.DLL",
        "2 Unused | Windows NT x86 | ",
        "3 Stubborn | Windows NT x86 | ",
    };
    EXPECT_EQ(local, DriverNames(nullptr));
    EXPECT_EQ(local, DriverNames("windows nt x86"));
    const std::vector<std::string> win40 = {"0 Vanto Laser 08 | Windows 4.0 | C:\\d\\vlaser.drv"};
    EXPECT_EQ(win40, DriverNames("Windows 4.0"));
    EXPECT_EQ(4u, DriverNames("all").size());

    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrinterDriversA(nullptr, const_cast<char*>("Windows 3.1"), 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT), GetLastError());
}

TEST(SimDrivers, PrinterDriverOfAPrinter)
{
    SimulatedSpooler spooler(kDrivers);
    HANDLE office = OpenForTest("Office", PRINTER_ACCESS_USE);
    ASSERT_NE(nullptr, office);
    DWORD needed = 0;
    SetLastError(kMarker);
    EXPECT_FALSE(GetPrinterDriverA(office, nullptr, 2, nullptr, 0, &needed));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    CallerBuffer buffer(needed);
    ASSERT_TRUE(GetPrinterDriverA(office, nullptr, 2, buffer.data(), needed, &needed));
    const DRIVER_INFO_2A* driver = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());
    EXPECT_STREQ("C:\\d\\VLASER.DLL", driver->pDriverPath);
    EXPECT_STREQ("C:\\d\\v.ppd", driver->pDataFile);
    EXPECT_TRUE(buffer.CanaryIntact());
    ClosePrinter(office);

    spooler.Write("[Printer]\r\nName=Orphan\r\nDriver=Gone\r\n");
    HANDLE orphan = OpenForTest("Orphan", PRINTER_ACCESS_USE);
    SetLastError(kMarker);
    EXPECT_FALSE(GetPrinterDriverA(orphan, nullptr, 2, nullptr, 0, &needed));
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER), GetLastError());
    ClosePrinter(orphan);
}

// A driver a printer uses cannot be deleted; its copy for another
// environment can.
TEST(SimDrivers, DeletionRefusesADriverInUse)
{
    SimulatedSpooler spooler(kDrivers);
    struct Case {
        const char* environment;
        const char* name;
        DWORD error;
    };
    const Case cases[] = {
        {nullptr, "Vanto Laser 08", ERROR_PRINTER_DRIVER_IN_USE},
        {"Windows 4.0", "Vanto Laser 08", 0},
        {nullptr, "unused", 0},
        {nullptr, "Unused", ERROR_UNKNOWN_PRINTER_DRIVER},
        {nullptr, "Stubborn", ERROR_ACCESS_DENIED},
        {"Windows NT Alpha", "Stubborn", ERROR_INVALID_ENVIRONMENT},
    };
    for (const Case& c : cases) {
        SetLastError(kMarker);
        const BOOL ok = DeletePrinterDriverA(nullptr, const_cast<char*>(c.environment), const_cast<char*>(c.name));
        EXPECT_EQ(c.error == 0, ok != FALSE) << c.name;
        EXPECT_EQ(c.error == 0 ? kMarker : c.error, GetLastError()) << c.name;
    }
    const spoolsim::State left = spooler.Read();
    ASSERT_EQ(2u, left.drivers.size());
    EXPECT_EQ("Vanto Laser 08", left.drivers[0].name);
    EXPECT_EQ("", left.drivers[0].environment);
    EXPECT_EQ("Stubborn", left.drivers[1].name);
    const std::vector<std::string> expected = {
        "DeletePrinterDriverA|(null)|(null)|Vanto Laser 08|error 3001",
        "DeletePrinterDriverA|(null)|Windows 4.0|Vanto Laser 08|ok",
        "DeletePrinterDriverA|(null)|(null)|unused|ok",
        "DeletePrinterDriverA|(null)|(null)|Unused|error 1797",
        "DeletePrinterDriverA|(null)|(null)|Stubborn|error 5",
        "DeletePrinterDriverA|(null)|Windows NT Alpha|Stubborn|error 1805",
    };
    EXPECT_EQ(expected, spooler.Journal());
}

TEST(SimPrintProcessors, EnumeratedAndDeletedPerEnvironment)
{
    SimulatedSpooler spooler(kDrivers);
    EXPECT_EQ((std::vector<std::string>{"WinPrint", "VantoProc"}), ProcessorNames(nullptr));
    EXPECT_EQ(std::vector<std::string>{"VantoProc"}, ProcessorNames("Windows 4.0"));

    EXPECT_TRUE(DeletePrintProcessorA(nullptr, const_cast<char*>("Windows 4.0"), const_cast<char*>("vantoproc")));
    SetLastError(kMarker);
    EXPECT_FALSE(DeletePrintProcessorA(nullptr, const_cast<char*>("Windows 4.0"), const_cast<char*>("VantoProc")));
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PRINTPROCESSOR), GetLastError());
    EXPECT_EQ((std::vector<std::string>{"WinPrint", "VantoProc"}), ProcessorNames(nullptr));
    EXPECT_TRUE(ProcessorNames("Windows 4.0").empty());
}

TEST(SimMonitors, DeletedOnceThenUnknown)
{
    SimulatedSpooler spooler(kDrivers);
    EXPECT_TRUE(DeleteMonitorA(nullptr, nullptr, const_cast<char*>("vanto port")));
    SetLastError(kMarker);
    EXPECT_FALSE(DeleteMonitorA(nullptr, const_cast<char*>("Windows 4.0"), const_cast<char*>("Vanto Port")));
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PRINT_MONITOR), GetLastError());
    EXPECT_TRUE(spooler.Read().monitors.empty());
    const std::vector<std::string> expected = {
        "DeleteMonitorA|(null)|(null)|vanto port|ok",
        "DeleteMonitorA|(null)|Windows 4.0|Vanto Port|error 3000",
    };
    EXPECT_EQ(expected, spooler.Journal());
}

TEST(SimDirectories, DriverAndProcessorDirectoriesOfThePrefix)
{
    SimulatedSpooler spooler;
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    struct Case {
        const char* environment;
        const char* directory;
    };
    const Case cases[] = {{nullptr, sizeof(void*) == 8 ? "x64" : "w32x86"}, {"Windows NT x86", "w32x86"}, {"Windows 4.0", "win40"},
                          {"Windows x64", "x64"}};
    for (const Case& c : cases) {
        for (const char* kind : {"drivers", "prtprocs"}) {
            const std::string expected = std::string(system) + "\\spool\\" + kind + "\\" + c.directory;
            auto call = std::string(kind) == "drivers" ? GetPrinterDriverDirectoryA : GetPrintProcessorDirectoryA;
            DWORD needed = 0;
            SetLastError(kMarker);
            EXPECT_FALSE(call(nullptr, const_cast<char*>(c.environment), 1, nullptr, 0, &needed));
            EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
            EXPECT_EQ(expected.size() + 1, needed);
            char buffer[MAX_PATH] = {};
            SetLastError(kMarker);
            EXPECT_TRUE(call(nullptr, const_cast<char*>(c.environment), 1, reinterpret_cast<BYTE*>(buffer),
                             sizeof(buffer), &needed));
            EXPECT_EQ(kMarker, GetLastError());
            EXPECT_EQ(expected, buffer);
            EXPECT_EQ(GetFileAttributesA(buffer) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY))
                << buffer;
        }
    }
    DWORD needed = 0;
    char buffer[MAX_PATH];
    SetLastError(kMarker);
    EXPECT_FALSE(GetPrinterDriverDirectoryA(nullptr, const_cast<char*>("bogus"), 1, reinterpret_cast<BYTE*>(buffer),
                                            sizeof(buffer), &needed));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT), GetLastError());
}
