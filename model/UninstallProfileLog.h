// Writes the size of each list of a profile to the run's log.
#pragma once
#include "UninstallProfile.h"

// "<event> drivers=2 monitors=1 ..." as one log line.
void LogProfileSizes(const char* event, const UninstallProfile& profile);
