// Printer drivers per environment and the driver directory.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <vector>

#include "PackedBuffer.h"
#include "PrinterHandles.h"
#include "SimCall.h"

using namespace spoolsim;

namespace {

// The comma-separated list as the spooler gives it: each name ended by a
// NUL, the packer adds the list's final one.
std::string DependentFileList(const std::string& commaSeparated)
{
    std::string list;
    std::size_t start = 0;
    while (start < commaSeparated.size()) {
        std::size_t comma = commaSeparated.find(',', start);
        if (comma == std::string::npos)
            comma = commaSeparated.size();
        if (comma > start) {
            list.append(commaSeparated, start, comma - start);
            list.push_back('\0');
        }
        start = comma + 1;
    }
    return list;
}

std::size_t DriverRecordSize(DWORD level)
{
    switch (level) {
    case 1: return sizeof(DRIVER_INFO_1A);
    case 2: return sizeof(DRIVER_INFO_2A);
    case 3: return sizeof(DRIVER_INFO_3A);
    default: return 0;
    }
}

void WriteDriver(PackedBuffer& packer, const State& state, const Driver& driver, DWORD level,
                 unsigned char* record)
{
    if (level == 1) {
        DRIVER_INFO_1A info = {};
        info.pName = packer.Text(driver.name);
        Store(record, info);
        return;
    }
    // Level 2 is the head of level 3.
    DRIVER_INFO_3A info = {};
    info.cVersion = driver.version;
    info.pName = packer.Text(driver.name);
    info.pEnvironment = packer.Text(driver.environment.empty() ? LocalEnvironment(state) : driver.environment);
    info.pDriverPath = packer.Text(driver.driverPath);
    info.pDataFile = packer.Text(driver.dataFile);
    info.pConfigFile = packer.Text(driver.configFile);
    if (level == 3) {
        info.pHelpFile = packer.OptionalText(driver.helpFile);
        info.pDependentFiles = packer.OptionalText(DependentFileList(driver.dependentFiles));
    }
    if (record)
        std::memcpy(record, &info, level == 3 ? sizeof(DRIVER_INFO_3A) : sizeof(DRIVER_INFO_2A));
}

bool IsAllEnvironments(const char* environment) { return SameName("all", environment); }

}  // namespace

BOOL WINAPI GetPrinterDriverDirectoryA(LPSTR pName, LPSTR pEnvironment, DWORD Level, LPBYTE pDriverDirectory,
                                       DWORD cbBuf, LPDWORD pcbNeeded)
{
    (void)pName;
    return SpoolDirectory("drivers", pEnvironment, Level, pDriverDirectory, cbBuf, pcbNeeded);
}

BOOL WINAPI EnumPrinterDriversA(LPSTR pName, LPSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo, DWORD cbBuf,
                                LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    CallOutcome call;
    (void)pName;
    const std::size_t recordSize = DriverRecordSize(Level);
    if (const DWORD error = EnumArgumentError(recordSize != 0, pDriverInfo, cbBuf, pcbNeeded, pcReturned))
        return call.Fail(error);
    Session session;
    if (!session.Loaded())
        return call.Fail(ERROR_INVALID_DATA);
    const State& state = session.view();
    std::string environment;
    const bool all = IsAllEnvironments(pEnvironment);
    if (!all && !ResolveEnvironment(state, pEnvironment, environment))
        return call.Fail(ERROR_INVALID_ENVIRONMENT);

    std::vector<const Driver*> drivers;
    for (const Driver& d : state.drivers) {
        if (all || InEnvironment(state, d.environment, environment))
            drivers.push_back(&d);
    }
    const DWORD packed = PackRecords(pDriverInfo, cbBuf, pcbNeeded, drivers.size(), recordSize,
                                     [&](PackedBuffer& packer, std::size_t i, unsigned char* record) {
                                         WriteDriver(packer, state, *drivers[i], Level, record);
                                     });
    if (packed != ERROR_SUCCESS)
        return call.Fail(packed);
    *pcReturned = static_cast<DWORD>(drivers.size());
    return TRUE;
}

BOOL WINAPI GetPrinterDriverA(HANDLE hPrinter, LPSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo, DWORD cbBuf,
                              LPDWORD pcbNeeded)
{
    CallOutcome call;
    if (!pcbNeeded)
        return call.Fail(RPC_X_NULL_REF_POINTER);
    const std::size_t recordSize = DriverRecordSize(Level);
    Session session;
    const Printer* printer = PrinterToRead(call, session, hPrinter, recordSize, pDriverInfo, cbBuf);
    if (!printer)
        return FALSE;
    const State& state = session.view();
    std::string environment;
    if (!ResolveEnvironment(state, pEnvironment, environment))
        return call.Fail(ERROR_INVALID_ENVIRONMENT);
    const Driver* driver = nullptr;
    for (const Driver& d : state.drivers) {
        if (!driver && SameName(d.name, printer->driver.c_str()) && InEnvironment(state, d.environment, environment))
            driver = &d;
    }
    if (!driver)
        return call.Fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    const DWORD packed = PackRecords(pDriverInfo, cbBuf, pcbNeeded, 1, recordSize,
                                     [&](PackedBuffer& packer, std::size_t, unsigned char* record) {
                                         WriteDriver(packer, state, *driver, Level, record);
                                     });
    return packed == ERROR_SUCCESS ? TRUE : call.Fail(packed);
}

BOOL WINAPI DeletePrinterDriverA(LPSTR pName, LPSTR pEnvironment, LPSTR pDriverName)
{
    JournalEntry journal("DeletePrinterDriverA");
    journal.Arg(pName).Arg(pEnvironment).Arg(pDriverName);
    if (!pDriverName || !*pDriverName)
        return journal.Fail(ERROR_INVALID_PARAMETER);
    Session session;
    if (!session.Loaded())
        return journal.Fail(ERROR_INVALID_DATA);
    State& state = session.state();
    std::string environment;
    if (!ResolveEnvironment(state, pEnvironment, environment))
        return journal.Fail(ERROR_INVALID_ENVIRONMENT);
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < state.drivers.size(); ++i) {
        if (SameName(state.drivers[i].name, pDriverName) && InEnvironment(state, state.drivers[i].environment, environment))
            matches.push_back(i);
    }
    if (matches.empty())
        return journal.Fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    if (SameName(environment, LocalEnvironment(state).c_str())) {
        for (const Printer& p : state.printers) {
            if (SameName(p.driver, pDriverName))
                return journal.Fail(ERROR_PRINTER_DRIVER_IN_USE);
        }
    }
    for (std::size_t index : matches) {
        if (state.drivers[index].deleteError)
            return journal.Fail(state.drivers[index].deleteError);
    }
    for (std::size_t k = matches.size(); k-- > 0;)
        state.drivers.erase(state.drivers.begin() + static_cast<std::ptrdiff_t>(matches[k]));
    session.Save();
    return journal.Succeed();
}
