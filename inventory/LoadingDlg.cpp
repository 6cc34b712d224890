#include "LoadingDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "EventLog.h"
#include "FullProfileBuild.h"
#include "IniDocument.h"
#include "PrinterEnumeration.h"
#include "PrivateMessages.h"
#include "ScriptSearch.h"
#include "SilentRun.h"
#include "SystemChecks.h"
#include "UninstallDatabase.h"
#include "UserMessage.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

const UINT kFirstTickMs = 400;
const UINT kFastTickMs = 200;
// The next tick of a step that spreads over several comes as soon as the
// window has nothing else to do.
const UINT kContinueTickMs = USER_TIMER_MINIMUM;
const int kStepCount = 11;

bool g_busy = false;
int g_spoolerStopWait = 0;
int g_spoolerStartWait = 0;
int g_enumerationAttempts = 0;

// Waits the first time for limit + 1 ticks, any later time for one.
bool StillWaiting(int& counter, int limit)
{
    if (counter < limit) {
        ++counter;
        return true;
    }
    return false;
}

void LogPrinters(const PrinterList& printers)
{
    if (!EventLogEnabled())
        return;
    for (const InstalledPrinter& printer : printers) {
        const std::string flags = std::string(printer.name) + " driver=" + printer.driverName +
                                  " server=" + printer.serverName + " pelled=" + printer.pelledName +
                                  " default=" + std::to_string(printer.isDefault) +
                                  " foreign=" + std::to_string(printer.foreign) +
                                  " listed=" + std::to_string(printer.listed) +
                                  " excluded=" + std::to_string(printer.excluded);
        LogText("PrinterFound", flags.c_str());
    }
}

}  // namespace

CLoadingDlg::AdministratorCheck CLoadingDlg::administratorCheck = IsAdministrator;
DWORD CLoadingDlg::tickWorkMs = kTickWorkMs;

void CLoadingDlg::ResetProcessCounters()
{
    g_busy = false;
    g_spoolerStopWait = 0;
    g_spoolerStartWait = 0;
    g_enumerationAttempts = 0;
}

CLoadingDlg::CLoadingDlg()
    : database(nullptr), switches(), LoadingStep(0), osInfo(), foundScripts(), strings(nullptr), scriptsLoaded(0),
      fullProfileBuild(), printerEnumeration(), tickMs(kFirstTickMs), stepContinues(false)
{
    switches.Parse();
}

CLoadingDlg::~CLoadingDlg() = default;

void CLoadingDlg::StartTimer(UINT milliseconds)
{
    tickMs = milliseconds;
    stepContinues = false;
    SetTimer(hwnd, kLoadingTimerId, milliseconds, nullptr);
}

INT_PTR CLoadingDlg::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return 1;
    case WM_SHOWWINDOW:
        // Unattended, the dialog never shows: its timer started at creation.
        if (wParam && !IsSilentRun()) {
            CenterWindow(window, nullptr);
            StartTimer(kFirstTickMs);
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            AskToStop();
            return 1;
        }
        return 0;
    case WM_TIMER:
        if (wParam == kLoadingTimerId)
            OnTick();
        return 0;
    default:
        return 0;
    }
}

void CLoadingDlg::OnInitDialog(HWND window)
{
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
        if (osInfo.IsNT() && (LoadingStep == 3 || LoadingStep == 4))
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

void CLoadingDlg::OnTick()
{
    if (g_busy)
        return;
    HWND progress = GetDlgItem(hwnd, IDC_LOADING_PROGRESS);
    if (LoadingStep >= kStepCount) {
        KillTimer(hwnd, kLoadingTimerId);
        ++LoadingStep;
        EndDialog(hwnd, 1);
        return;
    }
    g_busy = true;
    // A step spread over ticks moves the bar as far as one tick would.
    const bool continuedBefore = stepContinues;
    if (!continuedBefore)
        SendMessageA(progress, PBM_STEPIT, 0, 0);
    stepContinues = false;
    const UINT error = RunStep();
    // Only an unfinished step 7, 8 or 9 sets stepContinues.
    if (stepContinues && !continuedBefore)
        SetTimer(hwnd, kLoadingTimerId, kContinueTickMs, nullptr);
    else if (continuedBefore && !stepContinues)
        SetTimer(hwnd, kLoadingTimerId, tickMs, nullptr);
    if (error) {
        LogEvent("LoadingFailed", "", error);
        ShowError(error, MB_ICONERROR);
        EndDialog(hwnd, 0);
    } else if (LoadingStep >= kStepCount) {
        EndDialog(hwnd, 1);
    } else if (!stepContinues) {
        SendMessageA(progress, PBM_STEPIT, 0, 0);
    }
    g_busy = false;
}

void CLoadingDlg::FindMasterScripts()
{
    const std::vector<std::string> found = CollectScripts(ScriptDirectories());
    foundScripts.insert(foundScripts.end(), found.begin(), found.end());
    std::stable_sort(foundScripts.begin(), foundScripts.end(),
                     [](const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); });
    foundScripts.erase(std::unique(foundScripts.begin(), foundScripts.end(),
                                   [](const std::string& a, const std::string& b) {
                                       return TextEquals(a.c_str(), b.c_str());
                                   }),
                       foundScripts.end());
    for (const std::string& script : foundScripts)
        LogText("ScriptFound", script.c_str());
    if (foundScripts.empty())
        ShowError(IDS_NO_SCRIPTS, MB_ICONERROR);
    HWND progress = GetDlgItem(hwnd, IDC_LOADING_PROGRESS);
    SendMessageA(progress, PBM_SETPOS, 20, 0);
    const int increment = foundScripts.empty() ? 10 : 10 / static_cast<int>(foundScripts.size());
    SendMessageA(progress, PBM_SETSTEP, increment, 0);
}

