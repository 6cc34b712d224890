// Entry point of trelun08.exe: chooses the start mode from the command line.
#include <windows.h>
#include <commctrl.h>

#include "MainDlg.h"
#include "StartupModes.h"
#include "WindowUtil.h"

namespace {

const char kMainWindowClass[] = "KVQUninstallWindowClass__";

int RunNormalMode(HINSTANCE instance)
{
    InitCommonControls();
    // A thrown integer ends start-up and becomes the exit code.
    try {
        // A second start brings the running window forward and ends quietly.
        if (ActivatePreviousInstance(kMainWindowClass, nullptr))
            throw 0;
        CMainDlg main;
        RegisterDialogClass(kMainWindowClass);
        return static_cast<int>(
            DialogBoxParamA(instance, "IDD_MAIN_NOBMP", nullptr, DialogProc, reinterpret_cast<LPARAM>(&main)));
    } catch (int exitCode) {
        return exitCode;
    }
}

// Takes the current directory out of the DLL search order. Looked up at
// run time: Windows before XP SP1 does not have the function.
void SafeDllSearch()
{
    typedef BOOL(WINAPI * SetDllDirectoryFn)(LPCSTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetDllDirectoryFn setDllDirectory =
        kernel ? reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")))
               : nullptr;
    if (setDllDirectory)
        setDllDirectory("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    SafeDllSearch();
    switch (ChooseStartupMode(commandLine)) {
    case MODE_RESTART_SPOOLER:
        return RunRestartSpoolerMode();
    case MODE_LAUNCH:
        return RunLaunchMode(commandLine + kLaunchPrefixLength);
    case MODE_NORMAL:
    default:
        return RunNormalMode(instance);
    }
}
