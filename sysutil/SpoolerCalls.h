// The spooler calls the removers share, each with the two-call size pattern
// done once and right.
#pragma once
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"

// OpenPrinterA's handle.
typedef UniqueHandle<HANDLE, NullHandleKind<HANDLE, BOOL, ClosePrinter>> PrinterHandle;

// A heap buffer sized by the spooler's first call, rounded up to 4 bytes.
class SpoolerBuffer {
public:
    BYTE* Data() { return bytes.empty() ? nullptr : bytes.data(); }
    DWORD Size() const { return static_cast<DWORD>(bytes.size()); }
    void Resize(DWORD size) { bytes.assign((size + 3u) & ~3u, 0); }

private:
    std::vector<BYTE> bytes;
};

// The local environment (nullptr) and the two others a package installs for:
// on 64-bit Windows the local one is "Windows x64", in the 64-bit program.
extern const char* const kSpoolerEnvironments[3];
// The name of the local environment: "Windows x64" for the 64-bit program,
// "Windows NT x86" on NT, "Windows 4.0" on 95, 98 and Me.
const char* LocalSpoolerEnvironment();

// Names of the drivers installed for an environment (nullptr: the local
// default). False when the spooler gives nothing.
bool EnumDriverNames(const char* environment, std::vector<std::string>& names);
// The drivers installed in any of the three environments.
std::vector<std::string> InstalledDriverNames();
// Every file the drivers installed for an environment load: driver,
// configuration, data and help files and the dependent files, as the
// spooler names them (level 3). False when the spooler gives nothing.
bool EnumDriverFiles(const char* environment, std::vector<std::string>& paths);
// In a what-if run (LookOnly.h) the enumerations leave out what the look
// has removed, and the changes below only note what they would do.

// Names of the print processors of an environment.
bool EnumProcessorNames(const char* server, const char* environment, std::vector<std::string>& names);

struct PrinterSummary {
    std::string name;
    std::string printProcessor;
    std::string portName;
};
// Printers of the given kinds (PRINTER_ENUM_LOCAL, ...), level 2. False
// when the spooler does not give them; true with an empty list when there
// is no printer.
bool EnumPrinterSummaries(DWORD flags, std::vector<PrinterSummary>& printers);

// Names of the installed port monitors.
bool EnumMonitorNames(std::vector<std::string>& names);

// What the look calls a print processor and a monitor it has removed.
std::string GoneProcessor(const char* environment, const std::string& name);
std::string GoneMonitor(const std::string& name);

// Reads level 2 of an open printer into the buffer.
PRINTER_INFO_2A* ReadPrinterInfo2(HANDLE printer, SpoolerBuffer& buffer);

// Open, read level 2, change one member, write back. Non-zero on success.
BOOL SetPrinterProcessor(const char* printerName, const char* processor);
BOOL SetPrinterDatatype(const char* printerName, const char* datatype);

// Cancels, then deletes, every job of the first 100 of the queue.
int CancelAndDeleteJobs(HANDLE printer);
