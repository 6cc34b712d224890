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

class ListedFilesWalk;
class UninstallDatabase;

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
    // The file step a slice at a time: works for about the milliseconds
    // given and returns true once the step is complete.
    bool continueFileStep(unsigned long milliseconds);
    void removeFileEverywhere(const char* fileName);
    // Before the spooler stops: the files of every driver still installed,
    // which the file step leaves whatever the scripts list.
    void collectDriverFiles();

    // The restart offered at the end on Windows 9x; tests replace it.
    typedef int (*RestartFunction)(const COSInfo& os);
    static RestartFunction restartSystem;

    // The step that ends the sequence; step stays there once it has run.
    static const int kFinalStep = 17;
    int step;
    int currentRow;
    int progressActive;
    COSInfo osInfo;
    std::vector<std::string> systemDirectories;
    std::vector<std::string> printerDirectories;
    std::vector<std::string> driverFiles;

private:
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
    std::unique_ptr<ListedFilesWalk> fileWalk;  // the file step while it runs
    bool restartHelperWalk;
    HIMAGELIST images;
};

// ExitWindowsEx on 95, 98 and Me; the privileged restart elsewhere.
int RestartForRemoval(const COSInfo& os);
