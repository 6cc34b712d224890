// The loading dialog's ticks with many scripts and printers, the removal
// profile with many printers, and the printer enumeration on its own.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReport.h"
#include "LoadingDlg.h"
#include "PrinterEnumeration.h"
#include "PrivateMessages.h"
#include "RemovalProfileBuild.h"
#include "SimulatedSpooler.h"
#include "SpoolerCallTimer.h"
#include "TimedTicks.h"
#include "TempDir.h"
#include "UninstallDatabase.h"
#include "UserMessage.h"
#include "Workload.h"
#include "resource.h"

namespace {

const double kTickBudgetMs = 50;
const int kLoadingSteps = 11;
const int kEnumeratedPrinters = 2000;
const int kDatabasePrinters = 1000;

const char* const kStepNames[kLoadingSteps] = {
    "administrator check",        "close companion programs", "stop the spooler",
    "wait (spooler stop)",        "start the spooler",        "wait (spooler start)",
    "find the scripts",           "load the scripts",         "BuildFullProfile and add-on rule",
    "enumerate the printers",     "close companion programs again",
};

int LoadingStepOf(const CLoadingDlg& dialog) { return dialog.loading.LoadingStep; }
// The loading dialog as the program runs it, with the work of each timer
// tick timed.
typedef TimedTicks<CLoadingDlg, kLoadingTimerId, LoadingStepOf> TimedLoadingDlg;

int g_messages = 0;
int CountMessage(HWND, const char* text, const char*, UINT)
{
    ++g_messages;
    std::printf("  (message box: %.80s)\n", text ? text : "");
    return IDNO;
}

struct LoadingRun {
    bool ok = false;
    double stepMs[kLoadingSteps] = {};
    double stepSpoolerMs[kLoadingSteps] = {};
    int tickCount = 0;
    double removalProfileMs = 0;  // the longest tick
    int removalTicks = 0;
    std::size_t profiles = 0;
    std::size_t fullProfileItems = 0;
    std::size_t removalItems = 0;
    int printers = 0;
};

std::size_t ItemCount(const UninstallProfile& profile)
{
    std::size_t count = 0;
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list)
        count += profile.List(list).size();
    return count;
}

LoadingRun RunLoading(const std::vector<std::string>& scripts, const ScriptShape& shape)
{
    LoadingRun run;
    UninstallDatabase database;
    {
        TimedLoadingDlg dialog;
        LoadingSequence::ResetProcessCounters();
        dialog.loading.switches = CommandLineSwitches();
        dialog.loading.switches.ParseText("trelun08.exe");
        dialog.SetDatabase(&database);
        // The loader finds one script per directory; the rest are handed to it
        // as if found, and step 6 adds what it finds itself.
        dialog.loading.foundScripts = scripts;
        const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOADING), nullptr,
                                               DialogProc, reinterpret_cast<LPARAM>(&dialog));
        if (result != 1) {
            std::printf("  loading dialog ended with %ld\n", static_cast<long>(result));
            return run;
        }
        for (const Tick& tick : dialog.ticks) {
            if (tick.step >= 0 && tick.step < kLoadingSteps && tick.ms > run.stepMs[tick.step]) {
                run.stepMs[tick.step] = tick.ms;
                run.stepSpoolerMs[tick.step] = tick.spoolerMs;
            }
        }
        run.tickCount = static_cast<int>(dialog.ticks.size());
    }
    run.profiles = database.profiles.size();
    run.fullProfileItems = ItemCount(database.fullProfile);
    run.printers = database.printers.Count();

    database.printers = PrinterList();
    AddPrinterRecords(database.printers, kDatabasePrinters, shape);
    // As the removal page runs it: a budget per tick until it is done.
    RemovalProfileBuild build(database);
    for (bool done = false; !done; ++run.removalTicks) {
        WorkBudget budget(kTickWorkMs);
        Stopwatch watch;
        done = build.Continue(budget);
        if (watch.ElapsedMs() > run.removalProfileMs)
            run.removalProfileMs = watch.ElapsedMs();
    }
    run.removalItems = ItemCount(database.removalProfile);
    run.ok = true;
    return run;
}

std::string Thousands(double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.0f", value);
    std::string digits = text;
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

}  // namespace

