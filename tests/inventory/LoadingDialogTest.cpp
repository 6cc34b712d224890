#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "DialogDriver.h"
#include "LoadingDlg.h"
#include "PrivateMessages.h"
#include "SimulatedSpooler.h"
#include "SpoolerStandIn.h"
#include "SystemChecks.h"
#include "UninstallDatabase.h"
#include "VersionRecords.h"
#include "resource.h"

namespace {

CLoadingDlg* g_watched = nullptr;
HHOOK g_hook = nullptr;
std::vector<int> g_stepAtTick;

// Notes the step each loading tick finds, and asks to stop at the first
// one (answered No, which makes the later ticks come faster).
LRESULT CALLBACK WatchTicks(int code, WPARAM removed, LPARAM data)
{
    const MSG* message = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removed == PM_REMOVE && g_watched && message->hwnd == g_watched->hwnd &&
        message->message == WM_TIMER && message->wParam == kLoadingTimerId) {
        g_stepAtTick.push_back(g_watched->LoadingStep);
        if (g_stepAtTick.size() == 1)
            PostMessageA(message->hwnd, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(g_hook, code, removed, data);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (g_watched && g_watched->hwnd)
        EndDialog(g_watched->hwnd, 99);
}

}  // namespace

// The step machine on a Windows 98 system (no spooler restart) with no
// printer installed: the first pass waits nine and four ticks, the
// enumeration finds nothing, and one more pass runs every step once before
// the dialog ends with 1. Runs alone: its companion-program closing reaches
// every window of the prefix.
TEST(SerialLoadingDialog, TwoPassesWithoutPrintersThenResultOne)
{
    SimulatedSpooler spooler("");
    UninstallDatabase database;
    CLoadingDlg dialog;
    CLoadingDlg::ResetProcessCounters();
    dialog.osInfo = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    dialog.SetDatabase(&database);
    MessageBoxRecorder boxes(IDNO);

    g_watched = &dialog;
    g_stepAtTick.clear();
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, WatchTicks, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_hook);
    const UINT_PTR guard = SetTimer(nullptr, 0, 60000, GiveUp);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOADING), nullptr,
                                           DialogProc, reinterpret_cast<LPARAM>(&dialog));
    KillTimer(nullptr, guard);
    UnhookWindowsHookEx(g_hook);
    g_watched = nullptr;

    EXPECT_EQ(1, result);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 5, 5, 5, 5, 6, 7, 8, 9,  // first pass
                                1, 2, 3, 4, 5, 6, 7, 8, 9, 10}),
              g_stepAtTick);
    EXPECT_TRUE(database.printers.IsEmpty());
    EXPECT_TRUE(dialog.foundScripts.empty());

    // The stop question, then the missing scripts once per pass.
    ASSERT_EQ(3u, boxes.Messages().size());
    EXPECT_EQ("\xBF\x44\x65sea detener la desinstalaci\xF3n?", boxes.Messages()[0].text);
    EXPECT_EQ("Desinstalaci\xF3n de la impresora", boxes.Messages()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION), boxes.Messages()[0].style);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(0u, boxes.Messages()[i].text.find("Aviso: el proceso de desinstalaci\xF3n no puede localizar"));
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Messages()[i].style);
    }
}

namespace {

int NotAnAdministrator(const COSInfo&) { return 0; }

// Runs the loading dialog until it ends (at most a minute) and returns its result.
INT_PTR RunLoading(CLoadingDlg& dialog)
{
    g_watched = &dialog;
    const UINT_PTR guard = SetTimer(nullptr, 0, 60000, GiveUp);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOADING), nullptr,
                                           DialogProc, reinterpret_cast<LPARAM>(&dialog));
    KillTimer(nullptr, guard);
    g_watched = nullptr;
    return result;
}

}  // namespace

TEST(SerialLoadingDialog, WithoutAdministratorRightsEndsAtOnce)
{
    SimulatedSpooler spooler("");
    UninstallDatabase database;
    CLoadingDlg dialog;
    CLoadingDlg::ResetProcessCounters();
    dialog.SetDatabase(&database);
    CLoadingDlg::administratorCheck = NotAnAdministrator;
    MessageBoxRecorder boxes;
    const INT_PTR result = RunLoading(dialog);
    CLoadingDlg::administratorCheck = IsAdministrator;
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, dialog.LoadingStep);  // the failed step is not passed
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ("No tiene derechos de administrador. La desinstalaci\xF3n no puede continuar. Consulte al "
              "administrador del sistema.",
              boxes.Messages()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Messages()[0].style);
}

// On NT the spooler is stopped and started again; a spooler that cannot
// start ends the loading with message 152.
TEST(SerialLoadingDialog, SpoolerThatCannotStartEndsWithTheUnstableMessage)
{
    SimulatedSpooler spooler("");
    UninstallDatabase database;
    CLoadingDlg dialog;
    CLoadingDlg::ResetProcessCounters();
    dialog.osInfo = ClassifiedAs(VER_PLATFORM_WIN32_NT, 5, 1);
    dialog.SetDatabase(&database);
    MessageBoxRecorder boxes;
    INT_PTR result = -1;
    {
        FailingSpoolerStart standIn;
        ASSERT_TRUE(standIn.changed);
        result = RunLoading(dialog);
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ(4, dialog.LoadingStep);
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ("\xA1" "El spooler es inestable!\nReinicie el sistema y repita la desinstalaci\xF3n.",
              boxes.Messages()[0].text);
    EXPECT_EQ("Desinstalaci\xF3n de la impresora", boxes.Messages()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Messages()[0].style);
    EXPECT_TRUE(WaitForSpooler(SERVICE_RUNNING));
}
