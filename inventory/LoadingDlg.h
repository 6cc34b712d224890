// The modal dialog that prepares the system and fills the uninstall
// database before any page is shown: its progress bar and the timer that
// runs the loading sequence, one step per tick.
#pragma once
#include <windows.h>

#include "CommandLineSwitches.h"
#include "DialogBase.h"
#include "LoadingSequence.h"
#include "StringLoader.h"

class UninstallDatabase;

class CLoadingDlg : public CDialogBase, private LoadingView {
public:
    CLoadingDlg();

    void SetDatabase(UninstallDatabase* value) { loading.database = value; }
    const CommandLineSwitches& Switches() const { return loading.switches; }
    CommandLineSwitches& Switches() { return loading.switches; }

    LoadingSequence loading;

private:
    bool OnInit() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;
    INT_PTR OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // What the sequence shows.
    void SetProgressPosition(int position) override;
    void SetProgressIncrement(int increment) override;
    void ShowError(UINT textId, UINT style) override;

    void OnInitDialog(HWND window);
    void OnTick();
    void AskToStop();
    void StartTimer(UINT milliseconds);

    StringLoader strings;
    UINT tickMs;
    bool stepContinues;  // the last tick left its step unfinished
    bool tickRunning;    // ticks inside a step's message box return at once
};
