// Time spent inside the spooler calls this program makes through
// VSPOOL08.dll: its import table entries for them are routed through
// wrappers that time each call, so a figure can be split into the spooler's
// share and the caller's own work.
#pragma once

struct SpoolerCallTotals {
    double ms = 0;
    unsigned long calls = 0;
};

// Routes every spooler call of the import table (not the registry calls,
// which the simulator hands to the system); false when the enumeration's
// were not found.
bool TimeSpoolerCalls();
SpoolerCallTotals SpoolerCallTime();
void ResetSpoolerCallTime();
