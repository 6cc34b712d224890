// The program's start modes: two auxiliary modes for the package's other
// programs, and the normal interactive mode.
#pragma once
#include <windows.h>

enum StartupMode {
    MODE_NORMAL,
    MODE_RESTART_SPOOLER,  // command line "RestartSpooler", any letter case
    MODE_LAUNCH,           // command line starting "LaunchKDC " (with its blank)
};

StartupMode ChooseStartupMode(const char* commandLine);

// The control whose disappearance from the waited-on window lets the
// launch mode go on.
const int kLaunchWaitControlId = 12325;
const char kLaunchPrefix[] = "LaunchKDC ";
const size_t kLaunchPrefixLength = sizeof(kLaunchPrefix) - 1;

// Splits the launch argument "<command> <window handle>" at its last blank:
// the command is cut there and the number after it returned as the window.
// Without a blank the whole argument is the command and no window is waited on.
HWND SplitLaunchArgument(char* argument);

// Restarts the spooler on NT 5 and later and removes the RunOnce entry left
// for this mode. Always 0.
int RunRestartSpoolerMode();

// Waits while the window still has its control 12325, then starts the
// command without waiting for it. Always 0.
int RunLaunchMode(const char* argument);
