// The WIN.INI "load" line of Win32s: programs started with Windows, as
// words separated by blanks. Pure code.
#pragma once
#include <string>

// Removes the first occurrence of command that is a whole word of the line
// (at its start or after a blank, followed by a blank or the end), with one
// blank right after it. Both texts are compared as given (callers lower-case
// them). False, with the line unchanged, when there is no such word.
bool RemoveLoadCommand(std::string& line, const std::string& command);
