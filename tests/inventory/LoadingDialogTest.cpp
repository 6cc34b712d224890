#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "LoadingDlg.h"
#include "PrinterEnumeration.h"
#include "PrivateMessages.h"
#include "ProductText.h"
#include "ScopedOverride.h"
#include "SimulatedSpooler.h"
#include "SpoolerStandIn.h"
#include "StringLoader.h"
#include "SystemChecks.h"
#include "TempDir.h"
#include "UninstallDatabase.h"
#include "VersionRecords.h"
#include "resource.h"

namespace {

CLoadingDlg* g_watched = nullptr;
HHOOK g_hook = nullptr;
std::vector<int> g_stepAtTick;
std::vector<DWORD> g_tickTimes;
std::vector<LRESULT> g_barAtTick;

// Notes the step, the time and the bar's position each loading tick finds,
// and asks to stop at the first one (answered No, which makes the later
// ticks come faster).
LRESULT CALLBACK WatchTicks(int code, WPARAM removed, LPARAM data)
{
    const MSG* message = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removed == PM_REMOVE && g_watched && message->hwnd == g_watched->hwnd &&
        message->message == WM_TIMER && message->wParam == kLoadingTimerId) {
        g_stepAtTick.push_back(g_watched->loading.LoadingStep);
        g_tickTimes.push_back(GetTickCount());
        g_barAtTick.push_back(SendDlgItemMessageA(message->hwnd, IDC_LOADING_PROGRESS, PBM_GETPOS, 0, 0));
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
    LoadingSequence::ResetProcessCounters();
    dialog.loading.osInfo = versions::kWin98;
    dialog.SetDatabase(&database);
    MessageBoxRecorder boxes(IDNO);

    g_watched = &dialog;
    g_stepAtTick.clear();
    g_tickTimes.clear();
    g_barAtTick.clear();
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
    EXPECT_TRUE(dialog.loading.foundScripts.empty());

    // The stop question, then the missing scripts once per pass.
    ASSERT_EQ(3u, boxes.Messages().size());
    EXPECT_EQ(ProductText(IDS_STOP_QUESTION), boxes.Messages()[0].text);
    EXPECT_EQ(ProductText(IDS_CAPTION), boxes.Messages()[0].caption);
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
    LoadingSequence::ResetProcessCounters();
    dialog.SetDatabase(&database);
    const ScopedOverride<LoadingSequence::AdministratorCheck> notAdministrator(LoadingSequence::administratorCheck,
                                                                           NotAnAdministrator);
    MessageBoxRecorder boxes;
    const INT_PTR result = RunLoading(dialog);
    EXPECT_EQ(0, result);
    EXPECT_EQ(0, dialog.loading.LoadingStep);  // the failed step is not passed
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(ProductText(IDS_NO_ADMIN_RIGHTS), boxes.Messages()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Messages()[0].style);
}

// On NT the spooler is stopped and started again; a spooler that cannot
// start ends the loading with message 152.
TEST(SerialLoadingDialog, SpoolerThatCannotStartEndsWithTheUnstableMessage)
{
    SimulatedSpooler spooler("");
    UninstallDatabase database;
    CLoadingDlg dialog;
    LoadingSequence::ResetProcessCounters();
    dialog.loading.osInfo = versions::kWinXP;
    dialog.SetDatabase(&database);
    MessageBoxRecorder boxes;
    INT_PTR result = -1;
    {
        FailingSpoolerStart standIn;
        ASSERT_TRUE(standIn.changed);
        result = RunLoading(dialog);
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ(4, dialog.loading.LoadingStep);
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(ProductText(IDS_SPOOLER_UNSTABLE), boxes.Messages()[0].text);
    EXPECT_EQ(ProductText(IDS_CAPTION), boxes.Messages()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Messages()[0].style);
    EXPECT_TRUE(WaitForSpooler(SERVICE_RUNNING));
}

namespace {

std::vector<std::string> ScriptsIn(const TempDir& directory)
{
    const char* const texts[] = {
        "[UnPrinterDrivers]\r\nVanto LX,LX\r\nVanto MX,MX\r\n[LX.Files]\r\nlx.dll\r\nShared.dll\r\n"
        "[MX.Monitors]\r\nVanto Port\r\n",
        "[UnPrinterMfgs]\r\nVanto,VM\r\n[Unz_CatchAll]\r\nAll,AL\r\n[VM.Files]\r\nSHARED.DLL\r\nvm.dll\r\n"
        "[AL.Services]\r\nvantosvc\r\n",
        "[Unx_Ignore]\r\nKeep,IG\r\n[IG.Files]\r\nlx.dll\r\n[UnPrinterDrivers]\r\nVanto LX,DUP\r\n",
    };
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        const std::string name = "s" + std::to_string(i) + "\\VUNZ__08.unm";
        if (directory.Write(name, texts[i]))
            paths.push_back(directory.Join(name));
    }
    return paths;
}

std::vector<std::string> ProfileTexts(const UninstallDatabase& database)
{
    std::vector<std::string> texts;
    for (const UninstallProfile& profile : database.profiles)
        texts.push_back(std::string(profile.name) + "|" + profile.prefix + "|" + profile.scriptPath);
    for (int list = 0; list < PROFILE_LIST_COUNT; ++list) {
        for (const std::string& item : database.fullProfile.List(list))
            texts.push_back(std::string(ProfileListName(list)) + ":" + item);
    }
    for (const InstalledPrinter& printer : database.printers)
        texts.push_back(std::string(printer.name) + "|" + printer.driverName + "|" + std::to_string(printer.foreign));
    return texts;
}

}  // namespace

// With no time to spare in a tick, steps 7 to 9 take a piece of work per
// tick (a script read, its profiles taken, a profile merged, the lists
// sorted, a printer read); those ticks come without the steps' pacing, and
// the database ends as one loaded at once.
TEST(SerialLoadingDialog, StepsSpreadOverTicksLoadWhatOneTickLoads)
{
    SimulatedSpooler spooler("[Printer]\nName=Vanto Uno\nDriver=Vanto LX\nData.VantoDriver08=1\n"
                             "[Printer]\nName=Vanto Dos\nDriver=Vanto MX\nData.VantoDriver08=1\n"
                             "[Printer]\nName=Ajena\nDriver=Generic\n");
    TempDir directory;
    const std::vector<std::string> scripts = ScriptsIn(directory);
    ASSERT_EQ(3u, scripts.size());
    const COSInfo windows98 = versions::kWin98;

    UninstallDatabase expected;
    for (const std::string& script : scripts)
        ASSERT_EQ(1, expected.LoadScript(script.c_str()));
    CommandLineSwitches switches;
    switches.ParseText("trelun08.exe");
    expected.BuildFullProfile(expected.fullProfile, switches);
    StringLoader strings(GetModuleHandleA(nullptr));
    ASSERT_EQ(3, BuildListOfInstalledPrinters(expected.printers, windows98, switches, nullptr, strings));
    ASSERT_EQ(5u, expected.profiles.size());  // the duplicate "Vanto LX" is dropped

    UninstallDatabase database;
    CLoadingDlg dialog;
    LoadingSequence::ResetProcessCounters();
    dialog.loading.osInfo = windows98;
    dialog.loading.switches = switches;
    dialog.SetDatabase(&database);
    dialog.loading.foundScripts = scripts;
    MessageBoxRecorder boxes(IDNO);
    g_stepAtTick.clear();
    g_tickTimes.clear();
    g_barAtTick.clear();
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, WatchTicks, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_hook);
    LoadingSequence::tickWorkMs = 0;
    const INT_PTR result = RunLoading(dialog);
    LoadingSequence::tickWorkMs = kTickWorkMs;
    UnhookWindowsHookEx(g_hook);

