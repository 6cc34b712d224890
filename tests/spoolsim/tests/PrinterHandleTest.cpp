#include <gtest/gtest.h>

#include <cstring>

#include "SimTestUtil.h"
#include "SimulatedSpooler.h"

namespace {

const char kPrinters[] =
    "[Printer]\r\nName=Office Laser\r\nPort=LPT1:\r\nDriver=Vanto Laser 08\r\nPrintProcessor=VantoProc\r\n"
    "Data.VantoDriver08=yes\r\nData.PellPrinter=Plain\r\n"
    "[Printer]\r\nName=Plain\r\nPort=FILE:\r\nDriver=Generic\r\nAttributes=0x44\r\n"
    "[Printer]\r\nName=Locked\r\nOpenError=5\r\n"
    "[Printer]\r\nName=Broken Data\r\nLevel2Error=1784\r\n"
    "[Printer]\r\nName=No Size\r\nLevel2SizeError=1726\r\n"
    "[PrintProcessor]\r\nName=WinPrint\r\n[PrintProcessor]\r\nName=VantoProc\r\n";

struct GetCall {
    BOOL result;
    DWORD error;
    DWORD needed;
};

GetCall GetLevel(HANDLE printer, DWORD level, BYTE* buffer, DWORD size)
{
    GetCall call;
    call.needed = kMarker;
    SetLastError(kMarker);
    call.result = GetPrinterA(printer, level, buffer, size, &call.needed);
    call.error = GetLastError();
    return call;
}

}  // namespace

TEST(SimOpenPrinter, NamesHandlesAndInjectedFailure)
{
    SimulatedSpooler spooler(kPrinters);
    HANDLE printer = reinterpret_cast<HANDLE>(1);
    SetLastError(kMarker);
    EXPECT_FALSE(OpenPrinterA(const_cast<char*>("Nobody"), &printer, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME), GetLastError());
    EXPECT_EQ(nullptr, printer);

    SetLastError(kMarker);
    EXPECT_FALSE(OpenPrinterA(const_cast<char*>("Locked"), &printer, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());

    SetLastError(kMarker);
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>("OFFICE laser"), &printer, nullptr));
    EXPECT_EQ(kMarker, GetLastError());
    ASSERT_NE(nullptr, printer);
    EXPECT_TRUE(ClosePrinter(printer));
    SetLastError(kMarker);
    EXPECT_FALSE(ClosePrinter(printer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    GetCall stale = GetLevel(printer, 2, nullptr, 0);
    EXPECT_FALSE(stale.result);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), stale.error);
}

TEST(SimGetPrinter, TwoCallPatternAndLevelTwoFaults)
{
    SimulatedSpooler spooler(kPrinters);
    HANDLE office = OpenForTest("Office Laser", PRINTER_ACCESS_USE);
    ASSERT_NE(nullptr, office);
    const GetCall size = GetLevel(office, 2, nullptr, 0);
    EXPECT_FALSE(size.result);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), size.error);
    CallerBuffer buffer(size.needed);
    const GetCall data = GetLevel(office, 2, buffer.data(), size.needed);
    ASSERT_TRUE(data.result);
    EXPECT_EQ(kMarker, data.error);
    EXPECT_EQ(size.needed, data.needed);
    EXPECT_TRUE(buffer.CanaryIntact());
    const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    EXPECT_TRUE(buffer.HoldsString(info->pPrinterName, sizeof(PRINTER_INFO_2A)));
    EXPECT_STREQ("Office Laser", info->pPrinterName);
    EXPECT_STREQ("Vanto Laser 08", info->pDriverName);
    EXPECT_STREQ("VantoProc", info->pPrintProcessor);
    EXPECT_EQ(0x40u, info->Attributes);
    const GetCall level3 = GetLevel(office, 3, nullptr, 0);
    EXPECT_FALSE(level3.result);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_LEVEL), level3.error);
    ClosePrinter(office);

    HANDLE broken = OpenForTest("Broken Data", PRINTER_ACCESS_USE);
    ASSERT_NE(nullptr, broken);
    const GetCall brokenSize = GetLevel(broken, 2, nullptr, 0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), brokenSize.error);
    ASSERT_GT(brokenSize.needed, 0u);
    std::vector<BYTE> brokenBuffer(brokenSize.needed);
    const GetCall brokenData = GetLevel(broken, 2, brokenBuffer.data(), brokenSize.needed);
    EXPECT_FALSE(brokenData.result);
    EXPECT_EQ(1784u, brokenData.error);
    EXPECT_TRUE(GetLevel(broken, 4, nullptr, 0).needed > 0);
    ClosePrinter(broken);

    HANDLE noSize = OpenForTest("No Size", PRINTER_ACCESS_USE);
    ASSERT_NE(nullptr, noSize);
    const GetCall noSizeCall = GetLevel(noSize, 2, nullptr, 0);
    EXPECT_FALSE(noSizeCall.result);
    EXPECT_EQ(1726u, noSizeCall.error);
    EXPECT_EQ(0u, noSizeCall.needed);
    ClosePrinter(noSize);
}

