// Whether the run is unattended ("/SILENT"): no window is shown and no
// message box waits for an answer.
#pragma once

bool IsSilentRun();
void SetSilentRun(bool on);

// The exit codes deployment systems expect of an unattended run.
enum SilentExitCode {
    SILENT_EXIT_SUCCESS = 0,
    SILENT_EXIT_RESTART_NEEDED = 3010,
    SILENT_EXIT_FATAL = 1603,
    SILENT_EXIT_NOTHING_FOUND = 1605,
    SILENT_EXIT_INVALID_COMMAND_LINE = 1639,  // nothing touched
};
