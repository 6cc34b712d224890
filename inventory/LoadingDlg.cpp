#include "LoadingDlg.h"

#include <commctrl.h>

#include "EventLog.h"
#include "LookOnly.h"
#include "PrivateMessages.h"
#include "SilentRun.h"
#include "SystemChecks.h"
#include "UserMessage.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

const UINT kFirstTickMs = 400;
const UINT kFastTickMs = 200;
// The next tick of a step that spreads over several comes as soon as the
// window has nothing else to do.
const UINT kContinueTickMs = USER_TIMER_MINIMUM;

}  // namespace

CLoadingDlg::CLoadingDlg() : loading(), strings(nullptr), tickMs(kFirstTickMs), stepContinues(false), tickRunning(false)
{
    loading.SetView(this);
}

void CLoadingDlg::StartTimer(UINT milliseconds)
{
    tickMs = milliseconds;
    stepContinues = false;
    SetTimer(hwnd, kLoadingTimerId, milliseconds, nullptr);
}

bool CLoadingDlg::OnInit()
{
    OnInitDialog(hwnd);
    return true;
}

// Enter and Escape ask whether to stop.
void CLoadingDlg::OnOK() { AskToStop(); }
void CLoadingDlg::OnCancel() { AskToStop(); }

void CLoadingDlg::OnTimer(UINT_PTR id)
{
    if (id == kLoadingTimerId)
        OnTick();
}

INT_PTR CLoadingDlg::OnOtherMessage(UINT message, WPARAM wParam, LPARAM)
{
    // Unattended, the dialog never shows: its timer started at creation.
    if (message == WM_SHOWWINDOW && wParam && !IsSilentRun()) {
        CenterWindow(hwnd, nullptr);
        StartTimer(kFirstTickMs);
    }
    return 0;
}

void CLoadingDlg::OnInitDialog(HWND window)
{
    loading.SetOwnerWindow(window);
    strings.SetInstance(GetWindowInstance(window));
    strings.SetWindowTextFromString(window, IDS_LOADING_CAPTION);
    strings.SetDlgItemTextFromString(window, IDC_LOADING_MESSAGE, IDS_CREATING_DATABASE);
    HWND progress = GetDlgItem(window, IDC_LOADING_PROGRESS);
    SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 99));
    SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 99));
    SendMessageA(progress, PBM_SETPOS, 1, 0);
    SendMessageA(progress, PBM_SETSTEP, 2, 0);
    ShowWindow(GetDlgItem(window, IDC_LOADING_STATUS), SW_HIDE);
    if (IsSilentRun())
        StartTimer(kFirstTickMs);
}

void CLoadingDlg::AskToStop()
{
    KillTimer(hwnd, kLoadingTimerId);
    const std::string text = strings.GetString(IDS_STOP_QUESTION);
    const std::string caption = strings.GetString(IDS_CAPTION);
    if (ShowMessageBox(hwnd, text.c_str(), caption.c_str(), MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES) {
        // Stopped after step 2 and before step 4: printing would stay off
        // once the program has ended.
        if (loading.osInfo.IsNT() && (loading.LoadingStep == 3 || loading.LoadingStep == 4) && !LookOnlyRecord())
            StartSpoolerWhenStopped(kSpoolerStopWaitMs);
        EndDialog(hwnd, 0);
    } else
        StartTimer(kFastTickMs);
}

void CLoadingDlg::ShowError(UINT textId, UINT style)
{
    const std::string text = strings.GetString(textId);
    const std::string caption = strings.GetString(IDS_CAPTION);
    ShowMessageBox(hwnd, text.c_str(), caption.c_str(), style);
}

void CLoadingDlg::SetProgressPosition(int position)
{
    SendMessageA(GetDlgItem(hwnd, IDC_LOADING_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CLoadingDlg::SetProgressIncrement(int increment)
{
    SendMessageA(GetDlgItem(hwnd, IDC_LOADING_PROGRESS), PBM_SETSTEP, static_cast<WPARAM>(increment), 0);
}

void CLoadingDlg::OnTick()
{
    if (tickRunning)
        return;
    HWND progress = GetDlgItem(hwnd, IDC_LOADING_PROGRESS);
    if (loading.Complete()) {
        KillTimer(hwnd, kLoadingTimerId);
        ++loading.LoadingStep;
        EndDialog(hwnd, 1);
        return;
    }
    tickRunning = true;
    // A step spread over ticks moves the bar as far as one tick would.
    const bool continuedBefore = stepContinues;
    if (!continuedBefore)
        SendMessageA(progress, PBM_STEPIT, 0, 0);
    const UINT error = loading.RunStep(stepContinues);
    // Only an unfinished step 7, 8 or 9 sets stepContinues.
    if (stepContinues && !continuedBefore)
        SetTimer(hwnd, kLoadingTimerId, kContinueTickMs, nullptr);
    else if (continuedBefore && !stepContinues)
        SetTimer(hwnd, kLoadingTimerId, tickMs, nullptr);
    if (error) {
        LogEvent("LoadingFailed", "", error);
        ShowError(error, MB_ICONERROR);
        EndDialog(hwnd, 0);
    } else if (loading.Complete()) {
        EndDialog(hwnd, 1);
    } else if (!stepContinues) {
        SendMessageA(progress, PBM_STEPIT, 0, 0);
    }
    tickRunning = false;
}
