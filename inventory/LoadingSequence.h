// What the loading dialog runs before any page is shown, one step per
// timer tick: the administrator check, the spooler's restart, the scripts
// found and loaded, the full profile, the installed printers.
#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "OSInfo.h"
#include "StringLoader.h"
#include "WorkBudget.h"

class FullProfileBuild;
class IniDocument;
class PrinterEnumeration;
class UninstallDatabase;

// What the loading dialog shows of the sequence: its progress bar and its
// error messages; by default nothing.
class LoadingView {
public:
    virtual void SetProgressPosition(int) {}
    virtual void SetProgressIncrement(int) {}
    virtual void ShowError(UINT, UINT) {}

protected:
    ~LoadingView() {}
};

class LoadingSequence {
public:
    LoadingSequence();
    ~LoadingSequence();

    // nullptr: nothing is shown.
    void SetView(LoadingView* value);
    // Owner of the enumeration's message boxes.
    void SetOwnerWindow(HWND window);

    static const int kStepCount = 11;
    // Runs the step of LoadingStep; returns the string id of an error that
    // ends the loading, or 0. continues is set when a step spread over
    // several ticks is not complete yet.
    UINT RunStep(bool& continues);
    bool Complete() const { return LoadingStep >= kStepCount; }

    // The counters live for the whole process, as the step machine expects;
    // tests that load more than once start from scratch.
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
    LoadingSequence(const LoadingSequence&);
    LoadingSequence& operator=(const LoadingSequence&);
    void FindMasterScripts();
    // Steps 7 to 9 a slice at a time; true once the step is complete.
    bool ContinueLoadingScripts();
    bool ContinueFullProfile();
    // Step 9's enumeration; false while it goes on, else its result.
    bool ContinueEnumeration(int& opened);

    LoadingView* view;  // never nullptr
    HWND ownerWindow;
    StringLoader strings;
    std::size_t scriptsLoaded;  // of foundScripts, while step 7 runs
    std::unique_ptr<IniDocument> scriptRead;  // read, its profiles not yet taken
    PieceHistory scriptPieces;
    std::unique_ptr<FullProfileBuild> fullProfileBuild;  // while step 8 runs
    std::unique_ptr<PrinterEnumeration> printerEnumeration;  // while step 9 runs
};
