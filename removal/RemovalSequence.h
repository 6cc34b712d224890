// The removal as eighteen steps, each run by timer ticks: what every step
// removes, where a step that spreads over several ticks has got to, and
// the removers themselves. It needs no window; the progress page shows it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "OSInfo.h"
#include "StringLoader.h"
#include "TextUtil.h"
#include "UtilityLaunch.h"
#include "WorkBudget.h"

class ListedFilesWalk;
class RemovalProfileBuild;
class UninstallDatabase;
struct InstalledPrinter;

// What the progress page shows of the sequence; by default nothing. Rows
// are the nine lines of the page; a step marks the row it starts or moves
// on to the next.
class RemovalView {
public:
    virtual void MarkRow(int) {}
    // The row stays current without a redraw (a step that shows a message
    // box while its row is under way).
    virtual void HoldRow(int) {}
    virtual void AdvanceRow() {}
    virtual void ShowBusy() {}
    virtual void BringToFront() {}
    // The last step: says the removal is done or offers the restart.
    virtual void Finished() {}

protected:
    ~RemovalView() {}
};

class RemovalSequence {
public:
    RemovalSequence();
    // A removal ended between the spooler's stop and its start (Escape,
    // closing, a failure) must not leave printing off.
    ~RemovalSequence();

    void SetDatabase(UninstallDatabase* value) { database = value; }
    // nullptr: nothing is shown.
    void SetView(RemovalView* value);
    // Owner of the removers' message boxes and of the hooks' windows.
    void SetOwnerWindow(HWND value) { ownerWindow = value; }
    UninstallDatabase* Database() const { return database; }

    // Back to step 0, the directory lists built for this system.
    void Begin();
    enum class Tick { kContinues, kStepDone, kEnded };
    // Runs the current step, or the next slice of it, within the budget.
    Tick RunTick(WorkBudget& budget);
    void BuildDirectoryLists();

    // The removers, one per step (tests call them one by one).
    void removePrinters();
    int setDefaultPrinter(char (&printerName)[kTextField]);
    void removeDrivers(const char* environment);
    void removeMonitors(const char* server, const char* environment);
    void removePrintProcessors(const char* server, const char* environment);
    int processorNotInUse(const char* server, const char* environment, const char* processor);
    void removeServices();
    void runUnregisterHooks();
    void collectOemPaths();
    void removeShortcuts();
    void removeIniEntries();
    void removeStartupEntries();
    int removeStartupEntry(const char* valueName, const char* command);
    void applyRegistryLines();
    void removeFiles();
    // Steps that may take several ticks, a slice at a time: each works
    // within the budget (or about the milliseconds given) and returns true
    // once its step is complete.
    bool ContinueRemovalProfile(WorkBudget& budget);
    bool ContinuePrinterStep(WorkBudget& budget);
    bool ContinueDriverStep(WorkBudget& budget);
    bool ContinueMonitorStep(WorkBudget& budget);
    bool ContinueShortcutStep(WorkBudget& budget);
    bool ContinueFileStep(unsigned long milliseconds);
    void removeFileEverywhere(const char* fileName);
    // Before the spooler stops: the files of every driver still installed,
    // which the file step leaves whatever the scripts list.
    void CollectDriverFiles();

    // What one tick of a step that spreads over several may work; with 0
    // (tests) each tick does a single piece.
    static DWORD tickWorkMs;

    // The step that ends the sequence; step stays there once it has run.
    static const int kFinalStep = 17;
    int step;
    COSInfo osInfo;
    std::vector<std::string> systemDirectories;
    std::vector<std::string> printerDirectories;
    std::vector<std::string> driverFiles;
    std::vector<std::string> installedDrivers;  // every environment's, before the spooler stops

private:
    // What a step's work says about the sequence.
    enum class StepEnd {
        kNext,       // the step is complete; the next one follows
        kContinues,  // the step goes on at the next tick
        kStays,      // the step is run again (or has moved the step itself)
    };
    typedef StepEnd (RemovalSequence::*StepWork)(WorkBudget& budget);
    static const StepWork kSteps[kFinalStep + 1];
    // A step that spreads over ticks, run to its end in one call.
    void RunWholeStep(bool (RemovalSequence::*continueStep)(WorkBudget& budget));
    // kNext with the row moved on once complete, else kContinues.
    StepEnd AdvanceRowWhen(bool complete);

