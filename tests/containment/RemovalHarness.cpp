#include "RemovalHarness.h"

#include <commctrl.h>

#include <algorithm>

#include "CommandLineSwitches.h"
#include "PrinterEnumeration.h"
#include "PrivateMessages.h"
#include "RemovePage.h"
#include "StringLoader.h"

namespace containment {

namespace {

const char kParentClass[] = "TrelunContainmentParent";

struct ParentState {
    bool closed = false;
    bool finished = false;
    bool closeBeforeFinish = false;
};
ParentState* g_parent = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_parent && message == WM_CLOSE) {
        g_parent->closed = true;
        return 0;  // the test owns this window's lifetime
    }
    if (g_parent && message == UM_REMOVAL_DONE) {
        g_parent->closeBeforeFinish = g_parent->closed;
        g_parent->finished = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int g_restartRequests = 0;
int RecordRestart(const COSInfo&)
{
    ++g_restartRequests;
    return 1;
}

void RegisterParentClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

bool LoadDatabase(UninstallDatabase& database, const std::vector<std::string>& scriptPaths, bool unpell,
                  const std::string& filter)
{
    std::vector<std::string> sorted = scriptPaths;
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); });
    for (const std::string& path : sorted)
        database.LoadScript(path.c_str());
    CommandLineSwitches switches;
    switches.ParseText((std::string(unpell ? "trelun08.exe /UNPELL " : "trelun08.exe ") + filter).c_str());
    database.BuildFullProfile(database.fullProfile, switches);
    StringLoader strings(GetModuleHandleA(nullptr));
    return BuildListOfInstalledPrinters(database.printers, database.osInfo, switches, nullptr, strings) > 0;
}

RemovalOutcome RunFullRemoval(UninstallDatabase& database, unsigned long limitMs)
{
    InitCommonControls();
    RegisterParentClass();
    RemovalOutcome outcome;
    ParentState parentState;
    g_parent = &parentState;
    g_restartRequests = 0;
    RemovePage::RestartFunction previousRestart = RemovePage::restartSystem;
    RemovePage::restartSystem = RecordRestart;
    MessageBoxRecorder recorder(IDOK);

    HWND parent = CreateWindowA(kParentClass, "parent", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    {
        RemovePage page;
        page.SetDatabase(&database);
        HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), "IDD_REMOVE", parent, DialogProc,
                                         reinterpret_cast<LPARAM>(&page));
        if (parent && window) {
            const DWORD start = GetTickCount();
            page.beginRemoval();
            while (!parentState.finished && GetTickCount() - start < limitMs) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                MSG message;
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&message);
                    DispatchMessageA(&message);
                }
            }
            outcome.milliseconds = GetTickCount() - start;
            KillTimer(window, kRemovalTimerId);
        }
        if (parent)
            DestroyWindow(parent);
    }
    outcome.finished = parentState.finished;
    outcome.closeBeforeFinish = parentState.closeBeforeFinish;
    outcome.messages = recorder.Messages();
    outcome.restartRequests = g_restartRequests;
    RemovePage::restartSystem = previousRestart;
    g_parent = nullptr;
    return outcome;
}

}  // namespace containment
