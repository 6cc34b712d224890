#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "SimulatedSpooler.h"
#include "TestPaths.h"
#include "WineVersion.h"

namespace {

// A connection listed between two local printers: enumeration gives the
// local printers first.
const char kThreePrinters[] =
    "[Printer]\r\nName=Office Laser\r\nPort=LPT1:\r\nDriver=Vanto Laser 08\r\nComment=second floor\r\n"
    "Location=room 12\r\nAttributes=0x244\r\n"
    "[Printer]\r\nName=\\\\HOST\\Shared Ink\r\nServer=\\\\HOST\r\nShare=ink\r\nPort=IP_10.0.0.9\r\n"
    "Driver=Other Ink\r\n"
    "[Printer]\r\nName=Plain\r\nPort=FILE:\r\nDriver=Generic\r\nJob=3,0,bob,a.txt\r\n";

const DWORD kBoth = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

}  // namespace

TEST(SimEnumPrinters, TwoCallPatternAtEveryLevel)
{
    SimulatedSpooler spooler(kThreePrinters);
    struct Level {
        DWORD level;
        std::size_t recordSize;
    };
    const Level levels[] = {{1, sizeof(PRINTER_INFO_1A)},
                            {2, sizeof(PRINTER_INFO_2A)},
                            {4, sizeof(PRINTER_INFO_4A)},
                            {5, sizeof(PRINTER_INFO_5A)}};
    for (const Level& l : levels) {
        SCOPED_TRACE(l.level);
        TwoCalls calls = EnumeratePrinters(kBoth, l.level);
        EXPECT_FALSE(calls.sizeResult);
        EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), calls.sizeError);
        ASSERT_TRUE(calls.result);
        EXPECT_EQ(kMarker, calls.error);
        ASSERT_EQ(3u, calls.returned);
        EXPECT_TRUE(calls.buffer.CanaryIntact());
        const std::size_t records = 3 * l.recordSize;
        const char* names[] = {"Office Laser", "Plain", "\\\\HOST\\Shared Ink"};
        for (std::size_t i = 0; i < 3; ++i) {
            const char* name = nullptr;
            switch (l.level) {
            case 1: {
                const PRINTER_INFO_1A& r = RecordAt<PRINTER_INFO_1A>(calls, i);
                name = r.pName;
                EXPECT_TRUE(calls.buffer.HoldsString(r.pDescription, records));
                EXPECT_TRUE(calls.buffer.HoldsString(r.pComment, records));
                break;
            }
            case 2: {
                const PRINTER_INFO_2A& r = RecordAt<PRINTER_INFO_2A>(calls, i);
                name = r.pPrinterName;
                for (const char* field : {r.pShareName, r.pPortName, r.pDriverName, r.pComment, r.pLocation,
                                          r.pSepFile, r.pPrintProcessor, r.pDatatype, r.pParameters})
                    EXPECT_TRUE(calls.buffer.HoldsString(field, records));
                EXPECT_EQ(nullptr, r.pDevMode);
                break;
            }
            case 4: name = RecordAt<PRINTER_INFO_4A>(calls, i).pPrinterName; break;
            case 5: name = RecordAt<PRINTER_INFO_5A>(calls, i).pPrinterName; break;
            }
            ASSERT_TRUE(calls.buffer.HoldsString(name, records)) << i;
            EXPECT_STREQ(names[i], name);
        }
    }

    TwoCalls level2 = EnumeratePrinters(kBoth, 2);
    const PRINTER_INFO_2A& office = RecordAt<PRINTER_INFO_2A>(level2, 0);
    EXPECT_EQ(nullptr, office.pServerName);
    EXPECT_STREQ("Vanto Laser 08", office.pDriverName);
    EXPECT_STREQ("LPT1:", office.pPortName);
    EXPECT_STREQ("second floor", office.pComment);
    EXPECT_STREQ("room 12", office.pLocation);
    EXPECT_STREQ("WinPrint", office.pPrintProcessor);
    EXPECT_STREQ("RAW", office.pDatatype);
    EXPECT_EQ(0x244u, office.Attributes);
    EXPECT_EQ(1u, RecordAt<PRINTER_INFO_2A>(level2, 1).cJobs);
    const PRINTER_INFO_2A& shared = RecordAt<PRINTER_INFO_2A>(level2, 2);
    EXPECT_STREQ("\\\\HOST", shared.pServerName);
    EXPECT_STREQ("ink", shared.pShareName);

    TwoCalls level4 = EnumeratePrinters(kBoth, 4);
    EXPECT_EQ(nullptr, RecordAt<PRINTER_INFO_4A>(level4, 0).pServerName);
    EXPECT_STREQ("\\\\HOST", RecordAt<PRINTER_INFO_4A>(level4, 2).pServerName);
    EXPECT_EQ(0x10u, RecordAt<PRINTER_INFO_4A>(level4, 2).Attributes);

    TwoCalls level5 = EnumeratePrinters(kBoth, 5);
    EXPECT_STREQ("FILE:", RecordAt<PRINTER_INFO_5A>(level5, 1).pPortName);
    EXPECT_EQ(15000u, RecordAt<PRINTER_INFO_5A>(level5, 1).DeviceNotSelectedTimeout);
}

