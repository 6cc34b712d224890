#include "SpoolerCalls.h"

#include <algorithm>
#include <cstring>

#include "TextUtil.h"

const char* const kSpoolerEnvironments[3] = {nullptr, "Windows NT x86", "Windows 4.0"};

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
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName), &printer, &defaults) || !printer)
        return FALSE;
    BOOL result = FALSE;
    SpoolerBuffer buffer;
    PRINTER_INFO_2A* info = ReadPrinterInfo2(printer, buffer);
    if (info) {
        std::string copy = text;
        edit(info, &copy[0]);
        result = SetPrinterA(printer, 2, reinterpret_cast<BYTE*>(info), 0);
    }
    ClosePrinter(printer);
    return result;
}

}  // namespace

bool EnumDriverNames(const char* environment, std::vector<std::string>& names)
{
    names.clear();
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 2, nullptr, 0, &needed, &count);
    if (needed == 0)
        return false;
    SpoolerBuffer buffer;
    buffer.Resize(needed);
    if (!EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 2, buffer.Data(), buffer.Size(), &needed,
                             &count) ||
        count == 0)
        return false;
    const DRIVER_INFO_2A* drivers = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.Data());
    for (DWORD i = 0; i < count; ++i) {
        if (drivers[i].pName)
            names.push_back(drivers[i].pName);
    }
    return true;
}

bool EnumDriverFiles(const char* environment, std::vector<std::string>& paths)
{
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 3, nullptr, 0, &needed, &count);
    if (needed == 0)
        return false;
    SpoolerBuffer buffer;
    buffer.Resize(needed);
    if (!EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 3, buffer.Data(), buffer.Size(), &needed,
                             &count))
        return false;
    // A count that does not fit the buffer is not believed.
    const DWORD usable = std::min<DWORD>(count, buffer.Size() / sizeof(DRIVER_INFO_3A));
    const BYTE* end = buffer.Data() + buffer.Size();
    const DRIVER_INFO_3A* drivers = reinterpret_cast<const DRIVER_INFO_3A*>(buffer.Data());
    for (DWORD i = 0; i < usable; ++i) {
        const DRIVER_INFO_3A& driver = drivers[i];
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
    const PRINTPROCESSOR_INFO_1A* processors = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(buffer.Data());
    for (DWORD i = 0; i < count; ++i) {
        if (processors[i].pName)
            names.push_back(processors[i].pName);
    }
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

BOOL SetPrinterProcessor(const char* printerName, const char* processor)
{
    return EditPrinter(printerName, processor, [](PRINTER_INFO_2A* info, char* text) { info->pPrintProcessor = text; });
}

BOOL SetPrinterDatatype(const char* printerName, const char* datatype)
{
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
