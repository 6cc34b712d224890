#include "RemovePage.h"

#include <algorithm>
#include <cstring>

#include "DirectoryPaths.h"
#include "DllSearch.h"
#include "EventLog.h"
#include "MatchingFiles.h"
#include "PrivateMessages.h"
#include "ProtectedDirectoriesOfSystem.h"
#include "RemovalProfileBuild.h"
#include "SpoolerCalls.h"
#include "SystemChecks.h"
#include "SystemRestart.h"
#include "UninstallDatabase.h"
#include "UninstallProfileLog.h"
#include "UserMessage.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

struct StepRow {
    int labelId;
    int iconId;
    UINT stringId;
};

const StepRow kStepRows[] = {
    {1087, 1096, 169}, {1088, 1097, 170}, {1089, 1098, 171}, {1090, 1099, 172}, {1091, 1100, 173},
    {1092, 1101, 174}, {1093, 1102, 175}, {1094, 1103, 176}, {1095, 1104, 177}, {0, 0, 0},
};
const int kRowCount = 9;

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
// Set while the printer-virtualisation utility is found running.
bool g_utilityBusy = false;

// Where the maker records its installation directories. The utility has
// also been looked for under "OEM\OEMPaths"; both are searched.
const char* const kUtilityPathKeys[] = {"SOFTWARE\\VANTO\\OEM01\\OEMPaths", "SOFTWARE\\VANTO\\OEM\\OEMPaths"};

void AddResolved(std::vector<std::string>& list, int id)
{
    FileSpec spec;
    spec.Resolve(id);
    std::string path = spec.DirectoryPath();
    if (path.size() >= 2) {
        Sleep(100);
        spec.Resolve(id);
        path = spec.DirectoryPath();
    }
    // An unresolved directory would turn into the current directory.
    if (path.size() >= 3)
        list.push_back(path);
}

void SortUnique(std::vector<std::string>& list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); });
    list.erase(std::unique(list.begin(), list.end(),
                           [](const std::string& a, const std::string& b) { return TextEquals(a.c_str(), b.c_str()); }),
               list.end());
}

bool CanOpenForReading(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The first "<OEM directory>\<executable>" that exists. Each value is a
// directory of the package's own; anything else (relative, a drive root)
// could start a program of the same name from somewhere else.
bool FindUtility(const char* executable, char (&out)[256])
{
    const ProtectedDirectories windowsOwn = ProtectedDirectoriesOfSystem();
    for (const char* keyPath : kUtilityPathKeys) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            continue;
        bool found = false;
        for (DWORD index = 0; !found; ++index) {
            char name[kTextField] = {};
            DWORD nameSize = sizeof(name);
            char data[kTextField + 1] = {};
            DWORD dataSize = kTextField;
            DWORD type = 0;
            const LONG status = RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                                              reinterpret_cast<BYTE*>(data), &dataSize);
            if (status == ERROR_MORE_DATA)
                continue;
            if (status != ERROR_SUCCESS)
                break;
            std::string directory;
            if ((type != REG_SZ && type != REG_EXPAND_SZ) || !UsableOemDirectory(data, windowsOwn, directory))
                continue;
            const std::string candidate = directory + executable;
            if (FitsField(candidate.c_str(), sizeof(out)) && CanOpenForReading(candidate.c_str())) {
                CopyText(out, candidate.c_str());
                found = true;
            }
        }
        RegCloseKey(key);
        if (found)
            return true;
    }
    return false;
}

}  // namespace

RemovePage::RestartFunction RemovePage::restartSystem = RestartForRemoval;
DWORD RemovePage::tickWorkMs = kTickWorkMs;

int RestartForRemoval(const COSInfo& os)
{
    if (os.IsWin9x())
        return ExitWindowsEx(EWX_REBOOT, 0) ? 1 : 0;
    return RestartWithPrivilege();
}

RemovePage::RemovePage()
    : step(0), currentRow(0), progressActive(0), osInfo(), database(nullptr), normalFont(nullptr), boldFont(nullptr),
      savedCursor(nullptr), waitCursor(nullptr), utilityPath{}, utilityProcess(nullptr), strings(nullptr),
      restartHelperWalk(false), progressContinues(false), images(nullptr), spoolerStopped(false)
{
}

RemovePage::~RemovePage()
{
    // A removal ended between the spooler's stop and its start (Escape,
    // closing, a failure) must not leave printing off.
    if (spoolerStopped)
        LogEvent("StartSpooler", "Spooler", StartSpoolerWhenStopped() ? ERROR_SUCCESS : ERROR_SERVICE_NOT_ACTIVE);
    if (boldFont && boldFont != normalFont)
        DeleteObject(boldFont);
    if (images)
        ImageList_Destroy(images);
    if (savedCursor)
        SetCursor(savedCursor);
    if (utilityProcess && utilityProcess != reinterpret_cast<HANDLE>(1))
        CloseHandle(utilityProcess);
}