TEST(SimEnumPrinters, BufferOneByteShortIsLeftAlone)
{
    SimulatedSpooler spooler(kThreePrinters);
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrintersA(kBoth, nullptr, 2, nullptr, 0, &needed, &returned);
    ASSERT_GT(needed, 0u);
    CallerBuffer buffer(needed - 1);
    DWORD needed2 = 0;
    returned = kMarker;
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrintersA(kBoth, nullptr, 2, buffer.data(), needed - 1, &needed2, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(needed, needed2);
    EXPECT_EQ(0u, returned);
    for (BYTE b : buffer.bytes)
        ASSERT_EQ(kCanary, b);
}

TEST(SimEnumPrinters, FlagsChooseLocalPrintersAndConnections)
{
    SimulatedSpooler spooler(kThreePrinters);
    TwoCalls local = EnumeratePrinters(PRINTER_ENUM_LOCAL, 4);
    ASSERT_TRUE(local.result);
    ASSERT_EQ(2u, local.returned);
    EXPECT_STREQ("Office Laser", RecordAt<PRINTER_INFO_4A>(local, 0).pPrinterName);
    EXPECT_STREQ("Plain", RecordAt<PRINTER_INFO_4A>(local, 1).pPrinterName);

    TwoCalls connections = EnumeratePrinters(PRINTER_ENUM_CONNECTIONS, 4);
    ASSERT_TRUE(connections.result);
    ASSERT_EQ(1u, connections.returned);
    EXPECT_STREQ("\\\\HOST\\Shared Ink", RecordAt<PRINTER_INFO_4A>(connections, 0).pPrinterName);

    TwoCalls byDefault = EnumeratePrinters(PRINTER_ENUM_DEFAULT, 2);
    ASSERT_EQ(1u, byDefault.returned);
    EXPECT_STREQ("Office Laser", RecordAt<PRINTER_INFO_2A>(byDefault, 0).pPrinterName);
}

TEST(SimEnumPrinters, EmptySpoolerSucceedsWithNothing)
{
    SimulatedSpooler spooler;
    DWORD needed = kMarker;
    DWORD returned = kMarker;
    SetLastError(kMarker);
    EXPECT_TRUE(EnumPrintersA(kBoth, nullptr, 4, nullptr, 0, &needed, &returned));
    EXPECT_EQ(kMarker, GetLastError());
    EXPECT_EQ(0u, needed);
    EXPECT_EQ(0u, returned);
    EXPECT_TRUE(spooler.Journal().empty());
}

TEST(SimEnumPrinters, InjectedFailures)
{
    SimulatedSpooler spooler(std::string("[Spooler]\r\nEnumPrintersError=1722\r\n") + kThreePrinters);
    DWORD needed = kMarker;
    DWORD returned = kMarker;
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrintersA(kBoth, nullptr, 4, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE), GetLastError());
    EXPECT_EQ(0u, needed);
    EXPECT_EQ(0u, returned);

    spooler.Write(std::string("[Spooler]\r\nEnumPrintersDataError=1726\r\n") + kThreePrinters);
    TwoCalls calls = EnumeratePrinters(kBoth, 4);
    EXPECT_FALSE(calls.sizeResult);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), calls.sizeError);
    EXPECT_GT(calls.needed, 0u);
    EXPECT_FALSE(calls.result);
    EXPECT_EQ(1726u, calls.error);
    EXPECT_EQ(0u, calls.returned);
}

TEST(SimEnumPrinters, BadArgumentsFailWithoutHarm)
{
    SimulatedSpooler spooler(kThreePrinters);
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrintersA(kBoth, nullptr, 3, nullptr, 0, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_LEVEL), GetLastError());
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrintersA(kBoth, nullptr, 2, nullptr, 0, nullptr, &returned));
    EXPECT_EQ(static_cast<DWORD>(RPC_X_NULL_REF_POINTER), GetLastError());
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrintersA(kBoth, nullptr, 2, nullptr, 100, &needed, &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    SetLastError(kMarker);
    EXPECT_FALSE(EnumPrintersA(PRINTER_ENUM_NAME, const_cast<char*>("\\\\ELSEWHERE"), 2, nullptr, 0, &needed,
                               &returned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), GetLastError());
}

// Windows 9x knows no level 4, and its local environment is "Windows 4.0".
TEST(SimEnumPrinters, FollowsTheEmulatedPlatform)
{
    SimulatedSpooler spooler(std::string(kThreePrinters) +
                             "[Driver]\r\nName=Generic\r\n[Driver]\r\nName=Nt Only\r\nEnvironment=Windows NT x86\r\n");
    const std::string probe = BesideTests("spoolsim_probe.exe");

    ChildResult nt = RunUnderWindowsVersion(probe, "enum 4", "winxp");
    ASSERT_TRUE(nt.started);
    EXPECT_NE(std::string::npos, nt.output.find("data result=1 returned=3")) << nt.output;

    ChildResult win98Level4 = RunUnderWindowsVersion(probe, "enum 4", "win98");
    ASSERT_TRUE(win98Level4.started);
    EXPECT_NE(std::string::npos, win98Level4.output.find("size result=0 error=124 needed=0")) << win98Level4.output;

    ChildResult win98Level5 = RunUnderWindowsVersion(probe, "enum 5", "win98");
    EXPECT_NE(std::string::npos,
              win98Level5.output.find("printer Office Laser\r\nprinter Plain\r\nprinter \\\\HOST\\Shared Ink"))
        << win98Level5.output;

    ChildResult drivers = RunUnderWindowsVersion(probe, "drivers", "win98");
    ChildResult ntDrivers = RunUnderWindowsVersion(probe, "drivers", "win2k");
#ifdef _WIN64
    // A 64-bit program's own environment is "Windows x64" whatever version it is told.
    EXPECT_EQ("driver Generic|Windows x64\r\n", drivers.output);
    EXPECT_EQ("driver Generic|Windows x64\r\n", ntDrivers.output);
#else
    EXPECT_EQ("driver Generic|Windows 4.0\r\n", drivers.output);
    EXPECT_EQ("driver Generic|Windows NT x86\r\ndriver Nt Only|Windows NT x86\r\n", ntDrivers.output);
#endif
}
