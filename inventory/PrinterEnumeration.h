// Filling the printer list from the spooler.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "OSInfo.h"
#include "PrinterList.h"
#include "StringLoader.h"
#include "WorkBudget.h"

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

// The same a slice at a time, for the loading dialog's ticks: the spooler's
// list is taken at the start, then each printer is opened and read in turn.
class PrinterEnumeration {
public:
    PrinterEnumeration(PrinterList& printers, const COSInfo& os, const CommandLineSwitches& switches,
                       HWND loadingDialog, StringLoader& strings);

    // Works until done or until the budget is spent; true once the
    // enumeration has ended.
    bool Continue(WorkBudget& budget);
    // Once ended: what BuildListOfInstalledPrinters returns.
    int Result() const { return count; }

private:
    // False when the spooler gives no list (nothing is recorded).
    bool Start();
    void RecordPrinter(const char* name);
    bool End(int result);

    PrinterList& printers;
    const COSInfo& os;
    const CommandLineSwitches& switches;
    HWND loadingDialog;
    StringLoader& strings;
    std::vector<BYTE> entries;
    std::vector<BYTE> info;
    std::set<std::string> recorded;
    std::string defaultName;
    char computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD usable;
    DWORD next;
    int count;
    bool started;
    bool ended;
};
