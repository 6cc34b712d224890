// Print processors per environment, their directory, and port monitors.
#include <windows.h>
#include <winspool.h>

#include <vector>

#include "PackedBuffer.h"
#include "SimCall.h"

using namespace spoolsim;

BOOL WINAPI GetPrintProcessorDirectoryA(LPSTR pName, LPSTR pEnvironment, DWORD Level, LPBYTE pPrintProcessorInfo,
                                        DWORD cbBuf, LPDWORD pcbNeeded)
{
    (void)pName;
    return SpoolDirectory("prtprocs", pEnvironment, Level, pPrintProcessorInfo, cbBuf, pcbNeeded);
}

BOOL WINAPI EnumPrintProcessorsA(LPSTR pName, LPSTR pEnvironment, DWORD Level, LPBYTE pPrintProcessorInfo,
                                 DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    CallOutcome call;
    (void)pName;
    if (const DWORD error = EnumArgumentError(Level == 1, pPrintProcessorInfo, cbBuf, pcbNeeded, pcReturned))
        return call.Fail(error);
    Session session;
    if (!session.Loaded())
        return call.Fail(ERROR_INVALID_DATA);
    const State& state = session.view();
    std::string environment;
    if (!ResolveEnvironment(state, pEnvironment, environment))
        return call.Fail(ERROR_INVALID_ENVIRONMENT);
    std::vector<const PrintProcessor*> processors;
    for (const PrintProcessor& p : state.processors) {
        if (InEnvironment(state, p.environment, environment))
            processors.push_back(&p);
    }
    const DWORD packed = PackRecords(pPrintProcessorInfo, cbBuf, pcbNeeded, processors.size(),
                                     sizeof(PRINTPROCESSOR_INFO_1A),
                                     [&](PackedBuffer& packer, std::size_t i, unsigned char* record) {
                                         PRINTPROCESSOR_INFO_1A info = {};
                                         info.pName = packer.Text(processors[i]->name);
                                         Store(record, info);
                                     });
    if (packed != ERROR_SUCCESS)
        return call.Fail(packed);
    *pcReturned = static_cast<DWORD>(processors.size());
    return TRUE;
}

BOOL WINAPI EnumMonitorsA(LPSTR pName, DWORD Level, LPBYTE pMonitor, DWORD cbBuf, LPDWORD pcbNeeded,
                          LPDWORD pcReturned)
{
    CallOutcome call;
    (void)pName;
    if (const DWORD error = EnumArgumentError(Level == 1, pMonitor, cbBuf, pcbNeeded, pcReturned))
        return call.Fail(error);
    Session session;
    if (!session.Loaded())
        return call.Fail(ERROR_INVALID_DATA);
    const State& state = session.view();
    const DWORD packed = PackRecords(pMonitor, cbBuf, pcbNeeded, state.monitors.size(), sizeof(MONITOR_INFO_1A),
                                     [&](PackedBuffer& packer, std::size_t i, unsigned char* record) {
                                         MONITOR_INFO_1A info = {};
                                         info.pName = packer.Text(state.monitors[i].name);
                                         Store(record, info);
                                     });
    if (packed != ERROR_SUCCESS)
        return call.Fail(packed);
    *pcReturned = static_cast<DWORD>(state.monitors.size());
    return TRUE;
}

BOOL WINAPI DeletePrintProcessorA(LPSTR pName, LPSTR pEnvironment, LPSTR pPrintProcessorName)
{
    JournalEntry journal("DeletePrintProcessorA");
    journal.Arg(pName).Arg(pEnvironment).Arg(pPrintProcessorName);
    Session session;
    if (!session.Loaded())
        return journal.Fail(ERROR_INVALID_DATA);
    State& state = session.state();
    std::string environment;
    if (!ResolveEnvironment(state, pEnvironment, environment))
        return journal.Fail(ERROR_INVALID_ENVIRONMENT);
    for (std::size_t i = 0; i < state.processors.size(); ++i) {
        const PrintProcessor& p = state.processors[i];
        if (!SameName(p.name, pPrintProcessorName) || !InEnvironment(state, p.environment, environment))
            continue;
        if (p.deleteError)
            return journal.Fail(p.deleteError);
        state.processors.erase(state.processors.begin() + static_cast<std::ptrdiff_t>(i));
        session.Save();
        return journal.Succeed();
    }
    return journal.Fail(ERROR_UNKNOWN_PRINTPROCESSOR);
}

BOOL WINAPI DeleteMonitorA(LPSTR pName, LPSTR pEnvironment, LPSTR pMonitorName)
{
    JournalEntry journal("DeleteMonitorA");
    journal.Arg(pName).Arg(pEnvironment).Arg(pMonitorName);
    Session session;
    if (!session.Loaded())
        return journal.Fail(ERROR_INVALID_DATA);
    State& state = session.state();
    std::string environment;
    if (!ResolveEnvironment(state, pEnvironment, environment))
        return journal.Fail(ERROR_INVALID_ENVIRONMENT);
    for (std::size_t i = 0; i < state.monitors.size(); ++i) {
        const Monitor& m = state.monitors[i];
        if (!SameName(m.name, pMonitorName))
            continue;
        if (m.deleteError)
            return journal.Fail(m.deleteError);
        state.monitors.erase(state.monitors.begin() + static_cast<std::ptrdiff_t>(i));
        session.Save();
        return journal.Succeed();
    }
    return journal.Fail(ERROR_UNKNOWN_PRINT_MONITOR);
}
