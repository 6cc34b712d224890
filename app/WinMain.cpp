// Entry point of trelun08.exe: chooses the start mode from the command line.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "CommandLineSwitches.h"
#include "DllSearch.h"
#include "EventLog.h"
#include "LookOnly.h"
#include "MainDlg.h"
#include "MessageLog.h"
#include "SilentRun.h"
#include "UserMessage.h"
#include "StartupModes.h"
#include "SwitchCheck.h"
#include "TextUtil.h"
#include "WhatIfEnd.h"
#include "WindowUtil.h"
#include "Wow64HandOver.h"

namespace {

const char kMainWindowClass[] = "KVQUninstallWindowClass__";

std::string WindowsVersionText()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version))
        return "unknown";
    char text[200];
    FormatText(text, sizeof(text), "platform=%lu version=%lu.%lu build=%lu %.100s", version.dwPlatformId,
                  version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber, version.szCSDVersion);
    return text;
}

// "/SILENT" and "/LOG:<path>"; a path holding commas was split into values.
void SetUpRunMode(const CommandLineSwitches& switches)
{
    SetSilentRun(switches.HasSwitch("SILENT"));
    OpenEventLog(switches.PathValue("LOG").c_str());
    if (IsSilentRun() || EventLogEnabled())
        SetMessageBoxHandler(LoggingMessageBoxHandler);
    LogText("Start", GetCommandLineA());
    LogText("Windows", WindowsVersionText().c_str());
    LogText("Program", sizeof(void*) == 8 ? "64-bit" : "32-bit");
    LogText("Mode", IsSilentRun() ? "silent" : "interactive");
    if (switches.HasSwitch("WHATIF"))
        LogText("WhatIf", switches.PathValue("WHATIF").c_str());
}

int RunNormalMode(HINSTANCE instance, const char* arguments)
{
    InitCommonControls();
    CommandLineSwitches switches;
    switches.Parse();
    SetUpRunMode(switches);
    // Unattended, a switch the program cannot use ends the run untouched:
    // guessing would remove every printer of the package. Interactive runs
    // ignore it, as the user still sees the list and chooses.
    const std::string unusable = UnusableSwitch(switches);
    if (IsSilentRun() && !unusable.empty()) {
        LogText("InvalidCommandLine", unusable.c_str());
        LogEvent("Exit", "", SILENT_EXIT_INVALID_COMMAND_LINE);
        return SILENT_EXIT_INVALID_COMMAND_LINE;
    }
    if (!unusable.empty())
        LogText("SwitchIgnored", unusable.c_str());
#ifndef _WIN64
    if (RunningUnderWow64()) {
        const int handedOver = HandOverTo64BitProgram(arguments);
        LogEvent("Exit", "", static_cast<unsigned long>(handedOver));
        return handedOver;
    }
#else
    (void)arguments;  // this is the program handed over to
#endif
    // "/WHATIF:<path>": the whole run only looks; the report says what it saw.
    const std::string whatIfPath = TrimmedOf(switches.PathValue("WHATIF"), "\" ");
    const bool whatIf = switches.HasSwitch("WHATIF") && !whatIfPath.empty() && whatIfPath.size() < kTextField;
    if (switches.HasSwitch("WHATIF") && !whatIf) {
        // Going on would remove for real what the user meant only to see.
        ReportUnwritableWhatIf(whatIfPath, ERROR_INVALID_NAME);
        LogEvent("Exit", "", 1);
        return 1;
    }
    WhatIfRecord whatIfRecord;
    std::unique_ptr<LookOnlyScope> lookOnly(whatIf ? new LookOnlyScope(whatIfRecord) : nullptr);
    int exitCode = 0;
    // A thrown integer ends start-up and becomes the exit code.
    try {
        // A second start brings the running window forward and ends quietly.
        if (ActivatePreviousInstance(kMainWindowClass, nullptr)) {
            LogText("AlreadyRunning", kMainWindowClass);
            throw IsSilentRun() ? static_cast<int>(SILENT_EXIT_FATAL) : 0;
        }
        CMainDlg main;
        RegisterDialogClass(kMainWindowClass);
        exitCode = static_cast<int>(
            main.DoModal(nullptr, "IDD_MAIN_NOBMP", instance));
        if (IsSilentRun())
            exitCode = main.SilentExitCode();
        if (whatIf)
            exitCode = FinishWhatIf(main, whatIfRecord, whatIfPath, WindowsVersionText(), exitCode);
    } catch (int thrown) {
        exitCode = thrown;
    }
    LogEvent("Exit", "", static_cast<unsigned long>(exitCode));
    return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    RemoveCurrentDirectoryFromDllSearch();
    switch (ChooseStartupMode(commandLine)) {
    case MODE_RESTART_SPOOLER:
        return RunRestartSpoolerMode();
    case MODE_LAUNCH:
        return RunLaunchMode(commandLine + kLaunchPrefixLength);
    case MODE_NORMAL:
    default:
        return RunNormalMode(instance, commandLine);
    }
}
