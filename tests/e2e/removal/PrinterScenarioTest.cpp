// Removals of printers, drivers, print processors and services through the
// real program, checked in the simulator's state and journal and in the
// real registry, files and service control manager.
#include "RemovalScenario.h"

#include <algorithm>

#include "TempDir.h"
#include "TestPaths.h"
#include "TestServices.h"
#include "resource.h"

namespace {

std::string Jobs(int count, int firstId)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Job=" + std::to_string(firstId + i) + ",0,ana,Informe " + std::to_string(i) + "\n";
    return text;
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

const char kPrinterScript[] =
    "[UnPrinterDrivers]\r\n"
    "\"TRELUN Corvel PCL\",VCP,1\r\n"
    "\"TRELUN Corvel PS\",VCS,2\r\n"
    "[VCP.Files]\r\n"
    "trelun_e2e_pcl.dll\r\n"
    "trelun_e2e_shared.dll\r\n"
    "[VCS.Files]\r\n"
    "trelun_e2e_ps.dll\r\n"
    "trelun_e2e_shared.dll\r\n"
    "[VCP.PrintProcessors]\r\n"
    "TrelunProcA\r\n"
    "TrelunProcB\r\n"
    "[VCS.PrintProcessors]\r\n"
    "TrelunProcB\r\n";

const char* const kPrinterFiles[] = {"trelun_e2e_pcl.dll", "trelun_e2e_shared.dll", "trelun_e2e_ps.dll"};

// WIN.INI's default printer and the test files in the system directory,
// put back afterwards.
class PrinterScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedDevice = ProfileString("windows", "device");
        for (const char* name : kPrinterFiles)
            ASSERT_TRUE(PutFile(SystemDirectory() + name));
    }
    void TearDown() override
    {
        WriteProfileStringA("windows", "device", savedDevice.empty() ? nullptr : savedDevice.c_str());
        for (const char* name : kPrinterFiles)
            DeleteFileA((SystemDirectory() + name).c_str());
    }
    std::string savedDevice;
    const ScopedKeys userKeys{HKEY_CURRENT_USER,
                              {"SOFTWARE\\VANTO\\Corvel Sala", "SOFTWARE\\VANTO\\Corvel Oficina"},
                              "SOFTWARE\\VANTO"};
};

}  // namespace

