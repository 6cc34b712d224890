// Unattended runs as a deployment system starts them: no window of the
// program ever becomes visible, nothing waits for an answer, the exit code
// tells the outcome and the log holds the events of the run.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProductText.h"
#include "ProgramSandbox.h"
#include "RemovalScenario.h"
#include "SpoolerStandIn.h"
#include "TestPaths.h"
#include "resource.h"

namespace {

const char kForeignOnly[] = "[Printer]\nName=Ajena\nPort=LPT2:\nDriver=Otro\n[Driver]\nName=Otro\n";

struct SilentOutcome {
    unsigned long exitCode = STILL_ACTIVE;
    int windowsSeen = 0;    // top-level windows of the process, visible or not
    int visibleSeen = 0;    // samples in which one of them was visible
    std::string log;
};

// Watches the process's top-level windows until it ends.
SilentOutcome WatchUntilExit(ProgramSandbox& run, const std::string& logPath, DWORD timeoutMs = 90000)
{
    SilentOutcome outcome;
    const DWORD start = GetTickCount();
    while (!run.Driver().HasExited() && GetTickCount() - start < timeoutMs) {
        const std::vector<HWND> windows = run.Driver().TopLevelWindows();
        if (static_cast<int>(windows.size()) > outcome.windowsSeen)
            outcome.windowsSeen = static_cast<int>(windows.size());
        for (HWND window : windows) {
            if (IsWindowVisible(window)) {
                ++outcome.visibleSeen;
                break;
            }
        }
        Sleep(10);
    }
    outcome.exitCode = run.Driver().WaitForExit(5000);
    outcome.log = ReadWholeFile(logPath);
    return outcome;
}

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(SilentMode, RemovesTheListedPrintersWithoutAWindowAndEndsWithZero)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    const std::string logPath = run.Directory() + "silent run.log";
    ASSERT_TRUE(run.Start("/SILENT /LOG:\"" + logPath + "\"", "winxp"));
    const SilentOutcome outcome = WatchUntilExit(run, logPath);

    EXPECT_EQ(0u, outcome.exitCode);
    EXPECT_GT(outcome.windowsSeen, 0) << "the program's dialogs exist, hidden";
    EXPECT_EQ(0, outcome.visibleSeen);
    EXPECT_EQ((std::vector<std::string>{"Ajena"}), PrinterNames(run.Spooler().Read()));

    const std::string& log = outcome.log;
    EXPECT_TRUE(Holds(log, " Start ")) << log;
    EXPECT_TRUE(Holds(log, "/SILENT")) << log;
    EXPECT_TRUE(Holds(log, " Windows platform=2 version=5.1")) << log;
    EXPECT_TRUE(Holds(log, " ScriptFound ")) << log;
    EXPECT_TRUE(Holds(log, " ScriptLoaded ")) << log;
    EXPECT_TRUE(Holds(log, " PrinterFound Corvel Oficina driver=VANTO Corvel PCL")) << log;
    EXPECT_TRUE(Holds(log, " RemovalProfile drivers=2 ")) << log;
    EXPECT_TRUE(Holds(log, " DeletePrinter Corvel Oficina result=0")) << log;
    EXPECT_TRUE(Holds(log, " DeletePrinter Corvel Pasillo result=0")) << log;
    EXPECT_TRUE(Holds(log, " DeletePrinterDriver VANTO Corvel PS result=0")) << log;
    EXPECT_TRUE(Holds(log, " MessageSuppressed string=199 ")) << log;
    EXPECT_TRUE(Holds(log, " Exit  result=0\r\n")) << log;
    // Every line starts with its timestamp.
    std::size_t lineStart = 0;
    int lines = 0;
    while (lineStart < log.size()) {
        const std::size_t end = log.find("\r\n", lineStart);
        ASSERT_NE(std::string::npos, end);
        const std::string line = log.substr(lineStart, end - lineStart);
        ASSERT_GE(line.size(), 24u) << line;
        EXPECT_EQ('-', line[4]) << line;
        EXPECT_EQ(':', line[13]) << line;
        EXPECT_EQ('.', line[19]) << line;
        lineStart = end + 2;
        ++lines;
    }
    EXPECT_GT(lines, 10);
}

