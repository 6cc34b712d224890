#include "MainDlg.h"

#include "AboutDlg.h"
#include "ComponentDlg.h"
#include "DirectoryPaths.h"
#include "EventLog.h"
#include "ExtraInfoDlg.h"
#include "LookOnly.h"
#include "PrivateMessages.h"
#include "SilentRun.h"
#include "SystemRestart.h"
#include "UserMessage.h"
#include "WindowUtil.h"
#include "resource.h"

CMainDlg::CMainDlg()
    : database(), loadingDlg(), selectPage(), removePage(), strings(nullptr), osInfo(), selectWindow(nullptr),
      removeWindow(nullptr), silentOutcome(-1)
{
}

INT_PTR CMainDlg::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SetMasterScriptBesideProgram();
    return CDialogBase::OnMessage(window, message, wParam, lParam);
}

bool CMainDlg::OnInit()
{
    OnInitDialog(hwnd);
    return true;
}

bool CMainDlg::OnCommand(int id, int, HWND)
{
    switch (id) {
    case IDC_EXIT:
        Close(1);
        return true;
    case IDC_UNINSTALL:
        OnUninstall();
        return true;
    default:
        return false;
    }
}

INT_PTR CMainDlg::OnOtherMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_SYSCOMMAND && wParam == IDM_ABOUT) {
        ShowAboutBox();
        return 1;
    }
    if (message == UM_ENABLE_UNINSTALL)
        EnableButton(IDC_UNINSTALL, wParam != 0);
    else if (message == UM_START_REMOVAL)
        StartRemoval();
    else if (message == UM_REMOVAL_DONE)
        OnRemovalDone();
    else if (message == UM_SHOW_EXTRA_INFO)
        ShowExtraInfo(static_cast<int>(wParam));
    return 0;
}

void CMainDlg::ShowExtraInfo(int selectedCount)
{
    CExtraInfoDlg dialog;
    dialog.database = &database;
    dialog.selectedCount = selectedCount;
    dialog.DoModal(hwnd, MAKEINTRESOURCEA(IDD_EXTRA_INFO), GetWindowInstance(hwnd));
}

void CMainDlg::EnableButton(int id, bool on) { EnableWindow(GetDlgItem(hwnd, id), on ? TRUE : FALSE); }