// One printer of the package goes, two stay; the default printer was the
// one that goes, so the last remaining printer in list order (a foreign one)
// takes over. Its ten jobs go first; the print processor only its profile
// names goes once the printers still using it (one kept, one foreign) are
// switched to WinPrint; what the kept printers' profile names stays.
TEST_F(PrinterScenario, OnePrinterGoesOthersStayOnWindowsXp)
{
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\Corvel Oficina", "Bandeja", "2"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\Corvel Sala", "Bandeja", "1"));
    ProgramSandbox sandbox(
        "[Printer]\nName=Corvel Sala\nPort=LPT2:\nDriver=TRELUN Corvel PS\nPrintProcessor=TrelunProcB\n"
        "Data.VantoDriver08=1\n"
        "[Printer]\nName=Corvel Oficina\nPort=LPT1:\nDriver=TRELUN Corvel PCL\nAttributes=0x44\n"
        "PrintProcessor=TrelunProcA\nData.VantoDriver08=1\n" +
            Jobs(10, 31) +
            "[Printer]\nName=Corvel Pasillo\nPort=LPT3:\nDriver=TRELUN Corvel PS\nPrintProcessor=TrelunProcA\n"
            "Datatype=NT EMF 1.008\nData.VantoDriver08=1\n"
            "[Printer]\nName=Ajena\nPort=COM1:\nDriver=Otro\nPrintProcessor=TrelunProcA\nDatatype=NT EMF 1.008\n"
            "[Driver]\nName=TRELUN Corvel PCL\n[Driver]\nName=TRELUN Corvel PS\n[Driver]\nName=Otro\n"
            "[PrintProcessor]\nName=WinPrint\n[PrintProcessor]\nName=TrelunProcA\n"
            "[PrintProcessor]\nName=TrelunProcB\n",
        kPrinterScript);
    RemovalRun run;
    run.chosen = {"Corvel Oficina"};
    run.screenshotName = "removal_one_printer_winxp";
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    ASSERT_TRUE(outcome.started);

    EXPECT_EQ((std::vector<std::string>{
                  ProductText(IDS_DEFAULT_REMOVED_NEW, "Ajena"),
                  kFinishedText}),
              Texts(outcome));
    EXPECT_EQ(kCaptionText, outcome.boxes.at(0).caption);
    EXPECT_EQ("GGGGGGGGG", outcome.marks);
    EXPECT_FALSE(outcome.screenshot.empty());
    EXPECT_EQ(1u, outcome.exitCode);

    const spoolsim::State state = sandbox.Spooler().Read();
    EXPECT_EQ((std::vector<std::string>{"Corvel Sala", "Corvel Pasillo", "Ajena"}), PrinterNames(state));
    EXPECT_FALSE(HasDriver(state, "TRELUN Corvel PCL"));
    EXPECT_TRUE(HasDriver(state, "TRELUN Corvel PS"));
    EXPECT_TRUE(HasDriver(state, "Otro"));
    EXPECT_FALSE(HasProcessor(state, "TrelunProcA"));
    EXPECT_TRUE(HasProcessor(state, "TrelunProcB"));
    for (const char* name : {"Corvel Pasillo", "Ajena"}) {
        const spoolsim::Printer* switched = FindSimPrinter(state, name);
        ASSERT_NE(nullptr, switched) << name;
        EXPECT_EQ("WinPrint", switched->printProcessor) << name;
        EXPECT_EQ("RAW", switched->datatype) << name;
    }
    EXPECT_NE(0u, FindSimPrinter(state, "Ajena")->attributes & 0x4);
    EXPECT_EQ("TrelunProcB", FindSimPrinter(state, "Corvel Sala")->printProcessor);
    EXPECT_EQ("Ajena,winspool,COM1:", ProfileString("windows", "device"));

    // Every job cancelled and deleted before the printer.
    const std::vector<std::string> journal = sandbox.Spooler().Journal();
    const std::size_t deleted = IndexOf(journal, "DeletePrinter|Corvel Oficina|ok");
    ASSERT_LT(deleted, journal.size());
    for (int id = 31; id <= 40; ++id) {
        EXPECT_LT(IndexOf(journal, "SetJobA|Corvel Oficina|" + std::to_string(id) + "|0|CANCEL|ok"), deleted) << id;
        EXPECT_LT(IndexOf(journal, "SetJobA|Corvel Oficina|" + std::to_string(id) + "|0|DELETE|error 87"), deleted)
            << id;
    }

    EXPECT_FALSE(PathExists(SystemDirectory() + "trelun_e2e_pcl.dll"));
    EXPECT_TRUE(PathExists(SystemDirectory() + "trelun_e2e_shared.dll"));
    EXPECT_TRUE(PathExists(SystemDirectory() + "trelun_e2e_ps.dll"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\Corvel Oficina"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\Corvel Sala"));
}

namespace {

const char kVanto[] = "SOFTWARE\\VANTO";
const char kDriversNt[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\";

// The maker's keys, the restart helper and the driver keys the spooler
// leaves behind; removed afterwards whatever the run did.
class LastPrinterScenario : public PrinterScenario {
protected:
    void SetUp() override
    {
        PrinterScenario::SetUp();
        oem = folders.Join("Vanto\\");
        ASSERT_TRUE(folders.MakeDirectory("Vanto"));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kVanto) + "\\OEM01\\OEMPaths", "Corvel",
                            oem.substr(0, oem.size() - 1)));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kVanto) + "\\OEM01\\ProgramGroups", "Vanto", "Vanto"));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kVanto) + "\\VSR32_08\\Sub", "x", "1"));
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kVanto) + "\\Filters", "x", "1"));
        ASSERT_TRUE(PutFile(SystemDirectory() + "ZRESTART.EXE"));
    }
    void TearDown() override
    {
        // A stand-in utility still running would keep its directory.
        PutFile(oem + "release", "");
        WaitUntil([&] { return ReadWholeFile(oem + "standin.log").find("done") != std::string::npos ||
                               !PathExists(oem + "standin.log"); },
                  5000);
        DeleteFileA((SystemDirectory() + "ZRESTART.EXE").c_str());
        PrinterScenario::TearDown();
    }
    const ScopedKeys makerKeys{HKEY_LOCAL_MACHINE,
                               {kVanto, std::string(kDriversNt) + "Version-2\\TRELUN Corvel PCL",
                                std::string(kDriversNt) + "Version-3\\TRELUN Corvel PCL"}};
    TempDir folders;
    std::string oem;
};

}  // namespace