TEST(SilentMode, TheFilterNarrowsWhatGoesAndTheLogIsAppended)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    const std::string logPath = run.Directory() + "fleet.log";
    ASSERT_TRUE(WriteWholeFile(logPath, "earlier run\r\n"));
    ASSERT_TRUE(run.Start("-silent /PRN:\"VANTO Corvel PS\" -log:" + logPath, "winxp"));
    const SilentOutcome outcome = WatchUntilExit(run, logPath);

    EXPECT_EQ(0u, outcome.exitCode);
    EXPECT_EQ(0, outcome.visibleSeen);
    EXPECT_EQ((std::vector<std::string>{"Corvel Oficina", "Ajena"}), PrinterNames(run.Spooler().Read()));
    EXPECT_EQ(0u, outcome.log.find("earlier run\r\n")) << outcome.log;
    EXPECT_TRUE(Holds(outcome.log, " DeletePrinter Corvel Pasillo result=0")) << outcome.log;
    EXPECT_FALSE(Holds(outcome.log, " DeletePrinter Corvel Oficina")) << outcome.log;
}

TEST(SilentMode, AFileInUseIsScheduledAndEndsWith3010)
{
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string busyFile = std::string(system) + "\\trelun_silent_busy.dll";
    ASSERT_TRUE(WriteWholeFile(busyFile, "in use"));
    const std::string pendingBefore = RawPendingRenames();
    const std::string script = std::string(kTwoOfThePackageScript) + "[VCP.Files]\r\ntrelun_silent_busy.dll\r\n";
    {
        ProgramSandbox run(kTwoOfThePackage, script);
        const std::string logPath = run.Directory() + "busy.log";
        // Open without delete sharing: the deletion must wait for a restart.
        HANDLE held = CreateFileA(busyFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        {
            // The what-if run sees the same and schedules nothing.
            ProgramSandbox look(kTwoOfThePackage, script);
            const std::string report = look.Directory() + "busy.txt";
            ASSERT_TRUE(look.Start("/SILENT /WHATIF:" + report, "winxp"));
            EXPECT_EQ(3010u, WatchUntilExit(look, "").exitCode);
            EXPECT_TRUE(Holds(ReadWholeFile(report), "|DeleteFile|at the next restart|" + busyFile + "\r\n"));
            EXPECT_EQ(pendingBefore, RawPendingRenames());
        }
        ASSERT_TRUE(run.Start("/SILENT /LOG:" + logPath, "winxp"));
        const SilentOutcome outcome = WatchUntilExit(run, logPath);
        CloseHandle(held);

        EXPECT_EQ(3010u, outcome.exitCode);
        EXPECT_EQ(0, outcome.visibleSeen);
        EXPECT_TRUE(PathExists(busyFile));
        EXPECT_TRUE(Holds(RawPendingRenames(), "trelun_silent_busy.dll")) << "the deletion is scheduled";
        EXPECT_TRUE(Holds(outcome.log, "ScheduleDeleteAtRestart " + busyFile + " result=0")) << outcome.log;
        EXPECT_TRUE(Holds(outcome.log, " Exit  result=3010")) << outcome.log;
    }
    RestorePendingRenames(pendingBefore);
    DeleteFileA(busyFile.c_str());
}

TEST(SilentMode, NothingOfThePackageEndsWith1605)
{
    ProgramSandbox run(kForeignOnly, "");
    const std::string logPath = run.Directory() + "nothing.log";
    ASSERT_TRUE(run.Start("/SILENT /LOG:" + logPath, "winxp"));
    const SilentOutcome outcome = WatchUntilExit(run, logPath);

    EXPECT_EQ(1605u, outcome.exitCode);
    EXPECT_EQ(0, outcome.visibleSeen);
    EXPECT_EQ((std::vector<std::string>{"Ajena"}), PrinterNames(run.Spooler().Read()));
    EXPECT_TRUE(Holds(outcome.log, " PrinterFound Ajena ")) << outcome.log;
    EXPECT_TRUE(Holds(outcome.log, " foreign=1 ")) << outcome.log;
    EXPECT_TRUE(Holds(outcome.log, " NothingFound ")) << outcome.log;
    EXPECT_FALSE(Holds(outcome.log, " DeletePrinter ")) << outcome.log;
    EXPECT_TRUE(Holds(outcome.log, " Exit  result=1605")) << outcome.log;
}

// A mistyped or unusable switch ends an unattended run before anything is
// touched: without the check, every printer of the package would go.
TEST(SilentMode, AnUnusableSwitchEndsWith1639AndTouchesNothing)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    const std::string logPath = run.Directory() + "typo.log";
    ASSERT_TRUE(run.Start("/SILENT /LOG:" + logPath + " /MFG:VANTO /WHATIFF:report.txt", "winxp"));
    const SilentOutcome outcome = WatchUntilExit(run, logPath);

    EXPECT_EQ(1639u, outcome.exitCode);
    EXPECT_EQ(0, outcome.windowsSeen);
    EXPECT_EQ((std::vector<std::string>{"Corvel Oficina", "Corvel Pasillo", "Ajena"}), PrinterNames(run.Spooler().Read()));
    EXPECT_TRUE(run.Spooler().Journal().empty());
    EXPECT_TRUE(Holds(outcome.log, " InvalidCommandLine /WHATIFF: unknown switch")) << outcome.log;
    EXPECT_TRUE(Holds(outcome.log, " Exit  result=1639")) << outcome.log;
}