void CMainDlg::OnInitDialog(HWND window)
{
    strings.SetInstance(GetWindowInstance(window));
    ShowWindow(GetDlgItem(window, IDC_PAGE_FRAME), SW_HIDE);
    HMENU systemMenu = GetSystemMenu(window, FALSE);
    if (systemMenu) {
        EnableMenuItem(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
        EnableMenuItem(systemMenu, SC_SIZE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
        AppendMenuA(systemMenu, MF_MENUBARBREAK, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT, strings.GetString(IDS_MENU_ABOUT));
    }
    // A what-if run says so in its title: nothing it shows will be removed.
    strings.SetWindowTextFromString(window, LookOnlyRecord() ? IDS_WHATIF_CAPTION : IDS_CAPTION);
    strings.SetDlgItemTextFromString(window, IDC_UNINSTALL, IDS_BTN_UNINSTALL);
    strings.SetDlgItemTextFromString(window, IDC_EXIT, IDS_BTN_CANCEL);
    CreatePages();
    SetDialogIcon(window, IDI_APP, ICON_BIG);
    CenterWindow(window, nullptr);
    ShowWindow(window, SW_HIDE);
    RunStartSequence();
}

void CMainDlg::CreatePages()
{
    HINSTANCE instance = GetWindowInstance(hwnd);
    if (!instance)
        return;
    HWND frame = GetDlgItem(hwnd, IDC_PAGE_FRAME);
    selectWindow = selectPage.CreatePage(hwnd, "IDD_SELECT", instance);
    if (selectWindow) {
        ShowWindow(selectWindow, SW_HIDE);
        FitPageToFrame(selectWindow, frame, hwnd);
    }
    removeWindow = removePage.CreatePage(hwnd, "IDD_REMOVE", instance);
    if (removeWindow) {
        ShowWindow(removeWindow, SW_SHOW);
        FitPageToFrame(removeWindow, frame, hwnd);
    }
}

void CMainDlg::ShowPages(bool selection)
{
    if (selection) {
        ShowWindow(removeWindow, SW_HIDE);
        ShowWindow(selectWindow, SW_SHOW);
    } else {
        ShowWindow(selectWindow, SW_HIDE);
        ShowWindow(removeWindow, SW_SHOW);
    }
}

bool CMainDlg::AnyFilterSwitch() const
{
    const CommandLineSwitches& switches = loadingDlg.Switches();
    return switches.HasSwitch("MFG") || switches.HasSwitch("UNPELL") || switches.HasSwitch("PRN");
}

void CMainDlg::RunStartSequence()
{
    EnableButton(IDC_UNINSTALL, false);
    EnableButton(IDC_EXIT, false);
    CComponentDlg components;
    loadingDlg.SetDatabase(&database);
    selectPage.SetDatabase(&database);
    removePage.SetDatabase(&database);
    HINSTANCE instance = GetWindowInstance(hwnd);
    if (loadingDlg.DoModal(hwnd, MAKEINTRESOURCEA(IDD_LOADING), instance) != 1) {
        silentOutcome = SILENT_EXIT_FATAL;
        EndDialog(hwnd, 1);
        return;
    }
    if (IsSilentRun()) {
        RunUnattended();
        return;
    }
    if (!AnyFilterSwitch()) {
        ShowPages(database.pick != 0);
    } else if (loadingDlg.Switches().HasSwitch("NOPICK")) {
        ShowPages(false);
        ShowWindow(hwnd, SW_SHOW);
    } else {
        ShowPages(true);
        ShowWindow(hwnd, SW_SHOW);
        selectPage.FillPrinterList();
        EnableButton(IDC_EXIT, true);
    }
    if (database.uninstallScanner) {
        if (ScannerDriverInstalled(database.productGuid))
            components.choice = COMPONENT_BOTH;
        if (components.DoModal(hwnd, "IDD_COMPONENT", instance) == IDCANCEL) {
            EndDialog(hwnd, 1);
            return;
        }
        if (components.choice == COMPONENT_PRINTER)
            database.uninstallScanner = 0;
    }
    if (components.choice == COMPONENT_SCANNER) {
        EndDialog(hwnd, 1);
        StartScannerUninstaller();
        return;
    }
    if (database.pick) {
        ShowPages(true);
        ShowWindow(hwnd, SW_SHOW);
        selectPage.FillPrinterList();
        EnableButton(IDC_UNINSTALL, database.ListedPrinterCount() == 0);
        EnableButton(IDC_EXIT, true);
    } else {
        StartRemoval();
    }
}

void CMainDlg::RunUnattended()
{
    if (loadingDlg.loading.foundScripts.empty() && database.ListedPrinterCount() == 0) {
        LogText("NothingFound", "no script and no printer of the package");
        silentOutcome = SILENT_EXIT_NOTHING_FOUND;
        EndDialog(hwnd, 1);
        return;
    }
    // As with a script's NOPICK: every printer the filter lists goes.
    for (InstalledPrinter& printer : database.printers) {
        if (printer.IsListed())
            printer.excluded = 0;
    }
    // The component choice as preselected, without its dialog.
    if (database.uninstallScanner && !ScannerDriverInstalled(database.productGuid))
        database.uninstallScanner = 0;
    StartRemoval();
}

int CMainDlg::SilentExitCode() const
{
    if (silentOutcome >= 0)
        return silentOutcome;
    if (removePage.removal.step < RemovalSequence::kFinalStep)
        return SILENT_EXIT_FATAL;
    return database.restartNeeded ? SILENT_EXIT_RESTART_NEEDED : SILENT_EXIT_SUCCESS;
}

void CMainDlg::OnUninstall()
{
    if (selectPage.shown)
        selectPage.CollectSelection();
    StartRemoval();
}

void CMainDlg::StartRemoval()
{
    ShowWindow(selectWindow, SW_HIDE);
    ShowWindow(removeWindow, SW_SHOW);
    HMENU systemMenu = GetSystemMenu(hwnd, FALSE);
    if (systemMenu)
        EnableMenuItem(systemMenu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    EnableButton(IDC_EXIT, false);
    removePage.beginRemoval();
}

void CMainDlg::OnRemovalDone()
{
    strings.SetDlgItemTextFromString(hwnd, IDC_EXIT, IDS_BTN_CLOSE);
    if (database.ListedPrinterCount() > 0 && database.restartNeeded == 0) {
        ShowPages(true);
        selectPage.FillPrinterList();
    } else {
        ShowPages(false);
    }
    EnableButton(IDC_EXIT, true);
    if (!database.uninstallScanner)
        return;
    EndDialog(hwnd, 1);
    if (StartScannerUninstaller() == 1 || LookOnlyRecord())
        return;
    if (database.isWin9x && database.restartNeeded) {
        const std::string question = strings.GetString(IDS_RESTART_QUESTION);
        const std::string caption = strings.GetString(IDS_CAPTION);
        if (ShowMessageBox(hwnd, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) ==
            IDYES)
            RemovePage::restartSystem(osInfo);
    }
}

int CMainDlg::StartScannerUninstaller()
{
    if (WhatIfRecord* look = LookOnlyRecord()) {
        look->SetStep(RemovalSequence::kFinalStep);
        look->Note("StartScannerUninstaller", database.productGuid, LookResult::kFound);
        return 0;
    }
    return RunScannerUninstaller(hwnd, database.productGuid, strings);
}

void CMainDlg::ShowAboutBox()
{
    CAboutDlg about;
    about.DoModal(hwnd, MAKEINTRESOURCEA(IDD_ABOUT), GetWindowInstance(hwnd));
}