// Every printer goes: a connection and the default printer, whose queue is
// longer than the hundred jobs handled, so the spooler keeps it until its
// last job is gone and refuses its driver, which keeps its keys. Before any printer goes, the removal waits for the maker's utility.
// With no printer left, the maker's keys and the restart helper go too.
TEST_F(LastPrinterScenario, EveryPrinterGoesAfterTheUtility)
{
    for (const char* version : {"Version-2\\", "Version-3\\"})
        ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kDriversNt) + version + "TRELUN Corvel PCL\\Sub", "x", "1"));
    ASSERT_TRUE(CopyFileA((BinDirectory() + "..\\bin\\utility_standin.exe").c_str(), (oem + "PELLIV32.EXE").c_str(),
                          FALSE));
    // Beside the OEM directory, not in it: never looked at.
    ASSERT_TRUE(PutFile(folders.Join("trelun_e2e_pcl.dll")));
    ASSERT_TRUE(PutFile(oem + "bin\\trelun_e2e_pcl.dll"));
    ProgramSandbox sandbox("[Printer]\nName=Corvel Uno\nPort=LPT1:\nDriver=TRELUN Corvel PCL\nAttributes=0x44\n"
                           "Data.VantoDriver08=1\n" +
                               Jobs(101, 1) +
                               "[Printer]\nName=\\\\HOST\\Tinta\nServer=\\\\HOST\nDriver=TRELUN Tinta\n"
                               "Data.VantoDriver08=1\n"
                               "[Driver]\nName=TRELUN Corvel PCL\n[Driver]\nName=TRELUN Tinta\n",
                           "[UnPrinterDrivers]\r\n\"TRELUN Corvel PCL\",VCP,1\r\n\"TRELUN Tinta\",VTI,3\r\n"
                           "[VCP.Files]\r\ntrelun_e2e_pcl.dll\r\nPELLIV32.EXE\r\n");
    RemovalRun run;
    run.screenshotName = "removal_every_printer_winxp";
    std::string waitingMarks;
    bool journalEmptyWhileWaiting = false;
    run.whileRunning = [&] {
        ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(oem + "standin.log").find('[') != std::string::npos; },
                              20000));
        // Held on row 1 while it runs: no printer goes.
        journalEmptyWhileWaiting = true;
        for (int i = 0; i < 10; ++i) {
            Sleep(100);
            journalEmptyWhileWaiting = journalEmptyWhileWaiting && sandbox.Spooler().Journal().empty();
        }
        HWND main = sandbox.WaitForMainWindow(1000);
        if (main) {
            KeepOnTop(main);
            WaitUntil([&] { return ScreenMarks(sandbox.RemovalPage(main)) == "GRggggggg"; }, 2000);
            waitingMarks = ScreenMarks(sandbox.RemovalPage(main));
            SaveScreenshot(main, "removal_utility_wait_winxp");
        }
        EXPECT_TRUE(PutFile(oem + "release", ""));
    };
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    ASSERT_TRUE(outcome.started);

    EXPECT_TRUE(journalEmptyWhileWaiting);
    EXPECT_EQ("GRggggggg", waitingMarks);
    EXPECT_EQ("[ /d]\r\ndone\r\n", ReadWholeFile(oem + "standin.log"));
    EXPECT_EQ((std::vector<std::string>{
                  ProductText(IDS_DEFAULT_REMOVED_NONE),
                  kFinishedText}),
              Texts(outcome));
    EXPECT_EQ("GGGGGGGGG", outcome.marks);
    EXPECT_EQ(1u, outcome.exitCode);

    const spoolsim::State state = sandbox.Spooler().Read();
    ASSERT_EQ((std::vector<std::string>{"Corvel Uno"}), PrinterNames(state));
    EXPECT_TRUE(state.printers[0].pendingDeletion);
    EXPECT_EQ(1u, state.printers[0].jobs.size());
    EXPECT_TRUE(HasDriver(state, "TRELUN Corvel PCL"));
    EXPECT_FALSE(HasDriver(state, "TRELUN Tinta"));
    const std::vector<std::string> journal = sandbox.Spooler().Journal();
    EXPECT_LT(IndexOf(journal, "DeletePrinterConnectionA|\\\\HOST\\Tinta|ok"), journal.size());
    EXPECT_LT(IndexOf(journal, "DeletePrinterDriverA|(null)|(null)|TRELUN Corvel PCL|error 3001"), journal.size());
    for (const char* version : {"Version-2\\", "Version-3\\"})
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kDriversNt) + version + "TRELUN Corvel PCL\\Sub"))
            << version;

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kVanto));
    EXPECT_FALSE(PathExists(SystemDirectory() + "ZRESTART.EXE"));
    EXPECT_FALSE(PathExists(oem + "PELLIV32.EXE"));
    EXPECT_FALSE(PathExists(oem + "bin\\trelun_e2e_pcl.dll"));
    EXPECT_TRUE(PathExists(folders.Join("trelun_e2e_pcl.dll")));
}

