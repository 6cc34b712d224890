// The modal dialog that prepares the system and fills the uninstall
// database before any page is shown, one step per timer tick.
#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "DialogBase.h"
#include "OSInfo.h"
#include "StringLoader.h"
#include "WorkBudget.h"

class FullProfileBuild;
class IniDocument;
class PrinterEnumeration;
class UninstallDatabase;

class CLoadingDlg : public CDialogBase {
public:
    CLoadingDlg();
    ~CLoadingDlg() override;
    INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetDatabase(UninstallDatabase* value) { database = value; }
    const CommandLineSwitches& Switches() const { return switches; }
    CommandLineSwitches& Switches() { return switches; }

    // The counters live for the whole process, as the step machine expects;
    // tests that run the dialog more than once start from scratch.
    static void ResetProcessCounters();

    // The administrator check of step 0; a user without the rights cannot
    // be made under Wine, so tests replace it.
    typedef int (*AdministratorCheck)(const COSInfo& os);
    static AdministratorCheck administratorCheck;
    // What one tick of a step that spreads over several may work; with 0
    // (tests) each tick does a single piece.
    static DWORD tickWorkMs;

    UninstallDatabase* database;
    CommandLineSwitches switches;
    int LoadingStep;
    COSInfo osInfo;
    std::vector<std::string> foundScripts;

private:
    void OnInitDialog(HWND window);
    void OnTick();
    // Runs the step of LoadingStep; returns the string id of an error that
    // ends the dialog, or 0.
    UINT RunStep();
    void AskToStop();
    void FindMasterScripts();
    // Steps 7 to 9 a slice at a time; true once the step is complete.
    bool ContinueLoadingScripts();
    bool ContinueFullProfile();
    // Step 9's enumeration; false while it goes on, else its result.
    bool ContinueEnumeration(int& opened);
    void StartTimer(UINT milliseconds);
    void ShowError(UINT textId, UINT style);

    StringLoader strings;
    std::size_t scriptsLoaded;  // of foundScripts, while step 7 runs
    std::unique_ptr<IniDocument> scriptRead;  // read, its profiles not yet taken
    PieceHistory scriptPieces;
    std::unique_ptr<FullProfileBuild> fullProfileBuild;  // while step 8 runs
    std::unique_ptr<PrinterEnumeration> printerEnumeration;  // while step 9 runs
    UINT tickMs;
    bool stepContinues;  // the last tick left its step unfinished
};
