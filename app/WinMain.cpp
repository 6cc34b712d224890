// Entry point of trelun08.exe: chooses the start mode from the command line.
#include <windows.h>
#include <commctrl.h>

#include "StartupModes.h"
#include "WindowUtil.h"

namespace {

const char kMainWindowClass[] = "KVQUninstallWindowClass__";

int RunNormalMode()
{
    InitCommonControls();
    try {
        // A second start brings the running window forward and ends quietly.
        if (ActivatePreviousInstance(kMainWindowClass, nullptr))
            throw 0;
        RegisterDialogClass(kMainWindowClass);
        return 1;
    } catch (int exitCode) {
        return exitCode;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    switch (ChooseStartupMode(commandLine)) {
    case MODE_RESTART_SPOOLER:
        return RunRestartSpoolerMode();
    case MODE_LAUNCH:
        return RunLaunchMode(commandLine + kLaunchPrefixLength);
    case MODE_NORMAL:
    default:
        return RunNormalMode();
    }
}