TEST(SimGetPrinterData, ValuesSizesAndMissingEntries)
{
    SimulatedSpooler spooler(kPrinters);
    HANDLE office = OpenForTest("Office Laser", READ_CONTROL | PRINTER_ACCESS_USE);
    ASSERT_NE(nullptr, office);
    char value[256];
    std::memset(value, 'x', sizeof(value));
    DWORD type = kMarker;
    DWORD needed = kMarker;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              GetPrinterDataA(office, const_cast<char*>("pellprinter"), &type, reinterpret_cast<BYTE*>(value),
                              sizeof(value), &needed));
    EXPECT_STREQ("Plain", value);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(6u, needed);

    std::memset(value, 'x', sizeof(value));
    needed = kMarker;
    EXPECT_EQ(static_cast<DWORD>(ERROR_MORE_DATA),
              GetPrinterDataA(office, const_cast<char*>("VantoDriver08"), nullptr, reinterpret_cast<BYTE*>(value),
                              3, &needed));
    EXPECT_EQ(4u, needed);
    EXPECT_EQ('x', value[0]);

    needed = kMarker;
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
              GetPrinterDataA(office, const_cast<char*>("UniqueID"), &type, reinterpret_cast<BYTE*>(value),
                              sizeof(value), &needed));
    EXPECT_EQ(static_cast<DWORD>(RPC_X_NULL_REF_POINTER),
              GetPrinterDataA(office, const_cast<char*>("VantoDriver08"), &type, reinterpret_cast<BYTE*>(value),
                              sizeof(value), nullptr));
    ClosePrinter(office);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE),
              GetPrinterDataA(office, const_cast<char*>("VantoDriver08"), &type, reinterpret_cast<BYTE*>(value),
                              sizeof(value), &needed));
}