namespace {

const char kService[] = "TrelunE2eService";

}  // namespace

// A service of the package is marked for deletion with the real service
// control manager, which asks for a restart: the restart helper then stays.
// NT never offers the restart. The package's unregistration hook is called.
TEST_F(LastPrinterScenario, ServicesAndHooksOnWindowsXp)
{
    DeleteTestService(kService);
    ASSERT_TRUE(CreateTestService(kService));
    ASSERT_EQ(0u, ServiceOpenError(kService));

    ProgramSandbox sandbox("[Printer]\nName=Corvel Uno\nPort=LPT1:\nDriver=TRELUN Corvel PCL\nData.VantoDriver08=1\n"
                           "[Driver]\nName=TRELUN Corvel PCL\n",
                           std::string(kPrinterScript) + "[VCP.Services]\r\nTrelunE2eService\r\nNoSuchTrelunService\r\n"
                                                         "[VCP.Hooks]\r\nC:\\elsewhere\\vhookprobe.dll,UnregisterProbe\r\n");
    ASSERT_TRUE(CopyFileA((BinDirectory() + "..\\bin\\vhookprobe.dll").c_str(),
                          (sandbox.Directory() + "vhookprobe.dll").c_str(), FALSE));
    RemovalRun run;
    run.screenshotName = "removal_services_winxp";
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ((std::vector<std::string>{kFinishedText}), Texts(outcome));
    EXPECT_EQ("GGGGGGGGG", outcome.marks);

    EXPECT_NE(0u, ServiceOpenError(kService));
    EXPECT_TRUE(PathExists(SystemDirectory() + "ZRESTART.EXE"));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string calls =
        std::string(temp) + "trelun_hook_calls_" + std::to_string(sandbox.Driver().ProcessId()) + ".txt";
    const std::string directory = sandbox.Directory();
    EXPECT_EQ(directory + "|" + directory.substr(0, directory.size() - 1) + "|0\r\n", ReadWholeFile(calls));
    DeleteFileA(calls.c_str());
    DeleteTestService(kService);
}

namespace {

const char kPrinters9x[] = "System\\CurrentControlSet\\control\\Print\\Printers\\";

}  // namespace

