#include "RemovePage.h"

#include "EventLog.h"
#include "LookOnly.h"
#include "PrivateMessages.h"
#include "SystemRestart.h"
#include "UninstallDatabase.h"
#include "UserMessage.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

// The rows' labels and their texts, top to bottom; each label has its icon
// at IDC_STEP_ICON_FIRST + row.
const UINT kRowTexts[STEP_ROW_COUNT] = {
    IDS_STEP_PROFILE, IDS_STEP_ADDONS,   IDS_STEP_PRINTERS, IDS_STEP_DRIVERS, IDS_STEP_MONITORS,
    IDS_STEP_PROCESSORS, IDS_STEP_SERVICES, IDS_STEP_REGISTRY, IDS_STEP_FILES,
};

const UINT kTickMs = 200;
// The next tick of a step that spreads over several comes as soon as the
// window has nothing else to do.
const UINT kContinueTickMs = USER_TIMER_MINIMUM;
const COLORREF kMaskColour = RGB(255, 0, 255);
const int kImagePending = 0;
const int kImageDone = 1;
const int kImageCurrent = 2;

// Set while a step runs: ticks that arrive inside a remover's message box
// return at once, so steps never overlap.
bool g_stepInProgress = false;

}  // namespace

RemovePage::RestartFunction RemovePage::restartSystem = RestartForRemoval;

int RestartForRemoval(const COSInfo& os)
{
    if (os.IsWin9x())
        return ExitWindowsEx(EWX_REBOOT, 0) ? 1 : 0;
    return RestartWithPrivilege();
}

RemovePage::RemovePage()
    : currentRow(0), progressActive(0), normalFont(nullptr), boldFont(nullptr), savedCursor(nullptr),
      waitCursor(nullptr), strings(nullptr), fastTicks(false), images(nullptr)
{
    removal.SetView(this);
}

RemovePage::~RemovePage()
{
    if (boldFont && boldFont != normalFont)
        DeleteObject(boldFont);
    if (images)
        ImageList_Destroy(images);
    if (savedCursor)
        SetCursor(savedCursor);
}

HWND RemovePage::RowIcon(int row) const { return GetDlgItem(hwnd, IDC_STEP_ICON_FIRST + row); }
HWND RemovePage::RowLabel(int row) const { return GetDlgItem(hwnd, IDC_STEP_LABEL_FIRST + row); }

bool RemovePage::OnInit()
{
    OnInitDialog(hwnd);
    return true;
}

void RemovePage::OnTimer(UINT_PTR id) { OnRemovalTimer(id); }

INT_PTR RemovePage::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintRows();
        return 0;
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        for (int row = 0; row < STEP_ROW_COUNT; ++row) {
            if (control == RowIcon(row)) {
                DrawRow(row, reinterpret_cast<HDC>(wParam));
                return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
            }
        }
        return 0;
    }
    case WM_SHOWWINDOW:
        if (wParam)
            redrawProgress(true);
        return 0;
    default:
        return 0;
    }
}

void RemovePage::OnInitDialog(HWND window)
{
    removal.SetOwnerWindow(window);
    strings.SetInstance(GetWindowInstance(window));
    if (images)
        ImageList_Destroy(images);
    images = ImageList_LoadImageA(GetWindowInstance(window), MAKEINTRESOURCEA(IDB_CHECKMARKS), 16, 10, kMaskColour,
                                  IMAGE_BITMAP, 0);
    for (int row = 0; row < STEP_ROW_COUNT; ++row)
        strings.SetDlgItemTextFromString(window, IDC_STEP_LABEL_FIRST + row, kRowTexts[row]);
    normalFont = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    boldFont = normalFont;
    LOGFONTA description = {};
    if (normalFont && GetObjectA(normalFont, sizeof(description), &description)) {
        description.lfWeight = FW_BOLD;
        description.lfQuality = PROOF_QUALITY;
        HFONT bold = CreateFontIndirectA(&description);
        if (bold)
            boldFont = bold;
    }
}

void RemovePage::DrawRow(int row, HDC dc)
{
    int image = kImagePending;
    HFONT font = normalFont;
    if (progressActive) {
        if (row < currentRow)
            image = kImageDone;
        else if (row == currentRow) {
            image = kImageCurrent;
            font = boldFont;
        }
    }
    SendMessageA(RowLabel(row), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (images && dc)
        ImageList_Draw(images, image, dc, 0, 0, ILD_TRANSPARENT);
}

void RemovePage::PaintRows()
{
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    for (int row = 0; row < STEP_ROW_COUNT; ++row) {
        HWND icon = RowIcon(row);
        HDC dc = GetDC(icon);
        DrawRow(row, dc);
        if (dc)
            ReleaseDC(icon, dc);
    }
}

void RemovePage::redrawProgress(bool reset)
{
    if (reset)
        currentRow = 0;
    progressActive = reset ? 0 : 1;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (progressActive)
        ++currentRow;
}

void RemovePage::MarkRow(int row)
{
    currentRow = row;
    redrawProgress(false);
}

void RemovePage::ShowBusy()
{
    waitCursor = LoadCursorA(nullptr, IDC_WAIT);
    savedCursor = SetCursor(waitCursor);
}

void RemovePage::BringToFront()
{
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
}

void RemovePage::beginRemoval()
{
    EnableWindow(GetDlgItem(GetParent(hwnd), IDC_UNINSTALL), FALSE);
    removal.Begin();
    redrawProgress(true);
    SetTimer(hwnd, kRemovalTimerId, kTickMs, nullptr);
}

void RemovePage::OnRemovalTimer(UINT_PTR timerId)
{
    if (timerId != kRemovalTimerId || g_stepInProgress)
        return;
    g_stepInProgress = true;
    if (waitCursor)
        SetCursor(waitCursor);
    WorkBudget budget(RemovalSequence::tickWorkMs);
    const RemovalSequence::Tick tick = removal.RunTick(budget);
    g_stepInProgress = false;
    if (tick == RemovalSequence::Tick::kContinues) {
        if (!fastTicks)
            SetTimer(hwnd, kRemovalTimerId, kContinueTickMs, nullptr);
        fastTicks = true;
        return;
    }
    if (fastTicks && tick != RemovalSequence::Tick::kEnded)
        SetTimer(hwnd, kRemovalTimerId, kTickMs, nullptr);
    fastTicks = false;
}

void RemovePage::Finished()
{
    KillTimer(hwnd, kRemovalTimerId);
    if (savedCursor)
        SetCursor(savedCursor);
    const UninstallDatabase* database = removal.Database();
    // A what-if run ends with the report's own message instead.
    const bool quiet = (database && database->uninstallScanner) || LookOnlyRecord();
    if (database && database->isWin9x && database->restartNeeded && !quiet) {
        const std::string question = strings.GetString(IDS_RESTART_QUESTION);
        const std::string caption = strings.GetString(IDS_CAPTION);
        if (ShowMessageBox(hwnd, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) ==
                IDYES &&
            !restartSystem(removal.osInfo)) {
            const std::string failed = strings.GetString(IDS_RESTART_FAILED);
            ShowMessageBox(hwnd, failed.c_str(), caption.c_str(), MB_SETFOREGROUND);
        }
    } else if (!quiet) {
        const std::string done = strings.GetString(IDS_FINISHED);
        const std::string caption = strings.GetString(IDS_CAPTION);
        ShowMessageBox(hwnd, done.c_str(), caption.c_str(), MB_SETFOREGROUND);
    }
    HWND main = GetParent(hwnd);
    PostMessageA(main, WM_CLOSE, 0, 0);
    PostMessageA(main, UM_REMOVAL_DONE, 0, 0);
}