HWND RemovePage::RowIcon(int row) const { return GetDlgItem(hwnd, kStepRows[row].iconId); }
HWND RemovePage::RowLabel(int row) const { return GetDlgItem(hwnd, kStepRows[row].labelId); }

INT_PTR RemovePage::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return 1;
    case WM_PAINT:
        paintRows();
        return 0;
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        for (int row = 0; row < kRowCount; ++row) {
            if (control == RowIcon(row)) {
                drawRow(row, reinterpret_cast<HDC>(wParam));
                return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
            }
        }
        return 0;
    }
    case WM_SHOWWINDOW:
        if (wParam)
            redrawProgress(true);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDC_EXIT) {
            EndDialog(window, 1);
            return 1;
        }
        return 0;
    case WM_TIMER:
        onRemovalTimer(wParam);
        return 0;
    default:
        return 0;
    }
}

void RemovePage::OnInitDialog(HWND window)
{
    strings.SetInstance(GetWindowInstance(window));
    if (images)
        ImageList_Destroy(images);
    images = ImageList_LoadImageA(GetWindowInstance(window), MAKEINTRESOURCEA(IDB_CHECKMARKS), 16, 10, kMaskColour,
                                  IMAGE_BITMAP, 0);
    for (int row = 0; row < kRowCount; ++row)
        strings.SetDlgItemTextFromString(window, kStepRows[row].labelId, kStepRows[row].stringId);
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

void RemovePage::drawRow(int row, HDC dc)
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

void RemovePage::paintRows()
{
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    for (int row = 0; row < kRowCount; ++row) {
        HWND icon = RowIcon(row);
        HDC dc = GetDC(icon);
        drawRow(row, dc);
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

void RemovePage::markRow(int row)
{
    currentRow = row;
    redrawProgress(false);
}

void RemovePage::buildDirectoryLists()
{
    systemDirectories.clear();
    printerDirectories.clear();
    AddResolved(systemDirectories, DIR_SYSTEM);
    AddResolved(systemDirectories, DIR_WINDOWS);
    AddResolved(systemDirectories, DIR_COLOR);
    AddResolved(printerDirectories, DIR_PRINTER_DRIVER);
    AddResolved(printerDirectories, DIR_PRINT_PROCESSOR);
    AddResolved(printerDirectories, DIR_INF);
    if (osInfo.IsNT()) {
        AddResolved(printerDirectories, DIR_PRINTER_DRIVER_W40);
        AddResolved(printerDirectories, DIR_PRINT_PROCESSOR_W40);
    }
    SortUnique(systemDirectories);
    SortUnique(printerDirectories);
}

void RemovePage::beginRemoval()
{
    EnableWindow(GetDlgItem(GetParent(hwnd), IDC_UNINSTALL), FALSE);
    buildDirectoryLists();
    step = 0;
    redrawProgress(true);
    SetTimer(hwnd, kRemovalTimerId, kTickMs, nullptr);
}

void RemovePage::onRemovalTimer(UINT_PTR timerId)
{
    if (timerId != kRemovalTimerId || g_stepInProgress)
        return;
    g_stepInProgress = true;
    if (waitCursor)
        SetCursor(waitCursor);
    runStep();
    g_stepInProgress = false;
}

void RemovePage::runStep()
{
    bool advanceStep = true;
    // A step not finished in this tick sets stepContinues and goes on at
    // the next.
    bool stepContinues = false;
    WorkBudget budget(tickWorkMs);
    switch (step) {
    case 0:
        if (!removalProfileBuild) {
            markRow(0);
            waitCursor = LoadCursorA(nullptr, IDC_WAIT);
            savedCursor = SetCursor(waitCursor);
        }
        if (!continueRemovalProfile(budget)) {
            stepContinues = true;
            break;
        }
        if (database)
            LogProfileSizes("RemovalProfile", database->removalProfile);
        ++step;
        advanceStep = false;
        markRow(1);
        break;
    case 1:
        g_utilityBusy = false;
        markRow(1);
        waitForUtility();
        if (g_utilityBusy) {
            advanceStep = false;
        } else if (utilityProcess) {
            if (utilityProcess != reinterpret_cast<HANDLE>(1))
                CloseHandle(utilityProcess);
            utilityProcess = nullptr;
        }
        break;
    case 2:
        markRow(2);
        break;
    case 3:
        currentRow = 2;
        if (!continuePrinterStep(budget)) {
            stepContinues = true;
            break;
        }
        markRow(3);
        break;
    case 4:
        if (!continueDriverStep(budget)) {
            stepContinues = true;
            break;
        }
        redrawProgress(false);
        break;
    case 5:
        if (!continueMonitorStep(budget)) {
            stepContinues = true;
            break;
        }
        redrawProgress(false);
        break;
    case 6:
        for (const char* environment : kSpoolerEnvironments)
            removePrintProcessors(nullptr, environment);
        redrawProgress(false);
        break;
    case 7:
        removeServices();
        break;
    case 8:
        collectDriverFiles();
        if (osInfo.IsWin9x()) {
            if (osInfo.GetVersionKind() == OSVER_WIN95)
                CloseWin95Spooler();
            if (database)
                database->restartNeeded = 1;
        } else if (osInfo.IsNT()) {
            spoolerStopped = StopSpooler() == 1;
        }
        redrawProgress(false);
        break;
    case 9:
        collectOemPaths();
        break;
    case 10:
        if (!continueShortcutStep(budget)) {
            stepContinues = true;
            break;
        }
        ShowWindow(hwnd, SW_SHOWDEFAULT);
        BringWindowToTop(hwnd);
        SetForegroundWindow(hwnd);
        break;
    case 11:
        step = 12;
        advanceStep = false;
        break;
    case 12:
        removeIniEntries();
        break;
    case 13:
        removeStartupEntries();
        redrawProgress(false);
        break;
    case 14:
        stepContinues = !continueFileStep(tickWorkMs);
        break;
    case 15:
        applyRegistryLines();
        redrawProgress(false);
        break;
    case 16:
        if (osInfo.IsNT())
            LogEvent("StartSpooler", "Spooler", StartSpoolerWhenStopped() ? ERROR_SUCCESS : ERROR_SERVICE_NOT_ACTIVE);
        spoolerStopped = false;
        break;
    case 17:
        finish();
        advanceStep = false;
        break;
    default:
        advanceStep = false;
        break;
    }
    if (stepContinues) {
        if (!progressContinues)
            SetTimer(hwnd, kRemovalTimerId, kContinueTickMs, nullptr);
        progressContinues = true;
        return;
    }
    if (progressContinues && step < kFinalStep)
        SetTimer(hwnd, kRemovalTimerId, kTickMs, nullptr);
    progressContinues = false;
    progress = StepProgress();
    if (advanceStep)
        ++step;
}

bool RemovePage::continueRemovalProfile(WorkBudget& budget)
{
    if (!database)
        return true;
    if (!removalProfileBuild)
        removalProfileBuild.reset(new RemovalProfileBuild(*database));
    if (!removalProfileBuild->Continue(budget))
        return false;
    removalProfileBuild.reset();
    // The printers Pelled to a chosen one go with it.
    database->ApplyLinkRule();
    return true;
}

bool RemovePage::startUtility()
{
    if (!FindUtility(kAddOnExecutable, utilityPath) && !FindUtility(kAddOnExecutableWin32s, utilityPath))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    char commandLine[] = " /d";
    DefaultDllSearchForChild childSearch;
    if (!CreateProcessA(utilityPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    utilityProcess = process.hProcess;
    return true;
}

void RemovePage::waitForUtility()
{
    if (!database || database->utilityNotTargeted)
        return;
    if (!utilityProcess) {
        if (startUtility()) {
            g_utilityBusy = true;
        } else if (osInfo.IsWin32s()) {
            g_utilityBusy = true;
            utilityProcess = reinterpret_cast<HANDLE>(1);
        }
        return;
    }
    if (osInfo.IsWin32s()) {
        if (FindWindowA("#32770", "Pellivance"))
            g_utilityBusy = true;
        else
            utilityProcess = nullptr;
        return;
    }
    DWORD code = 0;
    if (GetExitCodeProcess(utilityProcess, &code) && code == STILL_ACTIVE)
        g_utilityBusy = true;
}

void RemovePage::finish()
{
    KillTimer(hwnd, kRemovalTimerId);
    if (savedCursor)
        SetCursor(savedCursor);
    const bool scanner = database && database->uninstallScanner;
    if (database && database->isWin9x && database->restartNeeded && !scanner) {
        const std::string question = strings.GetString(IDS_RESTART_QUESTION);
        const std::string caption = strings.GetString(IDS_CAPTION);
        if (ShowMessageBox(hwnd, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) ==
                IDYES &&
            !restartSystem(osInfo)) {
            const std::string failed = strings.GetString(IDS_RESTART_FAILED);
            ShowMessageBox(hwnd, failed.c_str(), caption.c_str(), MB_SETFOREGROUND);
        }
    } else if (!scanner) {
        const std::string done = strings.GetString(IDS_FINISHED);
        const std::string caption = strings.GetString(IDS_CAPTION);
        ShowMessageBox(hwnd, done.c_str(), caption.c_str(), MB_SETFOREGROUND);
    }
    HWND main = GetParent(hwnd);
    PostMessageA(main, WM_CLOSE, 0, 0);
    PostMessageA(main, UM_REMOVAL_DONE, 0, 0);
}
