// The removal progress page: nine step rows with check marks, and the
// removal itself as a timer-driven sequence of eighteen steps.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogBase.h"
#include "OSInfo.h"
#include "StringLoader.h"
#include "TextUtil.h"
#include "WorkBudget.h"

class ListedFilesWalk;
class RemovalProfileBuild;
class UninstallDatabase;
struct InstalledPrinter;

class RemovePage : public CDialogBase {
public:
    RemovePage();
    ~RemovePage() override;
    INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetDatabase(UninstallDatabase* value) { database = value; }
    // Starts the sequence at step 0 on timer 1130.
    void beginRemoval();
    void buildDirectoryLists();

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
    bool continueRemovalProfile(WorkBudget& budget);
    bool continuePrinterStep(WorkBudget& budget);
    bool continueDriverStep(WorkBudget& budget);
    bool continueMonitorStep(WorkBudget& budget);
    bool continueShortcutStep(WorkBudget& budget);
    bool continueFileStep(unsigned long milliseconds);
    void removeFileEverywhere(const char* fileName);
    // Before the spooler stops: the files of every driver still installed,
    // which the file step leaves whatever the scripts list.
    void collectDriverFiles();

    // The restart offered at the end on Windows 9x; tests replace it.
    typedef int (*RestartFunction)(const COSInfo& os);
    static RestartFunction restartSystem;
    // What one tick of a step that spreads over several may work; with 0
    // (tests) each tick does a single piece.
    static DWORD tickWorkMs;

    // The step that ends the sequence; step stays there once it has run.
    static const int kFinalStep = 17;
    int step;
    int currentRow;
    int progressActive;
    COSInfo osInfo;
    std::vector<std::string> systemDirectories;
    std::vector<std::string> printerDirectories;
    std::vector<std::string> driverFiles;
    std::vector<std::string> installedDrivers;  // every environment's, before the spooler stops

private:
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
    bool runItems(std::size_t count, WorkBudget& budget, Body body);
    void removePrinter(InstalledPrinter& printer);
    void keepPrintersStillInstalled();
    void announceDefaultPrinter();
    void removeDriver(const char* environment, const std::string& driver, const std::vector<std::string>& candidates);
    void removeMonitor(const char* server, const char* environment, const std::string& monitor);
    void uninstallOemInfOf(const std::string& driver);
    void removeShortcut(const std::string& entry);

    void OnInitDialog(HWND window);
    void drawRow(int row, HDC dc);
    void paintRows();
    void redrawProgress(bool reset);
    void markRow(int row);
    void onRemovalTimer(UINT_PTR timerId);
    void runStep();
    void waitForUtility();
    bool startUtility();
    void finish();
    std::unique_ptr<ListedFilesWalk> listedFilesWalk(const std::vector<std::string>& entries) const;
    HWND RowIcon(int row) const;
    HWND RowLabel(int row) const;

    UninstallDatabase* database;
    HFONT normalFont;
    HFONT boldFont;
    HCURSOR savedCursor;
    HCURSOR waitCursor;
    char utilityPath[256];
    HANDLE utilityProcess;
    StringLoader strings;
    StepProgress progress;
    std::unique_ptr<RemovalProfileBuild> removalProfileBuild;  // step 0 while it runs
    std::unique_ptr<ListedFilesWalk> fileWalk;  // the file step while it runs
    bool restartHelperWalk;
    bool progressContinues;  // the last tick left its step unfinished
    HIMAGELIST images;
    std::vector<std::string> triedOemInfs;  // each INF is uninstalled once
    bool spoolerStopped;                     // by step 8, not yet started again
};

template <class Body>
bool RemovePage::runItems(std::size_t count, WorkBudget& budget, Body body)
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

// ExitWindowsEx on 95, 98 and Me; the privileged restart elsewhere.
int RestartForRemoval(const COSInfo& os);
