// Handles of opened printers. A handle names its printer, so a printer that
// the state no longer holds makes later calls on the handle fail.
#pragma once
#include <windows.h>

#include <string>

namespace spoolsim {

struct OpenedPrinter {
    std::string printerName;  // empty for the local print server
    DWORD access = 0;
};

HANDLE AddPrinterHandle(const OpenedPrinter& opened);
// nullptr for a handle that is not open.
OpenedPrinter* FindPrinterHandle(HANDLE handle);
bool ClosePrinterHandle(HANDLE handle);

}  // namespace spoolsim