TEST(SimSetPrinter, LevelTwoChangesAreCheckedJournaledAndKept)
{
    SimulatedSpooler spooler(kPrinters);
    HANDLE office = OpenForTest("Office Laser");
    ASSERT_NE(nullptr, office);
    DWORD needed = 0;
    GetPrinterA(office, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterA(office, 2, buffer.data(), needed, &needed));
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());

    info->pPrintProcessor = const_cast<char*>("NotInstalled");
    SetLastError(kMarker);
    EXPECT_FALSE(SetPrinterA(office, 2, buffer.data(), 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PRINTPROCESSOR), GetLastError());
    EXPECT_EQ("VantoProc", spooler.Read().printers[0].printProcessor);

    info->pPrintProcessor = const_cast<char*>("WinPrint");
    info->pDatatype = const_cast<char*>("NT EMF 1.008");
    info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    SetLastError(kMarker);
    EXPECT_TRUE(SetPrinterA(office, 2, buffer.data(), 0));
    EXPECT_EQ(kMarker, GetLastError());
    const spoolsim::State state = spooler.Read();
    EXPECT_EQ("WinPrint", state.printers[0].printProcessor);
    EXPECT_EQ("NT EMF 1.008", state.printers[0].datatype);
    EXPECT_EQ(0x44u, state.printers[0].attributes);
    EXPECT_EQ(0x40u, state.printers[1].attributes) << "one default printer only";
    ClosePrinter(office);

    HANDLE readOnly = OpenForTest("Plain", PRINTER_ACCESS_USE);
    SetLastError(kMarker);
    EXPECT_FALSE(SetPrinterA(readOnly, 0, nullptr, PRINTER_CONTROL_PAUSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    ClosePrinter(readOnly);

    const std::vector<std::string> expected = {
        "SetPrinterA|Office Laser|2|0|PrintProcessor=NotInstalled;Datatype=RAW;Attributes=0x00000040|error 1798",
        "SetPrinterA|Office Laser|2|0|PrintProcessor=WinPrint;Datatype=NT EMF 1.008;Attributes=0x00000044|ok",
        "SetPrinterA|Plain|0|1|error 5",
    };
    EXPECT_EQ(expected, spooler.Journal());
}

TEST(SimDeletePrinter, AccessJobsFaultsAndConnections)
{
    SimulatedSpooler spooler(
        "[Printer]\r\nName=Busy\r\nJob=4,0,u,a\r\nJob=9,0,u,b\r\n"
        "[Printer]\r\nName=Idle\r\n"
        "[Printer]\r\nName=Stuck\r\nDeleteError=5\r\n"
        "[Printer]\r\nName=\\\\H\\Far\r\nServer=\\\\H\r\n");
    HANDLE useOnly = OpenForTest("Idle", PRINTER_ACCESS_USE);
    SetLastError(kMarker);
    EXPECT_FALSE(DeletePrinter(useOnly));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    ClosePrinter(useOnly);

    HANDLE idle = OpenForTest("Idle");
    EXPECT_TRUE(DeletePrinter(idle));
    EXPECT_TRUE(ClosePrinter(idle)) << "the handle outlives its printer";

    HANDLE stuck = OpenForTest("Stuck");
    SetLastError(kMarker);
    EXPECT_FALSE(DeletePrinter(stuck));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    ClosePrinter(stuck);

    // A printer with queued jobs goes when its last job does.
    HANDLE busy = OpenForTest("Busy");
    EXPECT_TRUE(DeletePrinter(busy));
    ASSERT_NE(nullptr, spooler.Read().FindPrinter("Busy"));
    EXPECT_TRUE(spooler.Read().FindPrinter("Busy")->pendingDeletion);
    EXPECT_TRUE(SetJobA(busy, 4, 0, nullptr, JOB_CONTROL_DELETE));
    EXPECT_NE(nullptr, spooler.Read().FindPrinter("Busy"));
    EXPECT_TRUE(SetJobA(busy, 9, 0, nullptr, JOB_CONTROL_CANCEL));
    EXPECT_EQ(nullptr, spooler.Read().FindPrinter("Busy"));
    ClosePrinter(busy);

    SetLastError(kMarker);
    EXPECT_FALSE(DeletePrinterConnectionA(const_cast<char*>("Stuck")));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME), GetLastError());
    EXPECT_TRUE(DeletePrinterConnectionA(const_cast<char*>("\\\\h\\far")));

    const spoolsim::State left = spooler.Read();
    ASSERT_EQ(1u, left.printers.size());
    EXPECT_EQ("Stuck", left.printers[0].name);
    const std::vector<std::string> expected = {
        "DeletePrinter|Idle|error 5",
        "DeletePrinter|Idle|ok",
        "DeletePrinter|Stuck|error 5",
        "DeletePrinter|Busy|ok",
        "SetJobA|Busy|4|0|DELETE|ok",
        "SetJobA|Busy|9|0|CANCEL|ok",
        "DeletePrinterConnectionA|Stuck|error 1801",
        "DeletePrinterConnectionA|\\\\h\\far|ok",
    };
    EXPECT_EQ(expected, spooler.Journal());
}
