// The program's only top-level window. It owns every long-lived object,
// runs the loading dialog while still hidden, shows the selection page or
// starts the removal, and reacts when the removal has finished.
#pragma once
#include <windows.h>

#include "DialogBase.h"
#include "LoadingDlg.h"
#include "OSInfo.h"
#include "RemovePage.h"
#include "SelectPage.h"
#include "StringLoader.h"
#include "UninstallDatabase.h"

class CMainDlg : public CDialogBase {
public:
    CMainDlg();
    INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // After the dialog has ended: the exit code of an unattended run.
    int SilentExitCode() const;

    UninstallDatabase database;
    CLoadingDlg loadingDlg;
    SelectPage selectPage;
    RemovePage removePage;
    StringLoader strings;
    COSInfo osInfo;

private:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    // Enter and Escape end the program as Exit does.
    void OnCancel() override { Close(1); }
    INT_PTR OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog(HWND window);
    void CreatePages();
    void RunStartSequence();
    void StartRemoval();
    void RunUnattended();
    void OnUninstall();
    void OnRemovalDone();
    // The scanner's own uninstaller; in a what-if run only noted.
    int StartScannerUninstaller();
    void ShowAboutBox();
    void ShowExtraInfo(int selectedCount);
    void ShowPages(bool selection);
    void EnableButton(int id, bool on);
    bool AnyFilterSwitch() const;

    HWND selectWindow;
    HWND removeWindow;
    int silentOutcome;  // -1 until a start decision fixes the exit code
};
