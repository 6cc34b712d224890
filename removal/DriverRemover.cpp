// Steps 4 to 6: drivers, port monitors and print processors, once per
// spooler environment.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "EventLog.h"
#include "KeyName.h"
#include "LookOnly.h"
#include "OemInf.h"
#include "RegistryTree.h"
#include "RemovalSequence.h"
#include "SpoolerCalls.h"
#include "UninstallDatabase.h"
#include "Win32Result.h"

namespace {

const char kDriversKey9x[] = "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Drivers\\";
const char kEnvironmentsKeyNT[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
const char kMonitorsKey[] = "System\\CurrentControlSet\\control\\Print\\Monitors\\";
const char kProcessorsKey9x[] =
    "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Print Processors\\";
const char kProcessorsKeyNT[] = "System\\CurrentControlSet\\control\\Print\\Environments\\";
const char* const kDriverVersions[] = {"Version-0\\", "Version-1\\", "Version-2\\", "Version-3\\"};

bool Contains(const std::vector<std::string>& list, const std::string& name)
{
    for (const std::string& item : list) {
        if (TextEquals(item.c_str(), name.c_str()))
            return true;
    }
    return false;
}

// A printer that stays (kept by the user, of another product, or chosen but
// not deleted) still needs its driver.
bool UsedByRemainingPrinter(const PrinterList& printers, const std::string& driver)
{
    for (const InstalledPrinter& printer : printers) {
        const bool stays = printer.excluded == 1 || printer.foreign == 1 || printer.removed == 0;
        if (stays && TextEquals(printer.driverName, driver.c_str()))
            return true;
    }
    return false;
}

bool NameLess(const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); }

// The drivers the step may delete: the profile's, and those of the chosen
// printers that no printer the user keeps shares.
std::vector<std::string> DriverCandidates(const UninstallDatabase& database)
{
    std::vector<std::string> candidates(database.removalProfile.drivers.begin(),
                                        database.removalProfile.drivers.end());
    std::vector<std::string> keptDrivers;
    for (const InstalledPrinter& printer : database.printers) {
        if (printer.excluded == 1)
            keptDrivers.push_back(printer.driverName);
    }
    std::sort(keptDrivers.begin(), keptDrivers.end(), NameLess);
    for (const InstalledPrinter& printer : database.printers) {
        if (printer.excluded != 0 || printer.foreign != 0)
            continue;
        if (!std::binary_search(keptDrivers.begin(), keptDrivers.end(), std::string(printer.driverName), NameLess))
            candidates.push_back(printer.driverName);
    }
    return candidates;
}

// Found: the spooler has just listed it.
BOOL LookAtSpoolerDeletion(WhatIfRecord& look, const char* action, const std::string& target, const std::string& gone)
{
    look.Note(action, target, LookResult::kFound);
    look.MarkGone(gone);
    return TRUE;
}

void QueueLine(UninstallDatabase& database, const std::string& line)
{
    if (line.size() < kTextField)
        database.removalProfile.registryKeys.push_back(line);
}

}  // namespace

void RemovalSequence::removeDrivers(const char* environment)
{
    if (!database)
        return;
    std::vector<std::string> installed;
    if (!EnumDriverNames(environment, installed))
        return;
    const std::vector<std::string> candidates = DriverCandidates(*database);
    for (const std::string& driver : installed)
        RemoveDriver(environment, driver, candidates);
}

bool RemovalSequence::ContinueDriverStep(WorkBudget& budget)
{
    if (!database)
        return true;
    const std::vector<std::string> candidates = DriverCandidates(*database);
    const std::size_t environments = sizeof(kSpoolerEnvironments) / sizeof(kSpoolerEnvironments[0]);
    while (progress.environment < environments) {
        const char* environment = kSpoolerEnvironments[progress.environment];
        if (!progress.started) {
            progress.items.clear();
            if (!EnumDriverNames(environment, progress.items))
                progress.items.clear();
            progress.item = 0;
            progress.started = true;
            budget.PieceDone(progress.pieces);
        }
        if (!RunItems(progress.items.size(), budget, [&](std::size_t index) {
                RemoveDriver(environment, progress.items[index], candidates);
            }))
            return false;
        progress.started = false;
        ++progress.environment;
        if (progress.environment < environments && !budget.FitsAnother(progress.pieces))
            return false;
    }
    return true;
}

void RemovalSequence::RemoveDriver(const char* environment, const std::string& driver,
                              const std::vector<std::string>& candidates)
{
    bool candidate = Contains(candidates, driver);
    if (!database->utilityNotTargeted && driver.find("(PSCRIPT)") != std::string::npos) {
        PrinterHandle printer;
        if (!OpenPrinterA(const_cast<char*>(driver.c_str()), printer.Receive(), nullptr) || !printer.Valid())
            candidate = true;
    }
    if (!candidate)
        return;
    WhatIfRecord* look = LookOnlyRecord();
    if (UsedByRemainingPrinter(database->printers, driver)) {
        if (look)
            look->Stays("a printer that stays uses it", SpoolerTarget(environment, driver));
        return;
    }
    const BOOL deleted =
        look ? LookAtSpoolerDeletion(*look, "DeletePrinterDriver", SpoolerTarget(environment, driver),
                                     GoneDriver(environment, driver))
             : DeletePrinterDriverA(nullptr, const_cast<char*>(environment), const_cast<char*>(driver.c_str()));
    const DWORD result = Win32Result(deleted);
    LogEvent("DeletePrinterDriver", driver.c_str(), result);
    // A driver the spooler keeps (in use, access denied) keeps its keys
    // and its INF; one it does not know has left them behind.
    if (result != ERROR_SUCCESS && result != ERROR_UNKNOWN_PRINTER_DRIVER)
        return;
    if (!FitsRegistryLine(driver.c_str()) || !IsSingleKeyName(driver.c_str())) {
        // No line can name its key; the spooler's deletion has to do.
    } else if (osInfo.IsWin9x()) {
        QueueLine(*database, std::string("HKLM,\"") + kDriversKey9x + driver + "\",\"\",0");
    } else if (osInfo.IsNT()) {
        const std::string base =
            std::string(kEnvironmentsKeyNT) + (environment ? environment : LocalSpoolerEnvironment()) + "\\Drivers\\";
        for (const char* version : kDriverVersions)
            QueueLine(*database, "HKLM,\"" + base + version + driver + "\",\"\",0");
    }
    UninstallOemInfOf(driver);
}

