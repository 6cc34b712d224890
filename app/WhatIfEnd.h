// The end of a what-if run ("/WHATIF:<path>"): the report written, the
// user told where it is and what it counts, the exit code chosen.
#pragma once
#include <string>

#include "LookOnly.h"

class CMainDlg;

// Says that the report cannot be written there (a message, or the log).
void ReportUnwritableWhatIf(const std::string& path, unsigned long error);

// exitCode: what the run would end with otherwise. Unattended: 1605 when
// nothing of the package would be removed, 1603 when the report could not
// be written.
int FinishWhatIf(CMainDlg& main, const WhatIfRecord& record, const std::string& path, const std::string& windows,
                 int exitCode);
