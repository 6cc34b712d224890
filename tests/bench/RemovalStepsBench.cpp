// The removal page's eighteen steps on a large installation, run as the
// program runs them (its own 200 ms timer), with each step's work timed.
// The installation is real where Wine has it (services, registry keys,
// INI keys, start-up entries, shortcuts, files) and in the spooler
// simulator for printers, drivers, monitors and print processors.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReport.h"
#include "DirectoryPaths.h"
#include "PrinterEnumeration.h"
#include "PrivateMessages.h"
#include "RemovalPageRun.h"
#include "SimulatedSpooler.h"
#include "SpoolerCallTimer.h"
#include "TimedTicks.h"
#include "StringLoader.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "TestRegistry.h"
#include "UninstallDatabase.h"
#include "UserMessage.h"
#include "Workload.h"

namespace {

const int kSteps = RemovalSequence::kFinalStep + 1;
const double kStepTickBudgetMs = 50;
const int kPrinters = 200;
const int kForeignPrinters = 10;
const int kDrivers = 40;
const int kMonitors = 20;
const int kServices = 10;
const char kBenchKey[] = "SOFTWARE\\VANTO\\Bench";
const char kOemPathsKey[] = "SOFTWARE\\VANTO\\OEM01\\OEMPaths";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kIniName[] = "vzbench.ini";
const char kGroup[] = "VZ Bench";

const char* const kStepNames[kSteps] = {
    "build the removal profile",  "wait for the utility",     "(mark the row)",
    "printers",                   "drivers, three environments", "monitors and hooks",
    "print processors",           "services",                 "stop the spooler",
    "collect the OEM paths",      "shortcuts and groups",     "(pause)",
    "INI keys",                   "start-up entries",         "files",
    "registry lines",             "start the spooler",        "finish",
};

std::string Text(const char* format, int a, int b = 0)
{
    char text[300];
    std::snprintf(text, sizeof(text), format, a, b);
    return text;
}

int RemovalStepOf(const RemovePage& page) { return page.removal.step; }
typedef TimedTicks<RemovePage, kRemovalTimerId, RemovalStepOf> TimedRemovePage;

int AnswerSafely(HWND, const char*, const char*, UINT style)
{
    return (style & MB_TYPEMASK) == MB_YESNO || (style & MB_TYPEMASK) == MB_YESNOCANCEL ? IDNO : IDOK;
}

std::string Directory(int id)
{
    FileSpec folder;
    folder.Resolve(id);
    return folder.DirectoryPath();
}

// One large installation of the package, laid down for one run and taken
// away after it.
class Installation {
public:
    Installation(int run, const FileTrees& files) : run(run), files(files) {}
    ~Installation() { Remove(); }

    std::string SpoolerState() const
    {
        std::string state;
        for (int i = 0; i < kPrinters + kForeignPrinters; ++i) {
            const bool ours = i < kPrinters;
            state += Text("[Printer]\nName=Bench %03d\nPort=LPT1:\n", i);
            state += ours ? Text("Driver=VANTO Bench %02d\nData.VantoDriver08=1\n", i % kDrivers)
                          : std::string("Driver=Otra Marca Laser\n");
            if (i == 0)
                state += "Attributes=0x44\n";
            if (ours && i % 10 == 5)
                state += "Job=1,0,ana,Informe.doc\nJob=2,0,luis,Factura.pdf\n";
        }
        for (int d = 0; d < kDrivers; ++d) {
            state += Text("[Driver]\nName=VANTO Bench %02d\n", d);
            state += Text("[Driver]\nName=VANTO Bench %02d\nEnvironment=Windows 4.0\n", d);
        }
        state += "[Driver]\nName=Otra Marca Laser\n";
        for (int m = 0; m < kMonitors; ++m) {
            state += Text("[Monitor]\nName=VZ Monitor %02d\n", m);
            state += Text("[PrintProcessor]\nName=VZProc%02d\n", m);
        }
        return state;
    }

    // One driver profile per driver, the files and the rest shared out
    // between them.
    std::string Script() const
    {
        std::string drivers = "[UnPrinterDrivers]\r\n";
        std::string sections;
        for (int d = 0; d < kDrivers; ++d) {
            const std::string prefix = Text("B%02d", d);
            drivers += Text("\"VANTO Bench %02d\",", d) + prefix + Text(",%d\r\n", d);
            sections += "[" + prefix + ".Files]\r\n";
            for (std::size_t f = static_cast<std::size_t>(d); f < files.listed.size(); f += kDrivers)
                sections += files.listed[f] + "\r\n";
            sections += "[" + prefix + ".RegistryKeys]\r\n";
            sections += Text("HKLM,SOFTWARE\\VANTO\\Bench\\P%02d,,1\r\n", d);
            for (int k = 0; k < 4; ++k)
                sections += Text("HKLM,SOFTWARE\\VANTO\\Bench\\P%02d\\K%d,,1\r\n", d, k);
            sections += "[" + prefix + ".DeleteIni]\r\n";
            sections += std::string(kIniName) + Text(",S%02d,K0\r\n", d) + kIniName + Text(",S%02d,K1\r\n", d);
            sections += "[" + prefix + ".DeleteLoadRun]\r\n" + Text("\"VZ Estado %02d\",\"vzst%02d.exe\"\r\n", d, d);
            sections += "[" + prefix + ".Services]\r\n" + ServiceName(d % kServices) + "\r\n";
            sections += "[" + prefix + ".Monitors]\r\n" + Text("VZ Monitor %02d\r\n", d % kMonitors);
            sections += "[" + prefix + ".PrintProcessors]\r\n" + Text("VZProc%02d\r\n", d % kMonitors);
            sections += "[" + prefix + ".Shortcuts]\r\n";
            for (int s = 0; s < 2; ++s)
                sections += std::string("\"") + kGroup + Text("\",\"Ayuda %02d-%d\"\r\n", d, s);
        }
        return drivers + "\r\n" + sections;
    }

