// Filling the printer list from the spooler.
#pragma once
#include <windows.h>

#include <string>

#include "CommandLineSwitches.h"
#include "OSInfo.h"
#include "PrinterList.h"
#include "StringLoader.h"

// The failure record thrown inside the enumeration and caught there.
struct QuickExceptionInfo {
    DWORD lastError;
    const char* functionName;
    const char* description;
    const char* label1;
    long value1;
    const char* label2;
    long value2;
};

// The diagnostic text of a caught failure (shown nowhere, written to the
// debugger output).
std::string DescribeFailure(const QuickExceptionInfo& failure);

// Appends one record per printer that could be opened and sized, filtered
// by the switches; a printer whose name is already in the list is not
// recorded again. Returns the number of printers opened, or 0 after any
// failure (the records appended so far stay). When the spooler does not
// answer (error 1722) message 206 is shown, owned by loadingDialog, and
// that dialog is ended with 0.
int BuildListOfInstalledPrinters(PrinterList& printers, const COSInfo& os, const CommandLineSwitches& switches,
                                 HWND loadingDialog, StringLoader& strings);
