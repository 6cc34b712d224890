// The removal page and its sequence as a whole: eighteen timer steps, the rows and their
// marks, the wait for the printer-virtualisation utility, and the finish.
// These stop and start the Spooler service, use the maker's registry keys
// and run the utility stand-in: they run alone.
#include "RemovalFixture.h"

#include <functional>

#include "PrivateMessages.h"
#include "ProductText.h"
#include "RemovalPageRun.h"
#include "ScopedOverride.h"
#include "StepMark.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "UserMessage.h"
#include "resource.h"

namespace {

const char kOemPaths[] = "SOFTWARE\\VANTO\\OEM01\\OEMPaths";

int g_restartCalls = 0;
int g_restartResult = 1;
int FakeRestart(const COSInfo&)
{
    ++g_restartCalls;
    return g_restartResult;
}

class SerialRemovalSequence : public RemovalTest {
protected:
    RemovalSequence& Removal() override { return page.removal; }
    void SetUp() override
    {
        RemovalTest::SetUp();
        ASSERT_TRUE(run.Made());
        UseSystem(kWin98);
        hadVanto = KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO");
        g_restartCalls = 0;
        g_restartResult = 1;
        // One printer goes, one stays: no final clean-up of the maker's keys.
        spooler.Write("[Printer]\nName=Corvel Sale\nDriver=VANTO Corvel\n"
                      "[Printer]\nName=Corvel Queda\nDriver=VANTO Corvel\n[Driver]\nName=VANTO Corvel\n");
        AddRecord("Corvel Sale", "VANTO Corvel", true);
        AddRecord("Corvel Queda", "VANTO Corvel", false);
        run.Show();
    }
    void TearDown() override
    {
        SetMessageBoxHandler(nullptr);
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kOemPaths);
        if (!hadVanto)
            RemoveKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO");
    }

    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) { return run.PumpUntil(done, timeoutMs); }
    bool RunToTheEnd() { return run.RunToTheEnd(); }

    // The mark each row shows as the page last painted it.
    std::string Marks()
    {
        std::string marks;
        for (int row = 0; row < STEP_ROW_COUNT; ++row) {
            HWND icon = GetDlgItem(run.PageWindow(), IDC_STEP_ICON_FIRST + row);
            HDC dc = GetDC(icon);
            marks += StepMark(dc, 0, 0);
            ReleaseDC(icon, dc);
        }
        return marks;
    }

    RemovalPageRun run{database};
    RemovePage& page = run.Page();
    ScopedOverride<RemovePage::RestartFunction> restart{RemovePage::restartSystem, FakeRestart};
    bool hadVanto = false;
};

}  // namespace

TEST_F(SerialRemovalSequence, Windows9xEndsWithTheRestartQuestion)
{
    EXPECT_EQ("ggggggggg", Marks());
    MessageBoxRecorder boxes(IDNO);
    page.beginRemoval();
    ASSERT_TRUE(RunToTheEnd());

    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(ProductText(IDS_RESTART_QUESTION), boxes.Messages()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND), boxes.Messages()[0].style);
    EXPECT_EQ(0, g_restartCalls);
    EXPECT_EQ((std::vector<UINT>{WM_CLOSE, UM_REMOVAL_DONE}), run.Posted());
    EXPECT_EQ("GGGGGGGGG", Marks());
    EXPECT_EQ(1, database.restartNeeded);
    EXPECT_EQ(1u, spooler.Read().printers.size());

    // The timer is gone: nothing more happens.
    const int step = page.removal.step;
    EXPECT_FALSE(PumpUntil([] { return false; }, 600));
    EXPECT_EQ(step, page.removal.step);
    EXPECT_EQ(1u, boxes.Messages().size());
}

TEST_F(SerialRemovalSequence, RestartThatFailsIsReported)
{
    g_restartResult = 0;
    MessageBoxRecorder boxes(IDYES);
    page.beginRemoval();
    ASSERT_TRUE(RunToTheEnd());
    EXPECT_EQ(1, g_restartCalls);
    ASSERT_EQ(2u, boxes.Messages().size());
    EXPECT_EQ(ProductText(IDS_RESTART_QUESTION), boxes.Messages()[0].text);
    EXPECT_EQ(ProductText(IDS_RESTART_FAILED), boxes.Messages()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_SETFOREGROUND), boxes.Messages()[1].style);
}

TEST_F(SerialRemovalSequence, ScannerUninstallFollowsWithoutAMessage)
{
    database.uninstallScanner = 1;
    MessageBoxRecorder boxes(IDYES);
    page.beginRemoval();
    ASSERT_TRUE(RunToTheEnd());
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(0, g_restartCalls);
    EXPECT_EQ((std::vector<UINT>{WM_CLOSE, UM_REMOVAL_DONE}), run.Posted());
}

// On NT a needed restart is never offered; the Spooler service is stopped
// and started again around the file and registry steps.
TEST_F(SerialRemovalSequence, WindowsNtEndsWithTheCompletionMessage)
{
    UseSystem(kWinXP);
    database.restartNeeded = 1;
    MessageBoxRecorder boxes(IDYES);
    page.beginRemoval();
    ASSERT_TRUE(RunToTheEnd());
    ASSERT_EQ(1u, boxes.Messages().size());
    EXPECT_EQ(ProductText(IDS_FINISHED), boxes.Messages()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_SETFOREGROUND), boxes.Messages()[0].style);
    EXPECT_EQ(0, g_restartCalls);
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE spoolerService = OpenServiceA(manager, "Spooler", SERVICE_QUERY_STATUS);
    SERVICE_STATUS status = {};
    ASSERT_TRUE(QueryServiceStatus(spoolerService, &status));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), status.dwCurrentState);
    CloseServiceHandle(spoolerService);
    CloseServiceHandle(manager);
}