    bool LayDown()
    {
        bool ok = RestoreMatches(files);
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        for (int s = 0; s < kServices && manager; ++s) {
            const std::string name = ServiceName(s);
            SC_HANDLE service =
                CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                               SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, "C:\\windows\\system32\\vzbench.exe",
                               nullptr, nullptr, nullptr, nullptr, nullptr);
            ok = ok && service;
            if (service)
                CloseServiceHandle(service);
        }
        if (manager)
            CloseServiceHandle(manager);
        else
            ok = false;
        for (int d = 0; d < kDrivers; ++d) {
            for (int k = 0; k < 4; ++k)
                ok = ok && SetText(HKEY_LOCAL_MACHINE, std::string(kBenchKey) + Text("\\P%02d\\K%d", d, k), "Valor", "1");
            for (int k = 0; k < 3; ++k)
                ok = ok && WritePrivateProfileStringA(Text("S%02d", d).c_str(), Text("K%d", k).c_str(), "1",
                                                      IniPath().c_str());
            ok = ok && SetText(HKEY_LOCAL_MACHINE, kRunKey, Text("VZ Estado %02d", d).c_str(),
                               Text("C:\\windows\\vzst%02d.exe", d));
            for (int s = 0; s < 2; ++s)
                ok = ok && MakeShortcut(Text("Ayuda %02d-%d.lnk", d, s));
        }
        for (std::size_t i = 0; i < files.oemPaths.size(); ++i)
            ok = ok && SetText(HKEY_LOCAL_MACHINE, kOemPathsKey, Text("Bench%d", static_cast<int>(i)).c_str(),
                               files.oemPaths[i]);
        return ok;
    }

    // The removal did its work: the package's printers, services, keys,
    // start-up entries, shortcuts and listed files are gone.
    bool Removed(const SimulatedSpooler& spooler) const
    {
        bool ok = true;
        const int printersLeft = static_cast<int>(spooler.Read().printers.size());
        if (printersLeft != kForeignPrinters) {
            std::printf("  %d printers left, expected %d\n", printersLeft, kForeignPrinters);
            ok = false;
        }
        for (int d = 0; d < kDrivers; ++d) {
            const std::string key = std::string(kBenchKey) + Text("\\P%02d", d);
            if (KeyExists(HKEY_LOCAL_MACHINE, key)) {
                std::printf("  %s still there\n", key.c_str());
                ok = false;
                break;
            }
        }
        for (const std::string& path : files.matches) {
            if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
                std::printf("  %s still there\n", path.c_str());
                ok = false;
                break;
            }
        }
        if (GetFileAttributesA((ShortcutFolder() + "Ayuda 00-0.lnk").c_str()) != INVALID_FILE_ATTRIBUTES) {
            std::printf("  shortcuts still there\n");
            ok = false;
        }
        return ok;
    }

private:
    std::string ServiceName(int s) const { return Text("VZBench%d_%d", run, s); }
    std::string IniPath() const { return Directory(DIR_WINDOWS) + kIniName; }
    std::string ShortcutFolder() const { return Directory(DIR_COMMON_PROGRAMS) + kGroup + "\\"; }

    bool MakeShortcut(const std::string& name) const
    {
        CreateDirectoryA(ShortcutFolder().c_str(), nullptr);
        return WriteWholeFile(ShortcutFolder() + name, "[InternetShortcut]\r\n");
    }

    void Remove() const
    {
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        for (int s = 0; s < kServices && manager; ++s) {
            SC_HANDLE service = OpenServiceA(manager, ServiceName(s).c_str(), SERVICE_ALL_ACCESS);
            if (service) {
                DeleteService(service);
                CloseServiceHandle(service);
            }
        }
        if (manager)
            CloseServiceHandle(manager);
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kBenchKey);
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kOemPathsKey);
        HKEY runKey = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &runKey) == ERROR_SUCCESS) {
            for (int d = 0; d < kDrivers; ++d)
                RegDeleteValueA(runKey, Text("VZ Estado %02d", d).c_str());
            RegCloseKey(runKey);
        }
        DeleteFileA(IniPath().c_str());
        for (int d = 0; d < kDrivers; ++d) {
            for (int s = 0; s < 2; ++s)
                DeleteFileA((ShortcutFolder() + Text("Ayuda %02d-%d.lnk", d, s)).c_str());
        }
        RemoveDirectoryA(ShortcutFolder().c_str());
    }

    int run;
    const FileTrees& files;
};

