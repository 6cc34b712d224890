// Calls the unregistration functions of the package's libraries.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Each hook is "library,function". The library is taken from the printer
// driver directory, or from the uninstaller's directory when it is only
// there; its function is called in the rundll form with the uninstaller's
// directory as command line. The current directory is the uninstaller's
// directory afterwards.
void RunUnregisterHooks(const std::vector<std::string>& hooks, HWND page, HINSTANCE instance);