int BenchLoading(int runs)
{
    std::printf("(a) Loading dialog, the longest tick of each step, and the removal profile\n");
    TempDir directory;
    ScriptShape shape;
    ScriptSetStats stats;
    const std::vector<std::string> scripts = WriteScripts(directory.Path(), shape, stats);
    if (scripts.empty()) {
        std::printf("  could not write the scripts\n");
        return 1;
    }
    ReportNote(std::to_string(shape.scripts) + " scripts of " + std::to_string(shape.profilesPerScript) +
               " profiles, " + Thousands(static_cast<double>(stats.items)) + " items (lists of 1 to " +
               std::to_string(stats.longestList) + "), " + Thousands(stats.bytes / 1024.0) + " KB; " +
               std::to_string(kEnumeratedPrinters) + " printers in the spooler simulator");
    SimulatedSpooler simulator(SpoolerStateWithPrinters(kEnumeratedPrinters));
    if (!TimeSpoolerCalls()) {
        std::printf("  the spooler calls could not be timed\n");
        return 1;
    }
    const MessageBoxHandler previous = SetMessageBoxHandler(CountMessage);

    std::vector<LoadingRun> results;
    for (int i = 0; i < runs; ++i) {
        results.push_back(RunLoading(scripts, shape));
        const LoadingRun& run = results.back();
        if (!run.ok)
            return 1;
        // The figures mean something only if the work was really done.
        const std::size_t expectedProfiles = static_cast<std::size_t>(stats.profiles);
        if (run.profiles != expectedProfiles || run.printers != kEnumeratedPrinters || run.fullProfileItems == 0 ||
            run.removalItems == 0) {
            std::printf("  run %d loaded %lu of %lu profiles and %d of %d printers, full profile %lu items,"
                        " removal profile %lu items\n",
                        i + 1, static_cast<unsigned long>(run.profiles),
                        static_cast<unsigned long>(expectedProfiles), run.printers, kEnumeratedPrinters,
                        static_cast<unsigned long>(run.fullProfileItems),
                        static_cast<unsigned long>(run.removalItems));
            return 1;
        }
    }
    SetMessageBoxHandler(previous);

    ReportNote("profiles loaded " + Thousands(static_cast<double>(results[0].profiles)) + ", full profile " +
               Thousands(static_cast<double>(results[0].fullProfileItems)) + " items, removal profile " +
               Thousands(static_cast<double>(results[0].removalItems)) + " items; " +
               std::to_string(results[0].tickCount) + " ticks");
    for (int step = 0; step < kLoadingSteps; ++step) {
        std::vector<double> figures;
        for (const LoadingRun& run : results)
            figures.push_back(run.stepMs[step]);
        ReportAtMost("step " + std::to_string(step) + ": " + kStepNames[step], figures, kTickBudgetMs);
        std::vector<double> spooler;
        for (const LoadingRun& run : results)
            spooler.push_back(run.stepSpoolerMs[step]);
        if (Median(spooler) >= 1)
            ReportValue("  of which inside the spooler simulator's calls", spooler, "ms");
    }
    std::vector<double> removal;
    for (const LoadingRun& run : results)
        removal.push_back(run.removalProfileMs);
    ReportAtMost("removal step 0: BuildRemovalProfile, " + Thousands(kDatabasePrinters) + " printers, half staying, in " +
                     std::to_string(results[0].removalTicks) + " ticks",
                 removal, kTickBudgetMs);
    if (g_messages)
        ReportNote(std::to_string(g_messages) + " message boxes were answered");
    return 0;
}

int BenchEnumeration(int runs)
{
    std::printf("(b) Printer enumeration (BuildListOfInstalledPrinters), %d printers in the spooler simulator\n",
                kEnumeratedPrinters);
    SimulatedSpooler simulator(SpoolerStateWithPrinters(kEnumeratedPrinters));
    const COSInfo os;
    CommandLineSwitches switches;
    switches.ParseText("trelun08.exe");
    StringLoader strings(GetModuleHandleA(nullptr));
    if (!TimeSpoolerCalls()) {
        std::printf("  the spooler calls could not be timed\n");
        return 1;
    }
    std::vector<double> longest, total, spooler, own;
    unsigned long calls = 0;
    int ticks = 0;
    for (int i = 0; i < runs; ++i) {
        PrinterList printers;
        ResetSpoolerCallTime();
        // As the loading dialog runs it: a budget per tick until it is done.
        PrinterEnumeration enumeration(printers, os, switches, nullptr, strings);
        double longestTick = 0;
        ticks = 0;
        Stopwatch watch;
        for (bool done = false; !done; ++ticks) {
            WorkBudget budget(kTickWorkMs);
            Stopwatch tick;
            done = enumeration.Continue(budget);
            if (tick.ElapsedMs() > longestTick)
                longestTick = tick.ElapsedMs();
        }
        total.push_back(watch.ElapsedMs());
        longest.push_back(longestTick);
        const SpoolerCallTotals inside = SpoolerCallTime();
        const int opened = enumeration.Result();
        if (opened != kEnumeratedPrinters || printers.Count() != kEnumeratedPrinters) {
            std::printf("  enumeration opened %d and recorded %d of %d printers\n", opened, printers.Count(),
                        kEnumeratedPrinters);
            return 1;
        }
        spooler.push_back(inside.ms);
        own.push_back(total.back() - inside.ms);
        calls = inside.calls;
    }
    ReportAtMost("enumeration (loading step 9): the longest tick", longest, kTickBudgetMs);
    ReportValue("  the whole enumeration, " + std::to_string(ticks) + " ticks", total, "ms");
    ReportValue("    inside the simulator's " + Thousands(calls) + " spooler calls", spooler, "ms");
    ReportValue("    the enumeration's own work", own, "ms");
    // Before it appends a record the enumeration looks for the name among
    // those already recorded; the same walks, replayed on the same list.
    std::vector<double> lookups;
    for (int i = 0; i < runs; ++i) {
        PrinterList printers;
        Stopwatch watch;
        for (int n = 0; n < kEnumeratedPrinters; ++n) {
            InstalledPrinter record;
            record.SetName(("Impresora " + std::to_string(n)).c_str());
            bool recorded = false;
            for (const InstalledPrinter& printer : printers)
                recorded = recorded || TextEquals(printer.name, record.name);
            if (!recorded)
                printers.Append(record);
        }
        lookups.push_back(watch.ElapsedMs());
    }
    ReportValue("    of which, replayed: appending with a walk of the list per name", lookups, "ms");
    return 0;
}
