// The report of a what-if run: INI sections a person can read and a script
// can parse. [WhatIf] sums up; [Actions] holds one line per action in step
// order, "<n>=<step>|<action>|<result>|<target>"; [Stays] one line per
// item that stays, "<n>=<step>|<reason>|<target>". The target comes last,
// so it may hold any character.
#pragma once
#include <string>

#include "LookOnly.h"

struct WhatIfSummary {
    std::string computer;
    std::string windows;
    std::string registryView;
    std::string printers;  // those the removal would take, comma-separated
    bool restartNeeded = false;
    int exitCode = 0;
};

// The name of a removal step in the report.
const char* StepName(int step);

// True when the run would remove or change anything (stopping and starting
// the spooler aside).
bool AnythingToRemove(const WhatIfRecord& record);

std::string WhatIfReportText(const WhatIfRecord& record, const WhatIfSummary& summary);

// Writes the text to path, replacing the file; false when it could not.
bool WriteWhatIfReport(const char* path, const std::string& text);