    EXPECT_EQ(1, result);
    EXPECT_EQ(6, std::count(g_stepAtTick.begin(), g_stepAtTick.end(), 7));  // read, take per script
    EXPECT_EQ(6, std::count(g_stepAtTick.begin(), g_stepAtTick.end(), 8));  // five profiles, then the sort
    EXPECT_EQ(3, std::count(g_stepAtTick.begin(), g_stepAtTick.end(), 9));  // one printer each
    EXPECT_EQ(ProfileTexts(expected), ProfileTexts(database));
    EXPECT_EQ(expected.addOnOnly, database.addOnOnly);

    // From the first tick of step 7 to the last of step 9: 14 intervals, of
    // which only the two between the steps keep the 200 ms pacing.
    const auto first = std::find(g_stepAtTick.begin(), g_stepAtTick.end(), 7) - g_stepAtTick.begin();
    const auto last = std::find(g_stepAtTick.begin(), g_stepAtTick.end(), 10) - g_stepAtTick.begin() - 1;
    ASSERT_GT(last, first);
    const DWORD spread = g_tickTimes[static_cast<std::size_t>(last)] - g_tickTimes[static_cast<std::size_t>(first)];
    EXPECT_LT(spread, 14u * 200u / 2u) << "continuation ticks came at the steps' pacing";

    // The bar moves as far for a step spread over ticks as for one tick:
    // not at all between its later ticks.
    int stillTicks = 0;
    for (std::size_t i = 2; i < g_stepAtTick.size(); ++i) {
        if (g_stepAtTick[i] == g_stepAtTick[i - 1] && g_stepAtTick[i - 1] == g_stepAtTick[i - 2] &&
            g_stepAtTick[i] >= 7 && g_stepAtTick[i] <= 9) {
            EXPECT_EQ(g_barAtTick[i - 1], g_barAtTick[i]) << "tick " << i;
            ++stillTicks;
        }
    }
    EXPECT_EQ(4 + 4 + 1, stillTicks);  // the third and later ticks of steps 7, 8 and 9
}