// "/WHATIF": the run that would happen, reported and not carried out.
TEST(SilentMode, WhatIfReportsTheRemovalAndTouchesNothing)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    const std::string logPath = run.Directory() + "whatif.log";
    const std::string reportPath = run.Directory() + "whatif.txt";
    ASSERT_TRUE(run.Start("/SILENT /WHATIF:" + reportPath + " /LOG:" + logPath, "winxp"));
    const SilentOutcome outcome = WatchUntilExit(run, logPath);

    EXPECT_EQ(0u, outcome.exitCode);
    EXPECT_EQ(0, outcome.visibleSeen);
    EXPECT_EQ((std::vector<std::string>{"Corvel Oficina", "Corvel Pasillo", "Ajena"}), PrinterNames(run.Spooler().Read()));
    EXPECT_TRUE(run.Spooler().Journal().empty());
    const std::string report = ReadWholeFile(reportPath);
    for (const char* line : {"\r\nExitCode=0\r\n", "=Printers|DeletePrinter|found|Corvel Oficina\r\n",
                             "=Printers|DeletePrinter|found|Corvel Pasillo\r\n",
                             "=Printers|SetDefaultPrinter|found|Ajena\r\n",
                             "=Drivers|DeletePrinterDriver|found|Windows NT x86\\VANTO Corvel PS\r\n",
                             "=Spooler|StopSpooler|found|Spooler\r\n"})
        EXPECT_TRUE(Holds(report, line)) << line << "\n" << report;
    EXPECT_FALSE(Holds(report, "DeletePrinter|found|Ajena")) << report;
    EXPECT_FALSE(Holds(report, "|Windows NT x86\\Otro")) << report;
    EXPECT_TRUE(Holds(outcome.log, " WhatIfReport " + reportPath + " result=0")) << outcome.log;
}

// Nothing of the package here: 1605, in the report too; a report that
// cannot be written: 1603.
TEST(SilentMode, WhatIfEndsWith1605WhenNothingWouldGoAnd1603WithoutItsReport)
{
    ProgramSandbox run(kForeignOnly, kTwoOfThePackageScript);
    const std::string reportPath = run.Directory() + "nothing.txt";
    ASSERT_TRUE(run.Start("/SILENT /WHATIF:" + reportPath, "winxp"));
    EXPECT_EQ(1605u, WatchUntilExit(run, "").exitCode);
    EXPECT_TRUE(Holds(ReadWholeFile(reportPath), "\r\nExitCode=1605\r\n"));

    ProgramSandbox unwritable(kTwoOfThePackage, kTwoOfThePackageScript);
    ASSERT_TRUE(unwritable.Start("/SILENT /WHATIF:Q:\\no\\such\\directory\\r.txt", "winxp"));
    EXPECT_EQ(1603u, WatchUntilExit(unwritable, "").exitCode);
    EXPECT_TRUE(unwritable.Spooler().Journal().empty());
}

