// The program as a user starts it: the loading dialog, the main window with
// its selection page, the start decisions of the scripts and switches, and
// the ways it ends.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProductText.h"
#include "ProgramSandbox.h"
#include "RemovalScenario.h"
#include "SpoolerStandIn.h"
#include "resource.h"

namespace {

const std::string kCaption = ProductText(IDS_CAPTION);
const std::string kLoadingCaption = ProductText(IDS_LOADING_CAPTION);

// Three printers of the package (one Pelled, one a connection) and a
// foreign one.
const char kState[] =
    "[Printer]\nName=Vanto Oficina\nPort=LPT1:\nDriver=VANTO Laser PCL\nAttributes=0x44\nData.VantoDriver08=1\n"
    "[Printer]\nName=Vanto Enlace\nPort=LPT2:\nDriver=VANTO Laser PS\nData.PellPrinter=Vanto Oficina\n"
    "[Printer]\nName=\\\\HOST\\Vanto Red\nServer=\\\\HOST\nShare=red\nDriver=VANTO Laser PCL\n"
    "Data.VantoDriver08=1\n"
    "[Printer]\nName=Ajena\nPort=LPT3:\nDriver=Generic\n"
    "[Driver]\nName=VANTO Laser PCL\n[Driver]\nName=VANTO Laser PS\n[Driver]\nName=Generic\n";

const char kScript[] = "[UnPrinterDrivers]\r\n\"VANTO Laser PCL\",VLP,1\r\n\"VANTO Laser PS\",VLS,2\r\n";
const char kNoPickScript[] =
    "[UnPrinterDrivers]\r\n\"VANTO Laser PCL\",VLP,1\r\n\"VANTO Laser PS\",VLS,2\r\n"
    "[CommandlineParam]\r\nNOPICK=1\r\n";

typedef std::vector<std::string> Row;

const Row kOficinaRow = {"Vanto Oficina", "VANTO Laser PCL", "Local", "S\xED", "S\xED", "(n/a)"};
const Row kEnlaceRow = {"Vanto Enlace", "VANTO Laser PS", "Local", "No", "No", "Vanto Oficina"};
const Row kRedRow = {"\\\\HOST\\Vanto Red", "VANTO Laser PCL", "\\\\HOST", "No", "S\xED", "(n/a)"};

const int kUninstall = 1080;
const int kExit = 1052;

HWND LoadingDialog(ProgramSandbox& run) { return run.Driver().WaitForWindow("#32770", kLoadingCaption.c_str(), 30000); }

int ProgressPosition(HWND loading)
{
    DWORD_PTR position = 0;
    SendMessageTimeoutA(GetDlgItem(loading, 1023), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 1000, &position);
    return static_cast<int>(position);
}

// Times between the starts of the next `count` loading ticks, seen as the
// progress bar moving (a tick moves it twice, within a few milliseconds).
std::vector<DWORD> TickIntervals(HWND loading, int count)
{
    std::vector<DWORD> starts;
    int last = ProgressPosition(loading);
    DWORD lastChange = 0;
    const DWORD begin = GetTickCount();
    while (static_cast<int>(starts.size()) <= count && IsWindow(loading) && GetTickCount() - begin < 20000) {
        const int now = ProgressPosition(loading);
        const DWORD at = GetTickCount();
        if (now != last) {
            if (starts.empty() || at - lastChange > 150)
                starts.push_back(at);
            lastChange = at;
            last = now;
        }
        Sleep(5);
    }
    std::vector<DWORD> intervals;
    for (std::size_t i = 1; i < starts.size(); ++i)
        intervals.push_back(starts[i] - starts[i - 1]);
    return intervals;
}

DWORD Median(std::vector<DWORD> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Visible(HWND window) { return window && IsWindowVisible(window); }

int ViewMode(HWND list) { return static_cast<int>(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK); }

std::vector<std::string> Texts(const std::vector<FoundMessageBox>& boxes)
{
    std::vector<std::string> texts;
    for (const FoundMessageBox& box : boxes)
        texts.push_back(box.text);
    return texts;
}

// Waits for the main window and reports whether, at the first moment it is
// seen visible, the selection page had never been shown.
struct FirstSight {
    HWND main = nullptr;
    bool selectionEverShown = false;
    bool removalShown = false;
};

FirstSight WatchUntilMainWindowShows(ProgramSandbox& run)
{
    FirstSight sight;
    WaitUntil(
        [&] {
            for (HWND window : run.Driver().TopLevelWindows()) {
                char name[64] = {};
                GetClassNameA(window, name, sizeof(name));
                if (std::string(name) != "KVQUninstallWindowClass__")
                    continue;
                HWND list = run.SelectionList(window);
                if (list && Visible(GetParent(list)))
                    sight.selectionEverShown = true;
                if (Visible(window)) {
                    sight.main = window;
                    sight.removalShown = Visible(run.RemovalPage(window));
                    return true;
                }
            }
            return false;
        },
        60000);
    return sight;
}

}  // namespace

// The whole way through the window a user sees: loading, the main window
// with its list, the about box, choosing a printer, the removal page, and
// Escape ending the program in the middle of the removal.
TEST(ShellScenario, SelectionPageAboutBoxAndEscapeDuringRemoval)
{
    ProgramSandbox run(kState, kScript);
    ASSERT_TRUE(run.Start("", "winxp"));

    HWND loading = LoadingDialog(run);
    ASSERT_NE(nullptr, loading);
    EXPECT_EQ(ProductText(IDS_CREATING_DATABASE), UiDriver::Text(GetDlgItem(loading, 1083)));
    EXPECT_FALSE(Visible(GetDlgItem(loading, 1086)));
    ASSERT_TRUE(WaitUntil([&] { return ProgressPosition(loading) > 1; }, 10000));
    run.Screenshot(loading, "loading-dialog");

    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_FALSE(IsWindow(loading));
    EXPECT_EQ(kCaption, UiDriver::Text(main));
    EXPECT_EQ(ProductText(IDS_BTN_UNINSTALL), UiDriver::Text(GetDlgItem(main, kUninstall)));
    EXPECT_EQ(ProductText(IDS_BTN_CANCEL), UiDriver::Text(GetDlgItem(main, kExit)));
    EXPECT_FALSE(Visible(GetDlgItem(main, 1003)));
    EXPECT_TRUE(UiDriver::IsEnabled(main, kExit));

    // The foreign printer is not offered; nothing is chosen yet.
    HWND list = run.SelectionList(main);
    ASSERT_TRUE(Visible(GetParent(list)));
    EXPECT_FALSE(Visible(run.RemovalPage(main)));
    EXPECT_EQ((std::vector<Row>{kOficinaRow, kEnlaceRow, kRedRow}), run.Driver().ListViewRows(list, 6));
    EXPECT_EQ(LVS_LIST, ViewMode(list));
    EXPECT_FALSE(UiDriver::IsEnabled(main, kUninstall));
    EXPECT_EQ(ProductText(IDS_SELECT_PROMPT), UiDriver::Text(GetDlgItem(GetParent(list), 1084)));
    run.Screenshot(main, "selection-page-list");
    PostMessageA(GetParent(list), WM_COMMAND, 40007, 0);
    ASSERT_TRUE(WaitUntil([&] { return ViewMode(list) == LVS_REPORT; }, 5000));
    run.Screenshot(main, "selection-page-details");

    // The item the program adds to its system menu opens the about box.
    PostMessageA(main, WM_SYSCOMMAND, 156, 0);
    HWND about = run.Driver().WaitForWindow("#32770", ProductText(IDS_ABOUT_CAPTION).c_str(), 10000);
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(main, GetWindow(about, GW_OWNER));
    run.Screenshot(about, "about-box");
    UiDriver::Click(about, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    ASSERT_TRUE(run.Driver().SetListViewSelection(list, 1, true));
    ASSERT_TRUE(WaitUntil([&] { return UiDriver::IsEnabled(main, kUninstall); }, 5000));
    UiDriver::Click(main, kUninstall);

    HWND removal = run.RemovalPage(main);
    ASSERT_TRUE(WaitUntil([&] { return Visible(removal) && !Visible(GetParent(list)); }, 5000));
    EXPECT_FALSE(UiDriver::IsEnabled(main, kExit));
    run.Screenshot(main, "removal-page");

    // Escape is not held back while the removal runs: the program ends with
    // 1 before the removal could finish and say so.
    PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0);
    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 30000, &exitCode);
    EXPECT_EQ(1u, exitCode);
    EXPECT_TRUE(boxes.empty()) << boxes.front().text;
    const std::vector<std::string> left = PrinterNames(run.Spooler().Read());
    for (const char* kept : {"Vanto Oficina", "\\\\HOST\\Vanto Red", "Ajena"})
        EXPECT_NE(left.end(), std::find(left.begin(), left.end(), kept)) << kept;
}