    StepEnd BuildRemovalProfileStep(WorkBudget& budget);
    StepEnd WaitForUtilityStep(WorkBudget& budget);
    StepEnd PrinterRowStep(WorkBudget& budget);
    StepEnd PrinterStep(WorkBudget& budget);
    StepEnd DriverStep(WorkBudget& budget);
    StepEnd MonitorStep(WorkBudget& budget);
    StepEnd PrintProcessorStep(WorkBudget& budget);
    StepEnd ServiceStep(WorkBudget& budget);
    StepEnd StopSpoolerStep(WorkBudget& budget);
    StepEnd OemPathStep(WorkBudget& budget);
    StepEnd ShortcutStep(WorkBudget& budget);
    StepEnd SkippedStep(WorkBudget& budget);
    StepEnd IniStep(WorkBudget& budget);
    StepEnd StartupStep(WorkBudget& budget);
    StepEnd FileStep(WorkBudget& budget);
    StepEnd RegistryStep(WorkBudget& budget);
    StepEnd StartSpoolerStep(WorkBudget& budget);
    StepEnd FinalStep(WorkBudget& budget);

    // Where a step that spreads over ticks has got to; cleared as each
    // step ends.
    struct StepProgress {
        bool started = false;
        std::size_t item = 0;         // the next of the step's items
        std::size_t environment = 0;  // of kSpoolerEnvironments
        std::vector<std::string> items;
        PieceHistory pieces;
        bool defaultRemoved = false;
        char remainingPrinter[kTextField] = "";
        std::size_t plannedLines = 0;  // registry lines before the step added its own
    };
    // Runs one item at a time from progress.item while the budget lasts;
    // true once all count items are done and the tick has room for what
    // ends the step.
    template <class Body>
    bool RunItems(std::size_t count, WorkBudget& budget, Body body);
    void RemovePrinter(InstalledPrinter& printer);
    void KeepPrintersStillInstalled();
    void AnnounceDefaultPrinter();
    void RemoveDriver(const char* environment, const std::string& driver, const std::vector<std::string>& candidates);
    void RemoveMonitor(const char* server, const char* environment, const std::string& monitor);
    void UninstallOemInfOf(const std::string& driver);
    void RemoveShortcut(const std::string& entry);
    std::unique_ptr<ListedFilesWalk> WalkForFiles(const std::vector<std::string>& entries) const;

    UninstallDatabase* database;
    RemovalView* view;  // never nullptr
    HWND ownerWindow;
    StringLoader strings;
    StepProgress progress;
    UtilityLaunch utility;
    std::unique_ptr<RemovalProfileBuild> removalProfileBuild;  // step 0 while it runs
    std::unique_ptr<ListedFilesWalk> fileWalk;  // the file step while it runs
    bool restartHelperWalk;
    std::vector<std::string> triedOemInfs;  // each INF is uninstalled once
    bool spoolerStopped;                     // by step 8, not yet started again
};

template <class Body>
bool RemovalSequence::RunItems(std::size_t count, WorkBudget& budget, Body body)
{
    // At least one item per tick, then while the longest so far still fits.
    bool worked = false;
    while (progress.item < count && (!worked || budget.FitsAnother(progress.pieces))) {
        worked = true;
        body(progress.item++);
        budget.PieceDone(progress.pieces);
    }
    if (progress.item < count)
        return false;
    // What ends the step (a message, the rows redrawn) waits for a tick of
    // its own when this one is half gone.
    return !worked || !budget.HalfSpent();
}
