// The installed printers unmcheck assumes, read from a small text file: one
// printer per line, "name|driver|pelled name|server|default|halvaprint".
// Blank lines and lines starting with "#" are skipped; missing flags are 0
// for default and 1 for halvaprint.
#pragma once
#include <string>
#include <vector>

#include "InstalledPrinter.h"

// False with a reason (file unreadable, a line without a driver name, a
// text over 259 characters, a flag other than 0 or 1).
bool ReadPrinterFile(const std::string& path, bool win32s, std::vector<InstalledPrinter>& printers,
                     std::string& error);