namespace {

RemovePage* g_watchedPage = nullptr;
int g_boxes = 0;
int g_stepAtBox = -1;
int g_stepAfterBox = -1;
int g_ticksDuringBox = 0;

// A message box whose modal loop lets the page's timer messages through for
// a while, as a real one does.
int SlowMessageBox(HWND, const char*, const char*, UINT)
{
    if (g_boxes++ == 0) {
        g_stepAtBox = g_watchedPage->removal.step;
        const DWORD start = GetTickCount();
        MSG message;
        while (GetTickCount() - start < 1000) {
            while (PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
                ++g_ticksDuringBox;
                DispatchMessageA(&message);
            }
            Sleep(20);
        }
        g_stepAfterBox = g_watchedPage->removal.step;
    }
    return IDNO;
}

}  // namespace

TEST_F(SerialRemovalSequence, MessageBoxOfARemoverHoldsTheNextStep)
{
    // The chosen printer is the default and the kept one takes over: the
    // printer step shows message 160.
    database.printers.begin()->isDefault = 1;
    g_watchedPage = &page;
    g_boxes = 0;
    g_ticksDuringBox = 0;
    SetMessageBoxHandler(SlowMessageBox);
    page.beginRemoval();
    ASSERT_TRUE(RunToTheEnd());
    EXPECT_EQ(2, g_boxes);  // message 160, then the restart question
    EXPECT_GE(g_ticksDuringBox, 3);
    EXPECT_EQ(3, g_stepAtBox);
    EXPECT_EQ(3, g_stepAfterBox);
    EXPECT_EQ(1, std::next(database.printers.begin())->isDefault);
}

namespace {

class SerialUtilityWait : public SerialRemovalSequence {
protected:
    void SetUp() override
    {
        SerialRemovalSequence::SetUp();
        oem = root.Join("oem\\Vanto\\");
        ASSERT_TRUE(root.MakeDirectory("oem\\Vanto"));
        ASSERT_TRUE(CopyFileA((BinDirectory() + "..\\bin\\utility_standin.exe").c_str(),
                              (oem + "PELLIV32.EXE").c_str(), FALSE));
    }
    void TearDown() override
    {
        // A stand-in still running would keep its directory from going.
        root.Write("oem\\Vanto\\release", "");
        if (UtilityStarted())
            WaitUntilDone();
        SerialRemovalSequence::TearDown();
    }
    void WaitUntilDone()
    {
        for (int i = 0; i < 100 && !UtilityDone(); ++i)
            Sleep(50);
        Sleep(200);  // the process ends after its last line
    }
    bool UtilityStarted() { return ReadWholeFile(oem + "standin.log").find('[') != std::string::npos; }
    bool UtilityDone() { return ReadWholeFile(oem + "standin.log").find("done") != std::string::npos; }
    TempDir root;
    std::string oem;
};

}  // namespace

TEST_F(SerialUtilityWait, PrintersWaitUntilTheUtilityHasFinished)
{
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "a", root.Join("nowhere\\at\\all")));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "b", oem.substr(0, oem.size() - 1)));
    database.fullProfile.files = {"PELLIV32.EXE"};
    MessageBoxRecorder boxes(IDNO);
    page.beginRemoval();
    ASSERT_TRUE(PumpUntil([this] { return UtilityStarted(); }, 10000));
    // While it runs, the page stays on row 1 and no printer goes.
    PumpUntil([] { return false; }, 800);
    EXPECT_EQ(1, page.removal.step);
    EXPECT_EQ("GRggggggg", Marks());
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ("[ /d]\r\n", ReadWholeFile(oem + "standin.log"));

    ASSERT_TRUE(root.Write("oem\\Vanto\\release", ""));
    ASSERT_TRUE(RunToTheEnd());
    EXPECT_TRUE(UtilityDone());
    EXPECT_EQ("DeletePrinter|Corvel Sale|ok", Journal().at(0));
    // The utility is one of the listed files: the file step takes it.
    EXPECT_FALSE(PathExists(oem + "PELLIV32.EXE"));
}

TEST_F(SerialUtilityWait, UtilityNotListedIsNotStarted)
{
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "a", oem));
    MessageBoxRecorder boxes(IDNO);
    page.beginRemoval();
    ASSERT_TRUE(PumpUntil([this] { return page.removal.step > 1; }, 10000));
    ASSERT_TRUE(RunToTheEnd());
    EXPECT_FALSE(PathExists(oem + "standin.log"));
}

// Only an OEM directory of its own is searched: a relative value would start
// whatever "PELLIV32.EXE" the current directory holds.
TEST_F(SerialUtilityWait, UtilityOnlyFromAnOemDirectoryOfItsOwn)
{
    ASSERT_TRUE(SetCurrentDirectoryA(root.Join("oem").c_str()));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "a", "Vanto"));
    ASSERT_TRUE(SetText(HKEY_LOCAL_MACHINE, kOemPaths, "b", ".\\Vanto\\"));
    database.fullProfile.files = {"PELLIV32.EXE"};
    MessageBoxRecorder boxes(IDNO);
    page.beginRemoval();
    ASSERT_TRUE(RunToTheEnd());
    SetCurrentDirectoryA(WindowsDirectory().c_str());
    EXPECT_FALSE(PathExists(oem + "standin.log"));
}