// A second start brings the running window forward and ends with 0; the
// mode word without its blank is the normal mode.
TEST(ShellScenario, SecondStartBringsTheFirstForwardAndEndsWithZero)
{
    ProgramSandbox run(kState, kScript);
    ASSERT_TRUE(run.Start("LaunchKDC", "winxp"));
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5000));

    UiDriver second;
    ASSERT_TRUE(second.Start(run.Program(), "", run.Directory()));
    EXPECT_EQ(0u, second.WaitForExit(30000));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); }, 5000));

    UiDriver::Click(main, kExit);
    EXPECT_EQ(1u, run.Driver().WaitForExit(10000));
    EXPECT_EQ(4u, run.Spooler().Read().printers.size());
}

namespace {

// A tick moves the bar by 4 until the scripts are searched; the spooler is
// stopped at the third tick and started at the thirteenth.
const int kSpoolerStartedPosition = 1 + 4 * 13;

}  // namespace

// Escape in the loading dialog asks 202 with No as the default; No goes on
// with faster ticks, Yes ends the loading and the program, which removes
// nothing. Stopped between the spooler's stop and start, it leaves the
// spooler running.
TEST(ShellScenario, StoppingTheLoadingNoGoesOnFasterYesEnds)
{
    StartSpoolerService();
    ASSERT_TRUE(WaitForSpooler(SERVICE_RUNNING, 10000));
    ProgramSandbox run(kState, kScript);
    ASSERT_TRUE(run.Start("", "winxp"));
    HWND loading = LoadingDialog(run);
    ASSERT_NE(nullptr, loading);
    // Past the spooler's stop, into the waits, whose ticks take no time.
    ASSERT_TRUE(WaitUntil([&] { return ProgressPosition(loading) >= 13; }, 10000));
    const DWORD before = Median(TickIntervals(loading, 2));
    EXPECT_GE(before, 330u);

    PostMessageA(loading, WM_COMMAND, IDCANCEL, 0);
    FoundMessageBox question;
    ASSERT_TRUE(run.Driver().WaitForMessageBox(question, 10000));
    EXPECT_EQ(ProductText(IDS_STOP_QUESTION), question.text);
    EXPECT_EQ(kCaption, question.caption);
    EXPECT_NE(0, GetWindowLongA(GetDlgItem(question.window, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
    const int position = ProgressPosition(loading);
    UiDriver::Answer(question.window, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question.window); }, 5000));
    const DWORD after = Median(TickIntervals(loading, 3));
    EXPECT_LE(after, 300u);
    EXPECT_GT(ProgressPosition(loading), position);

    PostMessageA(loading, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(run.Driver().WaitForMessageBox(question, 10000));
    EXPECT_EQ(ProductText(IDS_STOP_QUESTION), question.text);
    ASSERT_LT(ProgressPosition(loading), kSpoolerStartedPosition);
    UiDriver::Answer(question.window, IDYES);
    EXPECT_EQ(1u, run.Driver().WaitForExit(10000));
    EXPECT_TRUE(run.Spooler().Journal().empty());
    EXPECT_TRUE(WaitForSpooler(SERVICE_RUNNING, 10000)) << SpoolerStatus().dwCurrentState;
}

// Without a script the user is warned and the loading goes on; with no
// printer to list, "Desinstalar" is enabled at once.
TEST(ShellScenario, NoScriptWarnsThenNoPrinterToListOnWindows98)
{
    ProgramSandbox run("[Printer]\nName=Ajena\nPort=LPT3:\nDriver=Generic\n[Driver]\nName=Generic\n", "");
    ASSERT_TRUE(run.Start("", "win98"));
    FoundMessageBox warning;
    ASSERT_TRUE(run.Driver().WaitForMessageBox(warning, 30000));
    EXPECT_EQ(0u, warning.text.find("Aviso: el proceso de desinstalaci\xF3n no puede localizar los scripts de "
                                    "desinstalaci\xF3n (*.unm) \nLa desinstalaci\xF3n continuar\xE1"));
    EXPECT_EQ(kCaption, warning.caption);
    UiDriver::Answer(warning.window, IDOK);

    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    HWND list = run.SelectionList(main);
    EXPECT_TRUE(Visible(GetParent(list)));
    EXPECT_TRUE(run.Driver().ListViewRows(list, 6).empty());
    EXPECT_TRUE(UiDriver::IsEnabled(main, kUninstall));
    EXPECT_TRUE(UiDriver::IsEnabled(main, kExit));
    FoundMessageBox another;
    EXPECT_FALSE(run.Driver().WaitForMessageBox(another, 300)) << another.text;

    UiDriver::Click(main, kExit);
    EXPECT_EQ(1u, run.Driver().WaitForExit(10000));
}

TEST(ShellScenario, SpoolerNotAnsweringEndsTheProgram)
{
    ProgramSandbox run("[Spooler]\nEnumPrintersError=1722\n" + std::string(kState), kScript);
    ASSERT_TRUE(run.Start("", "winxp"));
    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 60000, &exitCode);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(ProductText(IDS_SPOOLER_NOT_RESPONDING), boxes[0].text);
    EXPECT_EQ(1u, exitCode);
}

