// Builds uninstall databases in memory for the tests of the pages and
// dialogs that show them.
#pragma once
#include <string>

#include "UninstallDatabase.h"

InstalledPrinter MakePrinter(const char* name, const char* driver, const char* pelled = "", const char* server = "",
                             int isDefault = 0);

// A driver profile named after its driver, with the given files.
UninstallProfile MakeDriverProfile(const char* driver, std::initializer_list<const char*> files);
