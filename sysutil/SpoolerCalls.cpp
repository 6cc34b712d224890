#include "SpoolerCalls.h"

#include <algorithm>
#include <cstring>

#include "LookOnly.h"
#include "OSInfo.h"
#include "TextUtil.h"

const char* const kSpoolerEnvironments[3] = {nullptr, "Windows NT x86", "Windows 4.0"};

const char* LocalSpoolerEnvironment()
{
    if (sizeof(void*) == 8)
        return "Windows x64";
    const COSInfo os;
    return os.IsNT() ? "Windows NT x86" : "Windows 4.0";
}

namespace {

const DWORD kMaxJobs = 100;

PRINTER_DEFAULTSA AllAccess()
{
    PRINTER_DEFAULTSA defaults = {};
    defaults.DesiredAccess = PRINTER_ALL_ACCESS;
    return defaults;
}

typedef void (*PrinterEdit)(PRINTER_INFO_2A* info, char* text);

BOOL EditPrinter(const char* printerName, const char* text, PrinterEdit edit)
{
    PRINTER_DEFAULTSA defaults = AllAccess();
    PrinterHandle printer;
    if (!OpenPrinterA(const_cast<char*>(printerName), printer.Receive(), &defaults) || !printer.Valid())
        return FALSE;
    SpoolerBuffer buffer;
    PRINTER_INFO_2A* info = ReadPrinterInfo2(printer.Get(), buffer);
    if (!info)
        return FALSE;
    std::string copy = text;
    edit(info, &copy[0]);
    return SetPrinterA(printer.Get(), 2, reinterpret_cast<BYTE*>(info), 0);
}

// The installed drivers of the environment at the level, the spooler asked
// for the size first; false when it names none or the second call fails.
bool EnumDrivers(const char* environment, DWORD level, SpoolerBuffer& buffer, DWORD& count)
{
    DWORD needed = 0;
    count = 0;
    EnumPrinterDriversA(nullptr, const_cast<char*>(environment), level, nullptr, 0, &needed, &count);
    if (needed == 0)
        return false;
    buffer.Resize(needed);
    return EnumPrinterDriversA(nullptr, const_cast<char*>(environment), level, buffer.Data(), buffer.Size(), &needed,
                               &count) != FALSE;
}

// The pName of each of the count records in the buffer.
template <class Info>
void AppendNames(SpoolerBuffer& buffer, DWORD count, std::vector<std::string>& names)
{
    const Info* records = reinterpret_cast<const Info*>(buffer.Data());
    for (DWORD i = 0; i < count; ++i) {
        if (records[i].pName)
            names.push_back(records[i].pName);
    }
}

// In a what-if run, what the look has removed is no longer installed.
bool LookedGone(const std::string& name)
{
    const WhatIfRecord* look = LookOnlyRecord();
    return look && look->IsGone(name);
}

// The names the look has removed taken out; goneName gives the name the look
// knows one by.
template <class GoneName>
void DropLookedGone(std::vector<std::string>& names, GoneName goneName)
{
    if (!LookOnlyRecord())
        return;
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) { return LookedGone(goneName(name)); }),
                names.end());
}

}  // namespace

std::string GoneProcessor(const char* environment, const std::string& name)
{
    return "processor:" + SpoolerTarget(environment, name);
}

std::string GoneMonitor(const std::string& name) { return "monitor:" + name; }

bool EnumDriverNames(const char* environment, std::vector<std::string>& names)
{
    names.clear();
    SpoolerBuffer buffer;
    DWORD count = 0;
    if (!EnumDrivers(environment, 2, buffer, count) || count == 0)
        return false;
    AppendNames<DRIVER_INFO_2A>(buffer, count, names);
    DropLookedGone(names, [&](const std::string& name) { return GoneDriver(environment, name); });
    return true;
}

bool EnumDriverFiles(const char* environment, std::vector<std::string>& paths)
{
    SpoolerBuffer buffer;
    DWORD count = 0;
    if (!EnumDrivers(environment, 3, buffer, count))
        return false;
    // A count that does not fit the buffer is not believed.
    const DWORD usable = std::min<DWORD>(count, buffer.Size() / sizeof(DRIVER_INFO_3A));
    const BYTE* end = buffer.Data() + buffer.Size();
    const DRIVER_INFO_3A* drivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.Data());
    for (DWORD i = 0; i < usable; ++i) {
        const DRIVER_INFO_3A& driver = drivers[i];
        if (driver.pName && LookOnlyRecord() && LookedGone(GoneDriver(environment, driver.pName)))
            continue;
        for (const char* file : {driver.pDriverPath, driver.pConfigFile, driver.pDataFile, driver.pHelpFile}) {
            if (file && *file)
                paths.push_back(file);
        }
        // A multi-string: names up to an empty one, never read past the buffer.
        const BYTE* dependent = reinterpret_cast<const BYTE*>(driver.pDependentFiles);
        while (dependent && dependent >= buffer.Data() && dependent < end && *dependent) {
            const void* nul = std::memchr(dependent, '\0', static_cast<std::size_t>(end - dependent));
            if (!nul)
                break;
            paths.push_back(reinterpret_cast<const char*>(dependent));
            dependent = static_cast<const BYTE*>(nul) + 1;
        }
    }
    return true;
}