// A script's NOPICK: no selection is offered, every printer of the package
// goes. (The modal loop shows the main window once it is idle, with the
// removal already under way.)
TEST(ShellScenario, ScriptNoPickRemovesWithoutOfferingTheSelection)
{
    ProgramSandbox run(kState, kNoPickScript);
    ASSERT_TRUE(run.Start("", "winxp"));
    const FirstSight sight = WatchUntilMainWindowShows(run);
    ASSERT_NE(nullptr, sight.main);
    EXPECT_FALSE(sight.selectionEverShown);
    EXPECT_TRUE(sight.removalShown);
    EXPECT_FALSE(UiDriver::IsEnabled(sight.main, kExit));

    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 60000, &exitCode);
    EXPECT_EQ((std::vector<std::string>{ProductText(IDS_DEFAULT_REMOVED_NEW, "Ajena"), ProductText(IDS_FINISHED)}),
              Texts(boxes));
    EXPECT_EQ(1u, exitCode);
    EXPECT_EQ((std::vector<std::string>{"Ajena"}), PrinterNames(run.Spooler().Read()));
}

// A filter switch with the NOPICK switch, but no NOPICK in the scripts: the
// scripts decide, the user still picks among the printers the switches keep.
TEST(ShellScenario, FilterSwitchesWithNoPickSwitchStillOfferTheSelection)
{
    ProgramSandbox run(kState, kScript);
    ASSERT_TRUE(run.Start("-mfg:Ninguno /PRN:\"vanto laser ps\" /NOPICK", "winxp"));
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    HWND list = run.SelectionList(main);
    // The window shows with the removal page first; the start sequence then
    // turns to the selection page.
    EXPECT_TRUE(WaitUntil([&] { return Visible(GetParent(list)) && !Visible(run.RemovalPage(main)); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 1; }, 10000));
    EXPECT_EQ((std::vector<Row>{kEnlaceRow}), run.Driver().ListViewRows(list, 6));
    EXPECT_FALSE(UiDriver::IsEnabled(main, kUninstall));
    EXPECT_TRUE(UiDriver::IsEnabled(main, kExit));

    UiDriver::Click(main, kExit);
    EXPECT_EQ(1u, run.Driver().WaitForExit(10000));
    EXPECT_EQ(4u, run.Spooler().Read().printers.size());
}

// UNPELL and the NOPICK switch with a script's NOPICK: the window shows the
// removal page from the start, and the removal takes exactly the Pelled
// printers.
TEST(ShellScenario, UnpellWithNoPickRemovesOnlyThePelledPrinters)
{
    ProgramSandbox run(kState, kNoPickScript);
    ASSERT_TRUE(run.Start("/UNPELL /NOPICK", "winxp"));
    const FirstSight sight = WatchUntilMainWindowShows(run);
    ASSERT_NE(nullptr, sight.main);
    EXPECT_FALSE(sight.selectionEverShown);
    EXPECT_TRUE(sight.removalShown);

    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 60000, &exitCode);
    EXPECT_EQ((std::vector<std::string>{ProductText(IDS_FINISHED)}), Texts(boxes));
    EXPECT_EQ(1u, exitCode);
    EXPECT_EQ((std::vector<std::string>{"Vanto Oficina", "\\\\HOST\\Vanto Red", "Ajena"}), PrinterNames(run.Spooler().Read()));
}
