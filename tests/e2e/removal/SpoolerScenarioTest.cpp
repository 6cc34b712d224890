// The removal stops the spooler and starts it again; a busy spooler takes
// its time to stop. However the run ends, printing is on again afterwards.
// Serial: the tests replace the prefix's Spooler service.
#include "RemovalScenario.h"

#include "SpoolerStandIn.h"
#include "TestPaths.h"
#include "resource.h"

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
    ASSERT_TRUE(sandbox.Start("", "winxp"));
    HWND main = sandbox.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    HWND list = sandbox.SelectionList(main);
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(sandbox.Driver().SetListViewSelection(list, 0, true));
    ASSERT_TRUE(WaitUntil([&] { return UiDriver::IsEnabled(main, IDC_UNINSTALL); }, 5000));
    UiDriver::Click(main, IDC_UNINSTALL);
    // The removal's stop request: the service is on its way down.
    ASSERT_TRUE(WaitUntil([] { return SpoolerStatus().dwCurrentState != SERVICE_RUNNING; }, 30000));
    PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0);
    unsigned long exitCode = 0;
    sandbox.AnswerUntilExit(IDOK, 30000, &exitCode);
    EXPECT_EQ(1u, exitCode);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerStatus().dwCurrentState);
}