bool EnumProcessorNames(const char* server, const char* environment, std::vector<std::string>& names)
{
    names.clear();
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintProcessorsA(const_cast<char*>(server), const_cast<char*>(environment), 1, nullptr, 0, &needed, &count);
    if (needed == 0)
        return false;
    SpoolerBuffer buffer;
    buffer.Resize(needed);
    if (!EnumPrintProcessorsA(const_cast<char*>(server), const_cast<char*>(environment), 1, buffer.Data(),
                              buffer.Size(), &needed, &count) ||
        count == 0)
        return false;
    AppendNames<PRINTPROCESSOR_INFO_1A>(buffer, count, names);
    DropLookedGone(names, [&](const std::string& name) { return GoneProcessor(environment, name); });
    return true;
}

bool EnumPrinterSummaries(DWORD flags, std::vector<PrinterSummary>& printers)
{
    printers.clear();
    DWORD needed = 0;
    DWORD count = 0;
    // Without a buffer the call succeeds only when there is no printer.
    if (EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &count))
        return true;
    if (needed == 0)
        return false;
    SpoolerBuffer buffer;
    buffer.Resize(needed);
    if (!EnumPrintersA(flags, nullptr, 2, buffer.Data(), buffer.Size(), &needed, &count))
        return false;
    const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.Data());
    for (DWORD i = 0; i < count; ++i) {
        PrinterSummary summary;
        summary.name = info[i].pPrinterName ? info[i].pPrinterName : "";
        summary.printProcessor = info[i].pPrintProcessor ? info[i].pPrintProcessor : "";
        summary.portName = info[i].pPortName ? info[i].pPortName : "";
        if (!LookOnlyRecord() || !LookedGone(GonePrinter(summary.name)))
            printers.push_back(summary);
    }
    return true;
}

PRINTER_INFO_2A* ReadPrinterInfo2(HANDLE printer, SpoolerBuffer& buffer)
{
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    if (needed == 0)
        return nullptr;
    buffer.Resize(needed);
    if (!GetPrinterA(printer, 2, buffer.Data(), buffer.Size(), &needed))
        return nullptr;
    return reinterpret_cast<PRINTER_INFO_2A*>(buffer.Data());
}

bool EnumMonitorNames(std::vector<std::string>& names)
{
    names.clear();
    DWORD needed = 0;
    DWORD count = 0;
    EnumMonitorsA(nullptr, 1, nullptr, 0, &needed, &count);
    if (needed == 0)
        return false;
    SpoolerBuffer buffer;
    buffer.Resize(needed);
    if (!EnumMonitorsA(nullptr, 1, buffer.Data(), buffer.Size(), &needed, &count))
        return false;
    AppendNames<MONITOR_INFO_1A>(buffer, count, names);
    DropLookedGone(names, GoneMonitor);
    return true;
}

BOOL SetPrinterProcessor(const char* printerName, const char* processor)
{
    if (WhatIfRecord* look = LookOnlyRecord()) {
        look->Note("SetPrintProcessor", std::string(printerName) + "," + processor, LookResult::kFound);
        return TRUE;
    }
    return EditPrinter(printerName, processor, [](PRINTER_INFO_2A* info, char* text) { info->pPrintProcessor = text; });
}

BOOL SetPrinterDatatype(const char* printerName, const char* datatype)
{
    if (WhatIfRecord* look = LookOnlyRecord()) {
        look->Note("SetPrinterDatatype", std::string(printerName) + "," + datatype, LookResult::kFound);
        return TRUE;
    }
    return EditPrinter(printerName, datatype, [](PRINTER_INFO_2A* info, char* text) { info->pDatatype = text; });
}

int CancelAndDeleteJobs(HANDLE printer)
{
    DWORD needed = 0;
    DWORD count = 0;
    EnumJobsA(printer, 0, kMaxJobs, 1, nullptr, 0, &needed, &count);
    if (needed == 0)
        return 0;
    SpoolerBuffer buffer;
    buffer.Resize(needed);
    if (!EnumJobsA(printer, 0, kMaxJobs, 1, buffer.Data(), buffer.Size(), &needed, &count))
        return 0;
    const JOB_INFO_1A* jobs = reinterpret_cast<const JOB_INFO_1A*>(buffer.Data());
    if (WhatIfRecord* look = LookOnlyRecord()) {
        for (DWORD i = 0; i < count && i < kMaxJobs; ++i)
            look->Note("DeleteJob", std::string(jobs[i].pPrinterName ? jobs[i].pPrinterName : "") + "," +
                                        std::to_string(jobs[i].JobId), LookResult::kFound);
        return static_cast<int>(count < kMaxJobs ? count : kMaxJobs);
    }
    for (DWORD i = 0; i < count && i < kMaxJobs; ++i) {
        SetJobA(printer, jobs[i].JobId, 0, nullptr, JOB_CONTROL_CANCEL);
        SetJobA(printer, jobs[i].JobId, 0, nullptr, JOB_CONTROL_DELETE);
    }
    return static_cast<int>(count < kMaxJobs ? count : kMaxJobs);
}

std::vector<std::string> InstalledDriverNames()
{
    std::vector<std::string> names;
    for (const char* environment : kSpoolerEnvironments) {
        std::vector<std::string> inEnvironment;
        if (EnumDriverNames(environment, inEnvironment))
            names.insert(names.end(), inEnvironment.begin(), inEnvironment.end());
    }
    return names;
}
