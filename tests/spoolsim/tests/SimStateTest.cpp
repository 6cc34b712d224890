#include <gtest/gtest.h>

#include "SimState.h"

using namespace spoolsim;

namespace {

const char kFullState[] =
    "[Spooler]\r\nEnvironment=Windows 4.0\r\nEnumPrintersError=1722\r\nEnumPrintersDataError=5\r\n"
    "\r\n[Printer]\r\nName=Office Laser\r\nServer=\\\\HOST\r\nShare=office\r\nPort=LPT1:\r\n"
    "Driver=Vanto Laser 08\r\nComment=second floor\r\nLocation=room 12\r\nPrintProcessor=VantoProc\r\n"
    "Datatype=NT EMF 1.008\r\nAttributes=0x00000244\r\nPriority=7\r\nStatus=1\r\nPendingDeletion=1\r\n"
    "Data.VantoDriver08=1\r\nData.PellPrinter=Other\r\nJob=12,0,alice,Report, final.doc\r\n"
    "OpenError=5\r\nLevel2Error=6\r\nLevel2SizeError=7\r\nSetError=8\r\nDeleteError=9\r\n"
    "\r\n[Driver]\r\nName=Vanto Laser 08\r\nEnvironment=Windows NT x86\r\nVersion=2\r\n"
    "DriverPath=C:\\d\\v.dll\r\nDataFile=C:\\d\\v.ppd\r\nConfigFile=C:\\d\\vui.dll\r\nDeleteError=3001\r\n"
    "\r\n[Monitor]\r\nName=Vanto Port\r\nDll=vmon.dll\r\nDeleteError=5\r\n"
    "\r\n[PrintProcessor]\r\nName=VantoProc\r\nEnvironment=Windows 4.0\r\nDll=vproc.dll\r\nDeleteError=5\r\n";

}  // namespace

TEST(SimState, FormatIsCanonicalAndRoundTrips)
{
    State state;
    std::string error;
    ASSERT_TRUE(ParseState(kFullState, state, error)) << error;
    EXPECT_EQ(kFullState, FormatState(state));

    const Printer& p = state.printers.at(0);
    EXPECT_EQ("\\\\HOST", p.server);
    EXPECT_EQ(0x244u, p.attributes);
    ASSERT_EQ(1u, p.jobs.size());
    EXPECT_EQ(12u, p.jobs[0].id);
    EXPECT_EQ("alice", p.jobs[0].user);
    EXPECT_EQ("Report, final.doc", p.jobs[0].document);
    ASSERT_NE(nullptr, p.FindValue("pellprinter"));
    EXPECT_EQ("Other", p.FindValue("PELLPRINTER")->text);
    EXPECT_EQ(nullptr, p.FindValue("UniqueID"));
    EXPECT_EQ(&state.printers[0], state.FindPrinter("OFFICE LASER"));
}

TEST(SimState, AttributesDefaultByKindOfPrinter)
{
    State state;
    std::string error;
    ASSERT_TRUE(ParseState("[Printer]\nName=A\n[Printer]\nName=\\\\H\\B\nServer=\\\\H\n", state, error)) << error;
    EXPECT_EQ(0x40u, state.printers[0].attributes);
    EXPECT_EQ(0x10u, state.printers[1].attributes);
    EXPECT_EQ("WinPrint", state.printers[0].printProcessor);
    EXPECT_EQ("RAW", state.printers[0].datatype);

    ASSERT_TRUE(ParseState("", state, error));
    EXPECT_TRUE(state.printers.empty());
}

// A typing mistake in a test's state must not pass as an empty spooler.
TEST(SimState, RefusesTextItDoesNotUnderstand)
{
    const char* const bad[] = {
        "[Printers]\nName=A\n",
        "[Printer]\nName=A\nColour=red\n",
        "[Printer]\nPort=LPT1:\n",
        "[Printer]\nName=A\n[Printer]\nName=a\n",
        "[Printer]\nName=A\nAttributes=12x\n",
        "[Printer]\nName=A\nPriority=-1\n",
        "[Printer]\nName=A\nJob=0,0,u,doc\n",
        "[Printer]\nName=A\nJob=5,x,u,doc\n",
        "[Printer]\nName=A\nJob=5,0,u\n",
        "[Printer]\nName=A\nPendingDeletion=2\n",
        "[Printer\nName=A\n",
        "Name=A\n",
        "[Driver]\nEnvironment=Windows 4.0\n",
        "[Spooler]\nVersion=3\n",
    };
    for (const char* text : bad) {
        State state;
        std::string error;
        EXPECT_FALSE(ParseState(text, state, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}
