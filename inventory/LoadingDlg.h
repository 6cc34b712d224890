// The modal dialog that prepares the system and fills the uninstall
// database before any page is shown, one step per timer tick.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "DialogBase.h"
#include "OSInfo.h"
#include "StringLoader.h"

class UninstallDatabase;

class CLoadingDlg : public CDialogBase {
public:
    CLoadingDlg();
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
    void ShowError(UINT textId, UINT style);

    StringLoader strings;
};