struct StepRun {
    bool ok = false;
    double stepMs[kSteps] = {};
    double stepSpoolerMs[kSteps] = {};
    int ticks = 0;
    double elapsedMs = 0;
};

StepRun RunRemoval(int run, const FileTrees& files, const TempDir& directory)
{
    StepRun result;
    Installation installation(run, files);
    SimulatedSpooler spooler(installation.SpoolerState());
    if (!installation.LayDown()) {
        std::printf("  the installation could not be laid down\n");
        return result;
    }
    const std::string script = directory.Join(Text("run%d\\", run)) + "VUNZ__08.unm";
    UninstallDatabase database;
    if (!directory.Write(Text("run%d\\", run) + "VUNZ__08.unm", installation.Script()) ||
        !database.LoadScript(script.c_str())) {
        std::printf("  the script %s could not be written or loaded\n", script.c_str());
        return result;
    }
    CommandLineSwitches switches;
    switches.ParseText("trelun08.exe");
    database.BuildFullProfile(database.fullProfile, switches);
    StringLoader strings(GetModuleHandleA(nullptr));
    const int enumerated = BuildListOfInstalledPrinters(database.printers, database.osInfo, switches, nullptr, strings);
    if (enumerated != kPrinters + kForeignPrinters) {
        std::printf("  %d printers enumerated, expected %d\n", enumerated, kPrinters + kForeignPrinters);
        return result;
    }

    TimedRemovePage page;
    RemovalPageRun pageRun(database, &page);
    if (!pageRun.Made()) {
        std::printf("  the removal page could not be made (%lu)\n", GetLastError());
        return result;
    }
    pageRun.Show();

    Stopwatch elapsed;
    page.beginRemoval();
    // The large trees stand for the system and printer directories; the
    // prefix's own are left alone. The first tick is 200 ms away.
    page.removal.systemDirectories = files.systemDirectories;
    page.removal.printerDirectories = files.printerDirectories;
    const bool done = pageRun.RunToTheEnd(600000);
    result.elapsedMs = elapsed.ElapsedMs();
    if (!done) {
        std::printf("  the removal did not finish\n");
        return result;
    }
    for (const Tick& tick : page.ticks) {
        if (tick.step >= 0 && tick.step < kSteps && tick.ms > result.stepMs[tick.step]) {
            result.stepMs[tick.step] = tick.ms;
            result.stepSpoolerMs[tick.step] = tick.spoolerMs;
        }
    }
    result.ticks = static_cast<int>(page.ticks.size());
    result.ok = installation.Removed(spooler);
    return result;
}

}  // namespace

int BenchRemovalSteps(int runs)
{
    std::printf("Removal steps, the longest tick of each, on a large installation\n");
    TempDir directory;
    FileTrees files;
    if (!BuildFileTrees(directory.Join("trees\\"), SMALL_TREES, files)) {
        std::printf("  could not lay down the directory trees\n");
        return 1;
    }
    ReportNote(std::to_string(kPrinters) + " printers of the package (a tenth with jobs) and " +
               std::to_string(kForeignPrinters) + " of another maker, " + std::to_string(kDrivers) +
               " drivers in two environments, " + std::to_string(kMonitors) + " monitors and print processors, " +
               std::to_string(kServices) + " services, " + std::to_string(kDrivers * 5) + " registry keys, " +
               std::to_string(kDrivers * 2) + " INI keys, " + std::to_string(kDrivers) + " start-up entries, " +
               std::to_string(kDrivers * 2) + " shortcuts, " + std::to_string(files.listed.size()) +
               " listed files among 2,500 in 230 directories");
    if (!TimeSpoolerCalls()) {
        std::printf("  the spooler calls could not be timed\n");
        return 1;
    }
    const MessageBoxHandler previous = SetMessageBoxHandler(AnswerSafely);
    std::vector<StepRun> results;
    for (int run = 0; run < runs; ++run) {
        results.push_back(RunRemoval(run, files, directory));
        if (!results.back().ok) {
            SetMessageBoxHandler(previous);
            return 1;
        }
    }
    SetMessageBoxHandler(previous);
    for (int step = 0; step < kSteps; ++step) {
        std::vector<double> figures;
        for (const StepRun& run : results)
            figures.push_back(run.stepMs[step]);
        ReportAtMost("step " + std::to_string(step) + ": " + kStepNames[step], figures, kStepTickBudgetMs);
        std::vector<double> spooler;
        for (const StepRun& run : results)
            spooler.push_back(run.stepSpoolerMs[step]);
        if (Median(spooler) >= 1)
            ReportValue("  of which inside the spooler simulator's calls", spooler, "ms");
    }
    std::vector<double> elapsed;
    for (const StepRun& run : results)
        elapsed.push_back(run.elapsedMs);
    ReportValue("the whole removal, " + std::to_string(results[0].ticks) + " ticks", elapsed, "ms");
    return 0;
}
