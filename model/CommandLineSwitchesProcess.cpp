#include <windows.h>

#include "CommandLineSwitches.h"

int CommandLineSwitches::Parse() { return ParseText(GetCommandLineA()); }
