// The command-line filter of the printer list: "MFG" keeps printers whose
// driver name begins with a value, "PRN" those whose driver name is a value,
// "UNPELL" only the Pelled printers. Pure code.
#pragma once
#include "CommandLineSwitches.h"
#include "InstalledPrinter.h"

// True when the switches keep the printer in the list.
bool PassesSwitchFilter(const InstalledPrinter& printer, const CommandLineSwitches& switches);

// A printer that does not pass gets listed = 0 and excluded = 1: it stays.
void ApplySwitchFilter(InstalledPrinter& printer, const CommandLineSwitches& switches);