UINT CLoadingDlg::RunStep()
{
    HWND progress = GetDlgItem(hwnd, IDC_LOADING_PROGRESS);
    switch (LoadingStep) {
    case 0:
        if (!administratorCheck(osInfo))
            return IDS_NO_ADMIN_RIGHTS;
        break;
    case 1:
        CloseCompanionPrograms();
        break;
    case 2:
        if (osInfo.IsNT())
            StopSpooler();
        break;
    case 3:
        if (StillWaiting(g_spoolerStopWait, 8))
            return 0;
        break;
    case 4:
        if (osInfo.IsNT() && !StartSpoolerWhenStopped())
            return IDS_SPOOLER_UNSTABLE;
        break;
    case 5:
        if (StillWaiting(g_spoolerStartWait, 3))
            return 0;
        break;
    case 6:
        FindMasterScripts();
        break;
    case 7:
        if (!ContinueLoadingScripts()) {
            stepContinues = true;
            return 0;
        }
        break;
    case 8:
        if (!ContinueFullProfile()) {
            stepContinues = true;
            return 0;
        }
        break;
    case 9: {
        int opened = 0;
        if (!ContinueEnumeration(opened)) {
            stepContinues = true;
            return 0;
        }
        if (database && opened == 0 && g_enumerationAttempts == 0) {
            LogText("PrinterEnumeration", "failed; loading starts over");
            LoadingStep = 0;
            SendMessageA(progress, PBM_SETPOS, 5, 0);
        }
        ++g_enumerationAttempts;
        if (database && LoadingStep == 9)
            LogPrinters(database->printers);
        break;
    }
    case 10:
        CloseCompanionPrograms();
        SendMessageA(progress, PBM_SETSTEP, 1, 0);
        SendMessageA(progress, PBM_SETPOS, 95, 0);
        break;
    default:
        break;
    }
    ++LoadingStep;
    return 0;
}

bool CLoadingDlg::ContinueLoadingScripts()
{
    if (!database)
        return true;
    WorkBudget budget(tickWorkMs);
    // A script is read in one piece of work and its profiles taken in the
    // next; a tick does at least one piece, then as many as the longest
    // piece so far says still fit.
    do {
        if (scriptRead) {
            database->TakeScript(*scriptRead);
            LogText("ScriptLoaded", scriptRead->GetPath());
            scriptRead.reset();
        } else if (scriptsLoaded < foundScripts.size()) {
            const std::string& script = foundScripts[scriptsLoaded++];
            std::unique_ptr<IniDocument> read(new IniDocument());
            // A rejected script is unreadable or malformed; none of it is taken.
            if (database->ReadScript(script.c_str(), *read))
                scriptRead = std::move(read);
            else
                LogText("ScriptRejected", (script + " (" + database->LastRejection() + ")").c_str());
        }
        budget.PieceDone(scriptPieces);
    } while ((scriptRead || scriptsLoaded < foundScripts.size()) && budget.FitsAnother(scriptPieces));
    if (scriptRead || scriptsLoaded < foundScripts.size())
        return false;
    scriptsLoaded = 0;  // a second pass loads them again
    return true;
}

bool CLoadingDlg::ContinueFullProfile()
{
    if (!database)
        return true;
    if (!fullProfileBuild)
        fullProfileBuild.reset(new FullProfileBuild(*database, database->fullProfile, switches));
    WorkBudget budget(tickWorkMs);
    if (!fullProfileBuild->Continue(budget))
        return false;
    fullProfileBuild.reset();
    return true;
}

bool CLoadingDlg::ContinueEnumeration(int& opened)
{
    opened = 0;
    if (!database)
        return true;
    if (!printerEnumeration)
        printerEnumeration.reset(new PrinterEnumeration(database->printers, osInfo, switches, hwnd, strings));
    WorkBudget budget(tickWorkMs);
    if (!printerEnumeration->Continue(budget))
        return false;
    opened = printerEnumeration->Result();
    printerEnumeration.reset();
    return true;
}