void RemovalSequence::UninstallOemInfOf(const std::string& driver)
{
    char inf[kOemInfNameSize];
    // Still installed in another environment, the driver still needs it.
    FindOemInfForDriver(inf, driver.c_str(), InstalledDriverNames());
    if (inf[0] == '\0' || Contains(triedOemInfs, inf))
        return;
    triedOemInfs.push_back(inf);
    LogEvent("UninstallOemInf", inf, UninstallOemInf(inf) == 0 ? ERROR_SUCCESS : ERROR_GEN_FAILURE);
}

void RemovalSequence::removeMonitors(const char* server, const char* environment)
{
    if (!database)
        return;
    for (const std::string& monitor : database->removalProfile.monitors)
        RemoveMonitor(server, environment, monitor);
}

bool RemovalSequence::ContinueMonitorStep(WorkBudget& budget)
{
    if (!database)
        return true;
    // Every monitor in each environment in turn, then the hooks.
    const TextList& monitors = database->removalProfile.monitors;
    const std::size_t environments = sizeof(kSpoolerEnvironments) / sizeof(kSpoolerEnvironments[0]);
    const std::size_t count = monitors.size() * environments;
    return RunItems(count + 1, budget, [&](std::size_t index) {
        if (index == count)
            runUnregisterHooks();
        else
            RemoveMonitor(nullptr, kSpoolerEnvironments[index / monitors.size()], monitors[index % monitors.size()]);
    });
}

void RemovalSequence::RemoveMonitor(const char* server, const char* environment, const std::string& monitor)
{
    BOOL deleted = FALSE;
    if (WhatIfRecord* look = LookOnlyRecord()) {
        // Monitors have no environment: the first pass takes one.
        std::vector<std::string> installed;
        EnumMonitorNames(installed);
        if (Contains(installed, monitor)) {
            deleted = LookAtSpoolerDeletion(*look, "DeleteMonitor", monitor, GoneMonitor(monitor));
        } else {
            SetLastError(ERROR_UNKNOWN_PRINT_MONITOR);
            // Noted once, as for a monitor found.
            if (!look->IsGone(GoneMonitor(monitor)))
                look->Note("DeleteMonitor", monitor, LookResult::kNotFound);
            look->MarkGone(GoneMonitor(monitor));
        }
    } else {
        deleted = DeleteMonitorA(const_cast<char*>(server), const_cast<char*>(environment),
                                 const_cast<char*>(monitor.c_str()));
    }
    LogEvent("DeleteMonitor", monitor.c_str(), Win32Result(deleted));
    if (!osInfo.IsWin32s() && IsSingleKeyName(monitor.c_str()))
        DeleteRegistryKeyWithoutSubkeys(HKEY_LOCAL_MACHINE, (std::string(kMonitorsKey) + monitor).c_str());
}

int RemovalSequence::processorNotInUse(const char* /*server*/, const char* /*environment*/, const char* processor)
{
    int result = 1;
    std::vector<PrinterSummary> printers;
    // Without the list nobody can tell whether a printer that stays uses it.
    if (!EnumPrinterSummaries(PRINTER_ENUM_LOCAL, printers))
        return 0;
    for (const PrinterSummary& printer : printers) {
        if (!TextEquals(printer.printProcessor.c_str(), processor))
            continue;
        if (SetPrinterProcessor(printer.name.c_str(), "WinPrint"))
            SetPrinterDatatype(printer.name.c_str(), "RAW");
        else
            result = 0;
    }
    return result;
}

void RemovalSequence::removePrintProcessors(const char* server, const char* environment)
{
    if (!database)
        return;
    std::vector<std::string> installed;
    if (!EnumProcessorNames(server, environment, installed))
        return;
    for (const std::string& processor : installed) {
        if (!Contains(database->removalProfile.printProcessors, processor))
            continue;
        if (!processorNotInUse(server, environment, processor.c_str()))
            continue;
        WhatIfRecord* look = LookOnlyRecord();
        const BOOL deleted =
            look ? LookAtSpoolerDeletion(*look, "DeletePrintProcessor", SpoolerTarget(environment, processor),
                                         GoneProcessor(environment, processor))
                 : DeletePrintProcessorA(const_cast<char*>(server), const_cast<char*>(environment),
                                         const_cast<char*>(processor.c_str()));
        LogEvent("DeletePrintProcessor", processor.c_str(), Win32Result(deleted));
        if (osInfo.IsWin9x()) {
            DeleteRegistryKeyWithoutSubkeys(HKEY_LOCAL_MACHINE, (std::string(kProcessorsKey9x) + processor).c_str());
        } else if (osInfo.IsNT()) {
            const std::string key = std::string(kProcessorsKeyNT) + (environment ? environment : LocalSpoolerEnvironment()) +
                                    "\\Print Processors\\" + processor;
            DeleteRegistryKeyWithoutSubkeys(HKEY_LOCAL_MACHINE, key.c_str());
        }
    }
}