// A log that cannot be written (a directory that does not exist) changes
// nothing: the removal runs and ends as usual.
TEST(SilentMode, AnUnwritableLogDoesNotStopTheRemoval)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    ASSERT_TRUE(run.Start("/SILENT /LOG:Q:\\no\\such\\directory\\x.log", "winxp"));
    const SilentOutcome outcome = WatchUntilExit(run, "Q:\\no\\such\\directory\\x.log");
    EXPECT_EQ(0u, outcome.exitCode);
    EXPECT_EQ(0, outcome.visibleSeen);
    EXPECT_EQ((std::vector<std::string>{"Ajena"}), PrinterNames(run.Spooler().Read()));
    EXPECT_TRUE(outcome.log.empty());
}

namespace {

// The wizard under Windows XP: the second listed printer chosen and
// "Desinstalar" pressed.
void StartAndUninstallSecondPrinter(ProgramSandbox& run, const std::string& commandLine)
{
    ASSERT_TRUE(run.Start(commandLine, "winxp"));
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    HWND list = run.SelectionList(main);
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(run.Driver().SetListViewSelection(list, 1, true));
    ASSERT_TRUE(WaitUntil([&] { return UiDriver::IsEnabled(main, 1080); }, 5000));
    UiDriver::Click(main, 1080);
}

}  // namespace

// Without SILENT the log still records the run, and the message is shown
// and answered by a person as before.
TEST(SilentMode, ALogWithoutSilentKeepsTheUsualRun)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    const std::string logPath = run.Directory() + "shown.log";
    ASSERT_NO_FATAL_FAILURE(StartAndUninstallSecondPrinter(run, "/LOG:" + logPath));
    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 90000, &exitCode);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(ProductText(IDS_FINISHED), boxes[0].text);
    EXPECT_EQ(1u, exitCode);
    const std::string log = ReadWholeFile(logPath);
    EXPECT_TRUE(Holds(log, " MessageShown string=199 ")) << log;
    EXPECT_TRUE(Holds(log, " Mode interactive")) << log;
    EXPECT_TRUE(Holds(log, " Exit  result=1")) << log;
}

// Interactive, the user chooses as usual; the end names the report and what
// it counts instead of announcing a removal.
TEST(SilentMode, InteractiveWhatIfEndsWithTheReportsCounts)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    const std::string reportPath = run.Directory() + "shown.txt";
    ASSERT_NO_FATAL_FAILURE(StartAndUninstallSecondPrinter(run, "/WHATIF:" + reportPath));
    const auto boxes = run.AnswerUntilExit(IDOK, 90000, nullptr);
    ASSERT_EQ(1u, boxes.size());
    const std::string report = ReadWholeFile(reportPath);
    const std::size_t found = report.find("\r\nFound=");
    ASSERT_NE(std::string::npos, found) << report;
    const std::string count = report.substr(found + 8, report.find('\r', found + 8) - found - 8);
    EXPECT_TRUE(Holds(boxes[0].text, reportPath)) << boxes[0].text;
    EXPECT_TRUE(Holds(boxes[0].text, "ahora: " + count + "\n")) << boxes[0].text;
    EXPECT_EQ((std::vector<std::string>{"Corvel Oficina", "Corvel Pasillo", "Ajena"}), PrinterNames(run.Spooler().Read()));
    EXPECT_TRUE(run.Spooler().Journal().empty());
}

// The loading stops the spooler and cannot start it again: a fatal error,
// nothing removed, 1603.
TEST(SerialSilentMode, ASpoolerThatCannotStartEndsWith1603)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    const std::string logPath = run.Directory() + "fatal.log";
    SilentOutcome outcome;
    {
        FailingSpoolerStart spooler;
        ASSERT_TRUE(spooler.changed);
        ASSERT_TRUE(run.Start("/SILENT /LOG:" + logPath, "winxp"));
        outcome = WatchUntilExit(run, logPath);
    }
    EXPECT_EQ(1603u, outcome.exitCode);
    EXPECT_EQ(0, outcome.visibleSeen);
    EXPECT_EQ(3u, PrinterNames(run.Spooler().Read()).size());
    EXPECT_TRUE(Holds(outcome.log, " LoadingFailed  result=")) << outcome.log;
    EXPECT_TRUE(Holds(outcome.log, " MessageSuppressed string=")) << outcome.log;
    EXPECT_FALSE(Holds(outcome.log, " DeletePrinter ")) << outcome.log;
    EXPECT_TRUE(Holds(outcome.log, " Exit  result=1603")) << outcome.log;
}
