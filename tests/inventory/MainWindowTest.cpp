#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "DialogDriver.h"
#include "MainDlg.h"
#include "PrivateMessages.h"
#include "SimulatedSpooler.h"
#include "VersionRecords.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

CMainDlg* g_main = nullptr;
HHOOK g_hook = nullptr;
int g_phase = 0;
bool g_asked = false;

// The loading dialog is asked to stop at its first tick and told No: its
// later ticks come every 200 ms, which shortens the test.
LRESULT CALLBACK HurryLoading(int code, WPARAM removed, LPARAM data)
{
    const MSG* message = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removed == PM_REMOVE && g_main && message->hwnd == g_main->loadingDlg.hwnd &&
        message->message == WM_TIMER && message->wParam == kLoadingTimerId && !g_asked) {
        g_asked = true;
        PostMessageA(message->hwnd, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(g_hook, code, removed, data);
}

std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

RECT ScreenRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// What the main window shows once the start sequence has shown it, then
// the state of a removal, then Escape.
void CALLBACK Act(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND main = g_main ? g_main->hwnd : nullptr;
    if (!main || !IsWindowVisible(main))
        return;
    HWND list = nullptr;
    for (HWND page = FindWindowExA(main, nullptr, "#32770", nullptr); page && !list;
         page = FindWindowExA(main, page, "#32770", nullptr))
        list = GetDlgItem(page, IDC_PRINTER_LIST);
    if (g_phase == 0) {
        ++g_phase;
        HMENU menu = GetSystemMenu(main, FALSE);
        ASSERT_NE(nullptr, menu);
        EXPECT_NE(0u, GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_NE(0u, GetMenuState(menu, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_EQ(0u, GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(static_cast<UINT>(IDM_ABOUT), GetMenuItemID(menu, count - 1));
        EXPECT_EQ("Acerca de esta aplicaci\xF3n...", MenuText(menu, count - 1));
        EXPECT_NE(0u, GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_MENUBARBREAK);

        EXPECT_NE(0, SendMessageA(main, WM_GETICON, ICON_BIG, 0));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(main, IDC_PAGE_FRAME)));
        const RECT window = ScreenRect(main);
        const RECT desktop = ScreenRect(GetDesktopWindow());
        EXPECT_LE(std::abs((window.left + window.right) - (desktop.left + desktop.right)), 2);
        EXPECT_LE(std::abs((window.top + window.bottom) - (desktop.top + desktop.bottom)), 2);
        // The page lies exactly over the hidden frame.
        ASSERT_NE(nullptr, list);
        const RECT page = ScreenRect(GetParent(list));
        const RECT frame = ScreenRect(GetDlgItem(main, IDC_PAGE_FRAME));
        EXPECT_TRUE(EqualRect(&page, &frame));

        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_UNINSTALL, BN_CLICKED), 0);
    } else if (g_phase == 1 && !IsWindowVisible(GetParent(list))) {
        ++g_phase;
        KillTimer(nullptr, timer);
        EXPECT_NE(0u, GetMenuState(GetSystemMenu(main, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_EXIT)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_UNINSTALL)));
        // Escape ends the window whatever the removal is doing.
        PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    }
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (g_main && g_main->hwnd)
        EndDialog(g_main->hwnd, 99);
}

}  // namespace

// The main window in this process, on a Windows 98 loading (no spooler
// restart): its system menu, icon, position and page, and what starting the
// removal changes. Runs alone: it owns the program's window class while it
// runs, and the loading closes companion windows of the whole prefix.
TEST(SerialMainWindow, SystemMenuPlacementAndRemovalState)
{
    SimulatedSpooler spooler("[Printer]\nName=Vanto Uno\nDriver=VANTO A\nData.VantoDriver08=1\n"
                             "[Driver]\nName=VANTO A\n");
    RegisterDialogClass("KVQUninstallWindowClass__");
    MessageBoxRecorder boxes(IDNO);
    CMainDlg main;
    main.loadingDlg.loading.osInfo = versions::kWin98;
    LoadingSequence::ResetProcessCounters();

    g_main = &main;
    g_phase = 0;
    g_asked = false;
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, HurryLoading, nullptr, GetCurrentThreadId());
    const UINT_PTR act = SetTimer(nullptr, 0, 50, Act);
    const UINT_PTR guard = SetTimer(nullptr, 0, 60000, GiveUp);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "IDD_MAIN_NOBMP", nullptr, DialogProc,
                                           reinterpret_cast<LPARAM>(&main));
    KillTimer(nullptr, guard);
    KillTimer(nullptr, act);
    UnhookWindowsHookEx(g_hook);
    g_main = nullptr;

    EXPECT_EQ(1, result);
    EXPECT_EQ(2, g_phase);
}
