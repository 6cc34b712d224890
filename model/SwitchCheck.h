// Whether a command line asks only for what this program can do: every
// switch known, each with values it can use. An unattended run stops on
// the first one that is not, rather than guess (a mistyped switch would
// otherwise leave every printer of the package listed). Pure code.
#pragma once
#include <string>

#include "CommandLineSwitches.h"

// The first switch that is unknown or has an unusable value, described for
// the log ("/WHATEVER: unknown switch"); empty when every switch is usable.
std::string UnusableSwitch(const CommandLineSwitches& switches);
