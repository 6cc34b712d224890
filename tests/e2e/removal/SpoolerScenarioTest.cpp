// The removal stops the spooler and starts it again; a busy spooler takes
// its time to stop. However the run ends, printing is on again afterwards.
// Serial: the tests replace the prefix's Spooler service.
#include "RemovalScenario.h"

#include "SpoolerStandIn.h"
#include "TestPaths.h"

namespace {

const char kState[] =
    "[Printer]\nName=Corvel Oficina\nPort=LPT1:\nDriver=VANTO Corvel PCL\nData.VantoDriver08=1\n"
    "[Printer]\nName=Ajena\nPort=LPT2:\nDriver=Otro\n"
    "[Driver]\nName=VANTO Corvel PCL\n[Driver]\nName=Otro\n";

const char kScript[] = "[UnPrinterDrivers]\r\n\"VANTO Corvel PCL\",VCP,1\r\n";

std::string SlowSpoolerProgram() { return BinDirectory() + "..\\bin\\slow_spooler.exe"; }

}  // namespace

TEST(SerialSpoolerScenario, AnUnattendedRemovalWaitsForTheStopBeforeStarting)
{
    SlowStoppingSpooler slow(SlowSpoolerProgram());
    ASSERT_TRUE(slow.running);
    ProgramSandbox sandbox(kState, kScript);
    ASSERT_TRUE(sandbox.Start("/SILENT", "winxp"));
    EXPECT_EQ(0u, sandbox.Driver().WaitForExit(90000));
    EXPECT_EQ((std::vector<std::string>{"Ajena"}), PrinterNames(sandbox.Spooler().Read()));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerStatus().dwCurrentState);
}

TEST(SerialSpoolerScenario, EscapeAfterTheSpoolerStoppedStartsItAgain)
{
    SlowStoppingSpooler slow(SlowSpoolerProgram());
    ASSERT_TRUE(slow.running);
    ProgramSandbox sandbox(kState, kScript);
    RemovalRun run;
    run.chosen = {"Corvel Oficina"};
    // Once the removal's stop request has the service on its way down.
    run.whileRunning = [&sandbox] {
        ASSERT_TRUE(WaitUntil([] { return SpoolerStatus().dwCurrentState != SERVICE_RUNNING; }, 30000));
        PostMessageA(sandbox.WaitForMainWindow(5000), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(1u, outcome.exitCode);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerStatus().dwCurrentState);
}