// The same removal on Windows 98: every removal there ends with the restart
// question (answered No). The spooler's default attribute moves, WIN.INI is
// left alone, and the printer's keys go through the registry step instead of
// the per-user values.
TEST_F(PrinterScenario, OnePrinterGoesOthersStayOnWindows98)
{
    const ScopedKeys printerKeys(HKEY_LOCAL_MACHINE,
                                 {std::string(kPrinters9x) + "Corvel Oficina", std::string(kPrinters9x) + "Corvel Sala"});
    const std::string devices = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices";
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, devices, "Corvel Oficina", "winspool,LPT1:"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Oficina\\PrinterDriverData", "x", "1"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Sala\\PrinterDriverData", "x", "1"));
    WriteProfileStringA("windows", "device", "Corvel Oficina,winspool,LPT1:");
    ProgramSandbox sandbox(
        "[Printer]\nName=Corvel Sala\nPort=LPT2:\nDriver=TRELUN Corvel PS\nPrintProcessor=TrelunProcB\n"
        "Data.VantoDriver08=1\n"
        "[Printer]\nName=Corvel Oficina\nPort=LPT1:\nDriver=TRELUN Corvel PCL\nAttributes=0x44\n"
        "PrintProcessor=TrelunProcA\nData.VantoDriver08=1\n" +
            Jobs(3, 31) +
            "[Driver]\nName=TRELUN Corvel PCL\n[Driver]\nName=TRELUN Corvel PS\n"
            "[PrintProcessor]\nName=WinPrint\n[PrintProcessor]\nName=TrelunProcA\n[PrintProcessor]\nName=TrelunProcB\n",
        kPrinterScript);
    RemovalRun run;
    run.version = "win98";
    run.chosen = {"Corvel Oficina"};
    run.closingAnswer = IDNO;
    run.screenshotName = "removal_one_printer_win98";
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    ASSERT_TRUE(outcome.started);

    EXPECT_EQ((std::vector<std::string>{
                  ProductText(IDS_DEFAULT_REMOVED_NEW, "Corvel Sala"),
                  kRestartQuestionText}),
              Texts(outcome));
    EXPECT_EQ("GGGGGGGGG", outcome.marks);
    EXPECT_EQ(1u, outcome.exitCode);

    const spoolsim::State state = sandbox.Spooler().Read();
    EXPECT_EQ((std::vector<std::string>{"Corvel Sala"}), PrinterNames(state));
    EXPECT_NE(0u, state.printers.at(0).attributes & 0x4);
    EXPECT_FALSE(HasDriver(state, "TRELUN Corvel PCL"));
    EXPECT_FALSE(HasProcessor(state, "TrelunProcA"));
    EXPECT_TRUE(HasProcessor(state, "TrelunProcB"));
    EXPECT_EQ("Corvel Oficina,winspool,LPT1:", ProfileString("windows", "device"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, devices, "Corvel Oficina"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Oficina"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Sala\\PrinterDriverData"));
    EXPECT_FALSE(PathExists(SystemDirectory() + "trelun_e2e_pcl.dll"));

    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, devices.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Corvel Oficina");
        RegCloseKey(key);
    }
}

// Both printers are chosen; the spooler refuses to delete one. It is still
// there, so it keeps its 9x printer key, its driver and its files, and the
// final clean-up does not run; the other printer's own driver and file go.
TEST_F(PrinterScenario, APrinterTheSpoolerKeepsKeepsWhatItNeedsOnWindows98)
{
    const std::string makerGroups = "SOFTWARE\\VANTO\\OEM01\\ProgramGroups";
    const ScopedKeys keys(HKEY_LOCAL_MACHINE,
                          {std::string(kPrinters9x) + "Corvel Oficina", std::string(kPrinters9x) + "Corvel Sala",
                           "SOFTWARE\\VANTO\\OEM01"},
                          "SOFTWARE\\VANTO");
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, makerGroups, "Vanto", "Vanto"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Oficina\\PrinterDriverData", "x", "1"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Sala\\PrinterDriverData", "x", "1"));
    ProgramSandbox sandbox("[Printer]\nName=Corvel Sala\nPort=LPT2:\nDriver=TRELUN Corvel PS\nData.VantoDriver08=1\n"
                           "[Printer]\nName=Corvel Oficina\nPort=LPT1:\nDriver=TRELUN Corvel PCL\nDeleteError=5\n"
                           "Data.VantoDriver08=1\n"
                           "[Driver]\nName=TRELUN Corvel PCL\n[Driver]\nName=TRELUN Corvel PS\n",
                           kPrinterScript);
    RemovalRun run;
    run.version = "win98";
    run.closingAnswer = IDNO;
    const RemovalOutcome outcome = RunRemoval(sandbox, run);
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(1u, outcome.exitCode);

    const spoolsim::State state = sandbox.Spooler().Read();
    EXPECT_EQ((std::vector<std::string>{"Corvel Oficina"}), PrinterNames(state));
    EXPECT_TRUE(HasDriver(state, "TRELUN Corvel PCL"));
    EXPECT_FALSE(HasDriver(state, "TRELUN Corvel PS"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Oficina\\PrinterDriverData"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kPrinters9x) + "Corvel Sala"));
    EXPECT_TRUE(PathExists(SystemDirectory() + "trelun_e2e_pcl.dll"));
    EXPECT_TRUE(PathExists(SystemDirectory() + "trelun_e2e_shared.dll"));
    EXPECT_FALSE(PathExists(SystemDirectory() + "trelun_e2e_ps.dll"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, makerGroups)) << "no final clean-up while a printer stays";
}
